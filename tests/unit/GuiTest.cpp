// The window layer: the standard error report, the program's own message
// dialogs, timers and the busy cursor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "base/Error.h"
#include "gui/Application.h"
#include "gui/BitButton.h"
#include "gui/Dialogs.h"
#include "gui/Form.h"
#include "gui/Screen.h"
#include "gui/Timer.h"

using testsupport::After;
using testsupport::DialogRecorder;

namespace {

// A plain form with one button, for handlers that misbehave.
class ButtonForm : public gui::Form {
public:
    ButtonForm() {
        CreateHandle({.className = L"GuiTestForm", .caption = L"Test", .clientWidth = 200, .clientHeight = 100});
        button.Create(Handle(), {.caption = L"Press", .bounds = {10, 10, 100, 27}});
    }
    ~ButtonForm() override { DestroyHandle(); }
    gui::BitButton button;
};

struct DialogSeen {
    std::wstring caption;
    std::vector<std::wstring> texts;  // statics and buttons, in order
};

BOOL CALLBACK CollectText(HWND wnd, LPARAM param) {
    reinterpret_cast<DialogSeen*>(param)->texts.push_back(testsupport::WindowText(wnd));
    return TRUE;
}

}  // namespace

TEST(ErrorReport, FullStopIsAddedAfterCharactersAboveTheFullStop) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L""},
        {L"Cannot open file", L"Cannot open file."},
        {L"Done.", L"Done."},
        {L"Cannot open file \"x\"", L"Cannot open file \"x\""},              // '"' is below '.'
        {L"List index out of bounds (0)", L"List index out of bounds (0)"},  // ')' is below '.'
        {L"a,", L"a,"},
        {L"Stop!", L"Stop!"},
        {L"trailing ", L"trailing "},
        {L"C:\\folder/", L"C:\\folder/."},  // '/' is above '.'
        {L"code 5", L"code 5."},
        {L"Ошибка", L"Ошибка."},
        {L"'x' is not a valid integer value", L"'x' is not a valid integer value."},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(gui::ErrorReportText(message), shown);
}

TEST(ErrorReport, ShowsAnErrorBoxCaptionedWithTheTitle) {
    gui::App().SetTitle(L"Установка комплекса \"Велтон-Dozevo\"");
    DialogRecorder dialogs;
    gui::App().ShowException(L"Cannot open file \"C:\\x\". Access is denied");
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].caption, L"Установка комплекса \"Велтон-Dozevo\"");
    EXPECT_EQ(dialogs.Requests()[0].text, L"Cannot open file \"C:\\x\". Access is denied.");
    EXPECT_EQ(dialogs.Requests()[0].type, gui::MsgDlgType::Error);
    EXPECT_EQ(dialogs.Requests()[0].buttons, gui::MsgDlgButtons::OK);
}

TEST(ErrorReport, AnErrorInAHandlerIsReportedAndTheProgramGoesOn) {
    ButtonForm form;
    int presses = 0;
    form.button.OnClick = [&] {
        ++presses;
        throw base::Error(L"List index out of bounds (0)");
    };
    DialogRecorder dialogs;
    SendMessageW(form.button.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(presses, 2);
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_EQ(dialogs.Requests()[0].text, L"List index out of bounds (0)");
}

TEST(MessageDialog, OwnDialogWithEnglishCaptionsAndButtons) {
    struct Case {
        gui::MsgDlgType type;
        gui::MsgDlgButtons buttons;
        const wchar_t* caption;
        std::vector<std::wstring> buttonTexts;
        int press;  // the button pressed, or IDCANCEL for Esc
        int expected;
    };
    const Case cases[] = {
        {gui::MsgDlgType::Confirmation, gui::MsgDlgButtons::YesNo, L"Confirm", {L"Yes", L"No"}, IDYES, IDYES},
        {gui::MsgDlgType::Confirmation, gui::MsgDlgButtons::YesNo, L"Confirm", {L"Yes", L"No"}, IDNO, IDNO},
        {gui::MsgDlgType::Warning, gui::MsgDlgButtons::YesNo, L"Warning", {L"Yes", L"No"}, IDCANCEL, IDNO},
        {gui::MsgDlgType::Error, gui::MsgDlgButtons::OK, L"Error", {L"OK"}, IDOK, IDOK},
        {gui::MsgDlgType::Information, gui::MsgDlgButtons::OK, L"Information", {L"OK"}, IDCANCEL, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.caption));
        DialogSeen seen;
        After answer(300, [&] {
            const HWND dlg = testsupport::FindThreadWindow(L"#32770");
            ASSERT_NE(dlg, nullptr);
            seen.caption = testsupport::WindowText(dlg);
            EnumChildWindows(dlg, CollectText, reinterpret_cast<LPARAM>(&seen));
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(c.press, BN_CLICKED), 0);
        });
        const int result = gui::MessageDlg(L"Вы уверены?\r\nВторая строка", c.type, c.buttons);
        EXPECT_TRUE(answer.Ran());
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(seen.caption, c.caption);
        std::vector<std::wstring> expectedTexts{L"", L"Вы уверены?\r\nВторая строка"};
        expectedTexts.insert(expectedTexts.end(), c.buttonTexts.begin(), c.buttonTexts.end());
        EXPECT_EQ(seen.texts, expectedTexts);
    }
}

TEST(Timer, FiresWhileEnabledOnly) {
    int fired = 0;
    gui::Timer timer(50, [&] { ++fired; });
    EXPECT_FALSE(timer.Enabled());
    testsupport::PumpFor(200);
    EXPECT_EQ(fired, 0);
    timer.SetEnabled(true);
    testsupport::PumpFor(400);
    EXPECT_GE(fired, 2);
    timer.SetEnabled(false);
    const int stopped = fired;
    testsupport::PumpFor(200);
    EXPECT_EQ(fired, stopped);
}

TEST(Timer, AnErrorInTheHandlerIsReported) {
    DialogRecorder dialogs;
    gui::Timer timer(30);
    timer.OnTimer = [&] {
        timer.SetEnabled(false);
        throw base::Error(L"late");
    };
    timer.SetEnabled(true);
    testsupport::PumpFor(300);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].text, L"late.");
}

TEST(Application, BusyStateShowsTheHourglass) {
    gui::App().SetBusy(true);
    EXPECT_EQ(gui::TheScreen().Cursor(), gui::kCursorHourGlass);
    gui::App().SetBusy(false);
    EXPECT_EQ(gui::TheScreen().Cursor(), gui::kCursorDefault);
}

TEST(Application, ProcessMessagesRunsPendingWork) {
    ButtonForm form;
    int presses = 0;
    form.button.OnClick = [&] { ++presses; };
    PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(form.button.Handle()));
    EXPECT_EQ(presses, 0);
    gui::App().ProcessMessages();
    EXPECT_EQ(presses, 1);
}
