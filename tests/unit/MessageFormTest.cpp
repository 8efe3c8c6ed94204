// The timed message window and the launch progress window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "ui/MessageForm.h"
#include "ui/ScreenMonitorManager.h"
#include "ui/WaitRun.h"

using testsupport::After;
using ui::TFMessageform;

namespace {

// The window ShowTimedMessage has on the screen, from inside its modal showing.
TFMessageform* ShownMessage() {
    const HWND wnd = testsupport::FindThreadWindow(L"TFMessageform");
    return static_cast<TFMessageform*>(gui::Form::FromHandle(wnd));
}

struct Timed {
    bool result;
    ULONGLONG elapsedMs;
};

Timed Show(const std::wstring& text, ui::TMessageType type, int seconds) {
    const ULONGLONG start = GetTickCount64();
    const bool result = ui::ShowTimedMessage(text, type, L"", seconds);
    return {result, GetTickCount64() - start};
}

RECT WindowRect(const gui::Form& form) {
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    return r;
}

// Points myScreen at a manager for the test's duration.
class ScopedMyScreen {
public:
    explicit ScopedMyScreen(ui::TmyScreen& screen) : saved_(ui::myScreen) { ui::myScreen = &screen; }
    ~ScopedMyScreen() { ui::myScreen = saved_; }

private:
    ui::TmyScreen* saved_;
};

const std::wstring kNotice =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Велтон-Dozevo\",\r снимите галочку "
    L"установки драйвера!";

}  // namespace

TEST(TimedMessage, UnansweredMessageCancelsItselfWhenTheCountdownEnds) {
    bool checked = false;
    After look(300, [&] {
        TFMessageform* form = ShownMessage();
        ASSERT_NE(form, nullptr);
        checked = true;
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->Caption(), L"") << "an empty caption leaves the title bar blank";
        EXPECT_EQ(form->lblMessage.Text(), kNotice);
        EXPECT_FALSE(form->btnCancel.Visible()) << "a message has OK only";
        EXPECT_TRUE(form->btnOK.Visible());
        EXPECT_EQ(form->btnStop.Text(), L"остановить");
        EXPECT_EQ(form->lblClose.Text(), L"Окно закроется через");
        EXPECT_EQ(form->lblSec.Text(), L"  сек") << "before the first refresh";
        EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(form->StayUpTimer.Enabled());
        EXPECT_EQ(form->StopTimer.Interval(), 1000u);
    });
    const Timed shown = Show(kNotice, ui::mtMessage, 1);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(shown.result);
    EXPECT_GE(shown.elapsedMs, 900u);
    EXPECT_LT(shown.elapsedMs, 8000u);
    EXPECT_EQ(testsupport::FindThreadWindow(L"TFMessageform"), nullptr) << "the window is gone";
}

TEST(TimedMessage, StoppedCountdownKeepsTheWindowUntilOK) {
    bool stayed = false;
    After stop(300, [] {
        ASSERT_NE(ShownMessage(), nullptr);
        SendMessageW(ShownMessage()->btnStop.Handle(), BM_CLICK, 0, 0);
    });
    After later(2500, [&] {
        TFMessageform* form = ShownMessage();
        ASSERT_NE(form, nullptr) << "the window closed by itself";
        stayed = true;
        EXPECT_FALSE(form->pnlClose.Visible()) << "the countdown strip is gone";
        EXPECT_FALSE(form->StopTimer.Enabled());
        EXPECT_TRUE(form->StayUpTimer.Enabled()) << "it still comes to the front";
        SendMessageW(form->btnOK.Handle(), BM_CLICK, 0, 0);
    });
    const Timed shown = Show(kNotice, ui::mtMessage, 1);
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(shown.result);
}

TEST(TimedMessage, AnswersOfAQuestion) {
    struct Case {
        const char* how;
        bool expected;
    };
    const Case cases[] = {{"OK", true}, {"Cancel", false}, {"close box", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        After answer(300, [&] {
            TFMessageform* form = ShownMessage();
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->btnCancel.Visible());
            EXPECT_TRUE(form->btnOK.Visible());
            if (std::string(c.how) == "OK")
                SendMessageW(form->btnOK.Handle(), BM_CLICK, 0, 0);
            else if (std::string(c.how) == "Cancel")
                SendMessageW(form->btnCancel.Handle(), BM_CLICK, 0, 0);
            else
                PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        });
        const Timed shown = Show(L"Продолжить?", ui::mtDialog, 10);
        EXPECT_EQ(shown.result, c.expected);
        EXPECT_LT(shown.elapsedMs, 8000u);
    }
}

TEST(TimedMessage, KeyboardAnswers) {
    struct Case {
        ui::TMessageType type;
        WPARAM key;
        bool expected;
    };
    const Case cases[] = {{ui::mtMessage, VK_RETURN, true},
                          {ui::mtMessage, VK_ESCAPE, false},
                          {ui::mtDialog, VK_RETURN, false},
                          {ui::mtDialog, VK_ESCAPE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.type) << " key " << c.key);
        std::wstring focused;
        After press(300, [&] {
            focused = testsupport::WindowText(GetFocus());
            PostMessageW(GetFocus(), WM_KEYDOWN, c.key, 0);
        });
        const Timed shown = Show(L"Текст", c.type, 10);
        ASSERT_TRUE(press.Ran());
        EXPECT_EQ(shown.result, c.expected);
        EXPECT_LT(shown.elapsedMs, 8000u);
        EXPECT_EQ(focused, c.type == ui::mtDialog ? L"Отмена" : L"OK") << "the focus starts on the answer Enter gives";
    }
}

TEST(TimedMessage, CountdownShowsTheSecondsLeft) {
    std::wstring shown;
    After look(1500, [&] {
        ASSERT_NE(ShownMessage(), nullptr);
        shown = ShownMessage()->lblSec.Text();
        SendMessageW(ShownMessage()->btnOK.Handle(), BM_CLICK, 0, 0);
    });
    Show(L"Текст", ui::mtMessage, 5);
    EXPECT_TRUE(shown == ui::CountdownText(4) || shown == ui::CountdownText(3)) << testing::PrintToString(shown);
}

TEST(TimedMessage, SitsAboveTheMiddleOfTheChosenMonitorAndGrowsUpward) {
    gui::Screen screen([] {
        return std::vector<gui::Monitor>{{nullptr, {0, 0, 1280, 1024}, {0, 0, 1280, 984}, true},
                                         {nullptr, {-1920, 0, 0, 1080}, {-1920, 0, 0, 1040}, false}};
    });
    ui::TmyScreen my(screen);
    my.Monitornumber = 1;
    my.Width = 1920;
    my.Height = 1080;
    ScopedMyScreen scoped(my);

    std::vector<RECT> rects;
    auto measure = [&] {
        TFMessageform* form = ShownMessage();
        ASSERT_NE(form, nullptr);
        rects.push_back(WindowRect(*form));
        const int labelHeight = form->lblMessage.Height();
        EXPECT_EQ(rects.back().bottom - rects.back().top, labelHeight + 24 + 16 + 60);
        SendMessageW(form->btnOK.Handle(), BM_CLICK, 0, 0);
    };
    {
        After look(300, measure);
        Show(L"Коротко.", ui::mtMessage, 10);
    }
    {
        std::wstring longText;
        for (int i = 0; i < 40; ++i) longText += L"Длинный текст сообщения ";
        After look(300, measure);
        Show(longText, ui::mtMessage, 10);
    }
    ASSERT_EQ(rects.size(), 2u);
    for (const RECT& r : rects) {
        EXPECT_EQ(r.bottom, 1080 / 2) << "the bottom edge at half the monitor's height";
        EXPECT_EQ(r.left, -1920 + (1920 - (r.right - r.left)) / 2);
    }
    EXPECT_LT(rects[1].top, rects[0].top) << "a longer text grows the window upward";
}

TEST(TimedMessage, ModelessShowingReturnsAtOnceWithoutCountdown) {
    TFMessageform form;
    EXPECT_FALSE(form.Visible()) << "created hidden";
    EXPECT_FALSE(form.StayUpTimer.Enabled());
    EXPECT_FALSE(form.StopTimer.Enabled());
    EXPECT_FALSE(form.Showmes(L"Идёт запись", ui::mtDialog, L"Заголовок", false));
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Caption(), L"Заголовок");
    EXPECT_FALSE(form.StayUpTimer.Enabled());
    EXPECT_FALSE(form.StopTimer.Enabled());
    for (const gui::Control* hidden : std::initializer_list<const gui::Control*>{
             &form.btnOK, &form.btnCancel, &form.btnStop, &form.lblClose, &form.lblSec})
        EXPECT_FALSE(hidden->Visible());
    EXPECT_TRUE(form.pnlClose.Visible());
}

TEST(TimedMessage, RemainingSecondsAndTheirText) {
    constexpr double kSecond = 1.0 / (24 * 60 * 60);
    struct Case {
        unsigned interval;
        double elapsedSeconds;
        int remaining;
    };
    const Case cases[] = {
        {20000, 0, 20}, {20000, 0.4, 20}, {20000, 0.6, 19}, {20000, 1, 19},
        {20000, 17, 3}, {1500, 0.2, 1},   {20000, 25, -5},
    };
    const double shownAt = 45000.5;
    for (const Case& c : cases)
        EXPECT_EQ(ui::RemainingSeconds(c.interval, shownAt, shownAt + c.elapsedSeconds * kSecond), c.remaining)
            << c.interval << " " << c.elapsedSeconds;
    EXPECT_EQ(ui::CountdownText(17), L"  17с");
    EXPECT_EQ(ui::CountdownText(0), L"  0с");
}

TEST(LaunchProgress, CreatedHiddenWithTheCaptionOfItsType) {
    ui::TFWaitRun wait;
    EXPECT_FALSE(wait.Visible());
    EXPECT_EQ(wait.Caption(), L"Launching ");
    EXPECT_EQ(wait.ProgressBar.Position(), 0);
    const gui::Box client = wait.ClientBox();
    EXPECT_EQ(client.width, 314);
    EXPECT_EQ(client.height, 39);
    EXPECT_TRUE(GetWindowLongPtrW(wait.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(wait.Handle(), GWL_STYLE) & WS_SYSMENU) << "no title-bar buttons";

    const std::pair<uint8_t, const wchar_t*> captions[] = {
        {0, L"Launching "},
        {1, L"Launching "},
        {2, L"Запись данных ЭКГ"},
        {3, L"Преобразование данных ЭКГ в формат Велтон-Dozevo"},
        {4, L""},
        {5, L"Launching "},
        {255, L"Launching "},
    };
    for (const auto& [type, caption] : captions) EXPECT_EQ(ui::TFWaitRun::CaptionFor(type), caption);

    wait.typemessage = 4;
    wait.Show();
    EXPECT_EQ(wait.Caption(), L"");
}

TEST(LaunchProgress, NextStepsTheBarAndStartsOverPastItsEnd) {
    ui::TFWaitRun wait;
    for (int i = 1; i <= 25; ++i) wait.Next(L"Шаг " + std::to_wstring(i));
    EXPECT_EQ(wait.ProgressBar.Position(), 25);
    EXPECT_EQ(wait.LblProgress.Text(), L"Шаг 25");
    wait.Next(L"Шаг 26");
    EXPECT_LT(wait.ProgressBar.Position(), 25) << "past the maximum the bar starts over";
    EXPECT_EQ(wait.LblProgress.Text(), L"Шаг 26");
}
