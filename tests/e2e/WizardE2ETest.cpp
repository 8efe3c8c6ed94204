// The wizard as an operator meets it: pages, texts, the driver notice, the
// target path rules, cancelling and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "E2ESupport.h"
#include "base/Text.h"

using namespace e2e;

namespace {

const std::wstring kWelcomeText =
    L"Добро пожаловать в программу установки комплекса \n"
    L"\"ВЕЛТОН-DOZEVO\"!\n"
    L"\n"
    L"Для продолжения установки, нажмите кнопку \"Далее\".\n"
    L"\n"
    L"Для выхода из программы установки нажмите кнопку \"Отмена\".";
const std::wstring kPathText =
    L"Пожалуйста, задайте путь куда устанавливать программную часть \n"
    L"комплекса \"Велтон-Dozevo\"";
const std::wstring kOptionsText =
    L" - Если у Вас есть 2-х канальный кабель для регистрации детских ЭКГ, поставьте \n"
    L"галочку в поле \"Регистрация 2-х канальной ЭКГ\".\n"
    L" - Если у Вас есть универсальный регистратор, поставьте галочку в поле \n"
    L"\"Универсальный регистратор\".\n"
    L" - Если у Вас установлен монитор АД \"BPLab\", поставьте галочку в поле \"установлен \n"
    L"монитор АД \"BPLab\"\".\n"
    L"\n"
    L" - Задайте, пожалуйста, тип ЭКГ, который Вы чаще всего будете регистрировать.\n"
    L"\n"
    L" - Нажмите кнопку \"Начать установку\", для того чтобы установить программное \n"
    L"обеспечение на Ваш компъютер.\n"
    L"\n"
    L"Все настройки можно изменить позже, во время работы с программой \n"
    L"\"Велтон-Dozevo\" в меню \"Настройки\".";
const std::wstring kCancelText =
    L"Установка комплекса \"Велтон-Dozevo\" отменена!\n"
    L"\n"
    L"Нажмите кнопку \"Выход\", для выхода из программы установки.";
// Lines joined by a lone carriage return, as the options page passes them.
const std::wstring kNoticeText =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Велтон-Dozevo\",\r"
    L" снимите галочку установки драйвера!";
const std::wstring kCancelQuestion = L"Вы уверены, что хотите отменить процесс установки?";
const std::wstring kRootWarning = L"Программу нелзя устанавливать в корневой каталог!";
const std::wstring kNoPathError = L"Не выбран путь для установки программы!";

class WizardTest : public testing::Test {
protected:
    void SetUp() override { ui = std::make_unique<UiDriver>(ws.Exe()); }
    // The memo of the current page whose text starts so.
    std::wstring MemoText(const std::wstring& start) const {
        HWND memo = ui->FindControlStartingWith(L"Edit", start);
        return memo ? NormalisedText(memo) : L"<no memo starting \"" + start + L"\">";
    }
    testing::AssertionResult ClosesAndEnds() {
        if (!ui->WaitExit()) return testing::AssertionFailure() << "the program is still running";
        if (ui->ExitCode() != 0) return testing::AssertionFailure() << "exit code " << ui->ExitCode();
        return testing::AssertionSuccess();
    }

    Workspace ws;
    std::unique_ptr<UiDriver> ui;
};

TEST_F(WizardTest, WalksToTheOptionsPageAndBackWithTheNoticeEachTime) {
    ASSERT_TRUE(WaitPage(*ui, Page::Welcome));
    EXPECT_EQ(MemoText(L"Добро"), kWelcomeText);
    EXPECT_TRUE(ui->Button(L"Отмена"));
    EXPECT_EQ(UiDriver::Text(ui->PathField()), L"C:\\Holter");

    // Every start leaves one entry in the log beside the program, before the window exists.
    auto log = ReadBytes(ws.Dist() + L"ReziDozure.log");
    ASSERT_TRUE(log) << "no ReziDozure.log beside the program";
    EXPECT_EQ(std::count(log->begin(), log->end(), '\n'), 1) << *log;
    EXPECT_TRUE(log->ends_with(": VL_Common_VAR_INIT\r\n")) << *log;

    ASSERT_TRUE(GoToPathPage(*ui));
    EXPECT_TRUE(WaitFor([&] { return ui->FocusedControl() == ui->PathField(); }, 3000))
        << "Next puts the focus into the path field";
    EXPECT_EQ(MemoText(L"Пожалуйста"), kPathText);

    const std::wstring target = ws.Root() + L"Holter";
    ASSERT_TRUE(SubmitPath(*ui, target));
    HWND notice = ui->WaitNotice();
    ASSERT_TRUE(notice) << "the options page shows the driver notice";
    EXPECT_TRUE(GetWindowLongPtrW(notice, GWL_EXSTYLE) & WS_EX_TOPMOST) << "the notice stays on top";
    EXPECT_EQ(UiDriver::Text(notice), L"") << "the notice has an empty caption";
    auto labels = UiDriver::VisibleStatics(notice);
    EXPECT_NE(std::find(labels.begin(), labels.end(), kNoticeText), labels.end());
    EXPECT_NE(std::find(labels.begin(), labels.end(), L"Окно закроется через"), labels.end());
    // The countdown refreshes every second from 20.
    EXPECT_TRUE(WaitFor(
        [&] {
            for (const auto& text : UiDriver::VisibleStatics(notice)) {
                if (text == L"  19с" || text == L"  18с") return true;
            }
            return false;
        },
        3000))
        << "no countdown \"  19с\" within three seconds";

    // The notice offers OK and the stop button, no Cancel; stopping hides the countdown strip.
    HWND ok = nullptr, stop = nullptr;
    for (HWND child : Descendants(notice)) {
        std::wstring text = WithoutAccelerators(UiDriver::Text(child));
        if (text == L"OK") ok = child;
        if (text == L"остановить") stop = child;
        if (text == L"Отмена") {
            EXPECT_FALSE(IsWindowVisible(child)) << "a message notice shows no Cancel";
        }
    }
    ASSERT_TRUE(ok && stop);
    EXPECT_TRUE(IsWindowVisible(ok) && IsWindowVisible(stop));
    UiDriver::Click(stop);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(stop); }, 3000)) << "the countdown strip stays after stopping";
    UiDriver::Click(ok);
    ASSERT_TRUE(UiDriver::WaitGone(notice));

    ASSERT_TRUE(WaitPage(*ui, Page::Options));
    EXPECT_EQ(MemoText(L" - Если"), kOptionsText);
    HWND driver = ui->Button(L"Устанавливать драйвер");
    ASSERT_TRUE(driver);
    EXPECT_TRUE(UiDriver::Checked(driver));
    EXPECT_TRUE(DirExists(target + L"\\Settings")) << "Next creates the target and its Settings folder";

    ASSERT_TRUE(ui->ClickButton(L"Назад"));
    ASSERT_TRUE(WaitPage(*ui, Page::Path));
    EXPECT_EQ(UiDriver::Text(ui->PathField()), target + L"\\");

    ASSERT_TRUE(ui->ClickButton(L"Далее"));
    ASSERT_TRUE(CloseNotice(*ui)) << "the notice is shown again";
    ASSERT_TRUE(WaitPage(*ui, Page::Options));

    ui->PostClose();
    EXPECT_TRUE(ClosesAndEnds());
}

// What the path page makes of a typed path. "{root}" stands for the test's own
// temporary folder, "{dist}" for the program's folder (the current folder).
struct PathCase {
    const char* name;
    std::wstring typed;
    std::wstring field;     // the path field afterwards
    std::wstring caption;   // of the box shown; empty when the path is taken
    std::wstring message;
    std::wstring created;   // a folder that must exist afterwards
    std::wstring absent;    // a folder that must not
};

std::wstring Expand(std::wstring text, const Workspace& ws) {
    for (auto [key, value] : {std::pair<std::wstring, std::wstring>{L"{root}", ws.Root()}, {L"{dist}", ws.Dist()}}) {
        for (size_t at; (at = text.find(key)) != std::wstring::npos;) text.replace(at, key.size(), value);
    }
    return text;
}

const PathCase kPathCases[] = {
    {"BlanksAround", L"   {root}Data  ", L"{root}Data\\", L"", L"", L"{root}Data\\Settings", L""},
    {"DriveRoot", L"C:\\", L"C:\\", L"Warning", kRootWarning, L"", L""},
    {"DriveOnly", L"C:", L"C:\\", L"Warning", kRootWarning, L"", L""},
    {"TwoLetters", L"ab", L"ab\\", L"Warning", kRootWarning, L"", L"{dist}ab"},
    {"ThreeLettersIsRelative", L"abc", L"abc\\", L"", L"", L"{dist}abc\\Settings", L""},
    {"OnlyBlanks", L"    ", L"    ", L"Error", kNoPathError, L"", L""},
    {"ParentMissing", L"{root}A\\B", L"{root}A\\B\\", L"", L"", L"", L"{root}A"},
};

class PathPageTest : public WizardTest, public testing::WithParamInterface<PathCase> {};

TEST_P(PathPageTest, NormalisesOrRefusesThePath) {
    const PathCase& c = GetParam();
    ASSERT_TRUE(GoToPathPage(*ui));
    ASSERT_TRUE(SubmitPath(*ui, Expand(c.typed, ws)));
    if (c.caption.empty()) {
        ASSERT_TRUE(CloseNotice(*ui));
        EXPECT_TRUE(WaitPage(*ui, Page::Options));
    } else {
        ASSERT_TRUE(AnswerDialog(*ui, c.caption, c.message, L"OK"));
        EXPECT_EQ(CurrentPage(*ui), Page::Path);
        EXPECT_TRUE(WaitFor([&] { return ui->FocusedControl() == ui->PathField(); }, 3000))
            << "the focus returns to the path field";
    }
    EXPECT_EQ(UiDriver::Text(ui->PathField()), Expand(c.field, ws));
    if (!c.created.empty()) {
        EXPECT_TRUE(DirExists(Expand(c.created, ws))) << base::ToUtf8(Expand(c.created, ws));
    }
    if (!c.absent.empty()) {
        EXPECT_FALSE(DirExists(Expand(c.absent, ws))) << base::ToUtf8(Expand(c.absent, ws));
    }
    ui->PostClose();
    EXPECT_TRUE(ClosesAndEnds());
}

INSTANTIATE_TEST_SUITE_P(Paths, PathPageTest, testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Brings a freshly started wizard to one of its pages the way an operator does.
testing::AssertionResult Reach(UiDriver& ui, Page page, const Workspace& ws) {
    switch (page) {
        case Page::Welcome: return testing::AssertionResult(WaitPage(ui, Page::Welcome));
        case Page::Path: return GoToPathPage(ui);
        case Page::Options: return GoToOptions(ui, ws.Root() + L"Target");
        case Page::Cancel:
            if (!ui.ClickButton(L"Отмена")) return testing::AssertionFailure() << "no Cancel button";
            if (auto r = AnswerDialog(ui, L"Confirm", kCancelQuestion, L"Yes"); !r) return r;
            return testing::AssertionResult(WaitPage(ui, Page::Cancel));
        default: return testing::AssertionFailure() << "no way to " << PageName(page);
    }
}

struct CancelCase {
    Page page;
    bool confirm;
};

class CancelTest : public WizardTest, public testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, AsksAndLeavesOrStays) {
    const CancelCase& c = GetParam();
    ASSERT_TRUE(Reach(*ui, c.page, ws));
    ASSERT_TRUE(ui->ClickButton(L"Отмена"));
    ASSERT_TRUE(AnswerDialog(*ui, L"Confirm", kCancelQuestion, c.confirm ? L"Yes" : L"No"));
    if (c.confirm) {
        ASSERT_TRUE(WaitPage(*ui, Page::Cancel));
        EXPECT_EQ(MemoText(L"Установка комплекса"), kCancelText);
        HWND exit = ui->Button(L"Выход");
        ASSERT_TRUE(exit);
        EXPECT_TRUE(IsWindowEnabled(exit));
        UiDriver::Click(exit);
    } else {
        Pause(300);
        EXPECT_EQ(CurrentPage(*ui), c.page) << "No leaves the page as it was";
        EXPECT_TRUE(ui->Running());
        ui->PostClose();
    }
    EXPECT_TRUE(ClosesAndEnds());
}

INSTANTIATE_TEST_SUITE_P(Pages, CancelTest,
                         testing::Values(CancelCase{Page::Welcome, false}, CancelCase{Page::Welcome, true},
                                         CancelCase{Page::Path, false}, CancelCase{Page::Path, true},
                                         CancelCase{Page::Options, false}, CancelCase{Page::Options, true}),
                         [](const auto& info) {
                             return std::string(PageName(info.param.page)) + (info.param.confirm ? "_Yes" : "_No");
                         });

enum class CloseBy { CloseButton, SystemMenu, ExitButton };

struct CloseCase {
    Page page;
    CloseBy by;
};

std::string CloseCaseName(const CloseCase& c) {
    const char* by[] = {"CloseButton", "SystemMenu", "ExitButton"};
    return std::string(PageName(c.page)) + "_" + by[static_cast<int>(c.by)];
}

class CloseTest : public WizardTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, ClosesTheWindowAndEndsTheProgram) {
    const CloseCase& c = GetParam();
    ASSERT_TRUE(Reach(*ui, c.page, ws));
    switch (c.by) {
        case CloseBy::CloseButton: ui->PostClose(); break;
        case CloseBy::SystemMenu: ui->PostSysClose(); break;
        case CloseBy::ExitButton: ASSERT_TRUE(ui->ClickButton(L"Выход")); break;
    }
    EXPECT_TRUE(ClosesAndEnds());
    EXPECT_FALSE(ui->FindDialog()) << "closing asks nothing";
}

INSTANTIATE_TEST_SUITE_P(Pages, CloseTest,
                         testing::Values(CloseCase{Page::Welcome, CloseBy::CloseButton},
                                         CloseCase{Page::Welcome, CloseBy::SystemMenu},
                                         CloseCase{Page::Path, CloseBy::CloseButton},
                                         CloseCase{Page::Path, CloseBy::SystemMenu},
                                         CloseCase{Page::Options, CloseBy::CloseButton},
                                         CloseCase{Page::Options, CloseBy::SystemMenu},
                                         CloseCase{Page::Cancel, CloseBy::SystemMenu},
                                         CloseCase{Page::Cancel, CloseBy::ExitButton}),
                         [](const auto& info) { return CloseCaseName(info.param); });

}  // namespace
