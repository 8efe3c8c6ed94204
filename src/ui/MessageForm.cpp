#include "ui/MessageForm.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "base/DateTime.h"
#include "gui/Application.h"
#include "gui/Fonts.h"
#include "ui/ScreenMonitorManager.h"

namespace ui {

namespace {

constexpr int kClientWidth = 446;
constexpr int kClientHeight = 138;
constexpr int kButtonsHeight = 24;
constexpr int kCloseHeight = 16;
constexpr int kCloseGap = 2;
constexpr int kExtraHeight = 60;  // title bar, borders and air around the strips

TimedMessageHook& Hook() {
    static TimedMessageHook hook;
    return hook;
}

HFONT WindowFont() {
    return gui::GetFont({L"Tahoma", 10});
}

}  // namespace

TFMessageform::TFMessageform() : StayUpTimer(1000), StopTimer(20000) {
    Glyphs.AddStrip(L"GLYPH_CANCEL");
    Glyphs.AddStrip(L"GLYPH_OK");
    // Owned by the main window when there is one, so it has no task-bar button of its own.
    const gui::Form* main = gui::App().MainForm();
    CreateHandle({L"TFMessageform", L"", kClientWidth, kClientHeight, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                  WS_EX_TOPMOST, WindowFont(), main ? main->Handle() : nullptr});
    CreateControls();
    StayUpTimer.OnTimer = [this] { StayUpTimerTimer(); };
    StopTimer.OnTimer = [this] { StopTimerTimer(); };
}

TFMessageform::~TFMessageform() {
    StayUpTimer.SetEnabled(false);
    StopTimer.SetEnabled(false);
    DestroyHandle();
}

void TFMessageform::CreateControls() {
    lblMessage.Create(Handle(),
                      {.caption = L"", .bounds = {0, 0, kClientWidth, 16}, .wordWrap = true, .centerVertically = true});
    pnlButtons.Create(Handle(), {L"pnlButtons", {0, 0, kClientWidth, kButtonsHeight}});
    btnCancel.Create(pnlButtons, {.caption = L"Отмена",
                                  .bounds = {0, 0, 73, kButtonsHeight},
                                  .images = &Glyphs,
                                  .imageIndex = 0,
                                  .spacing = 3,
                                  .onClick = [this] { btnCancelClick(); }});
    pnlOkSpacer.Create(pnlButtons, {L"", {0, 0, 10, kButtonsHeight}});
    btnOK.Create(pnlButtons, {.caption = L"OK",
                              .bounds = {0, 0, 70, kButtonsHeight},
                              .images = &Glyphs,
                              .imageIndex = 2,
                              .spacing = 3,
                              .onClick = [this] { btnOKClick(); }});
    pnlClose.Create(Handle(), {L"pnlClose", {0, 0, kClientWidth, kCloseHeight}});
    btnStop.Create(pnlClose,
                   {.caption = L"остановить", .bounds = {0, 0, 80, kCloseHeight}, .spacing = 3, .onClick = [this] {
                        btnStopClick();
                    }});
    lblClose.Create(pnlClose,
                    {L"Окно закроется через", {80, 0, 10, kCloseHeight}, false, gui::TextAlign::Center, true});
    lblSec.Create(pnlClose, {L"  сек", {90, 0, 10, kCloseHeight}, false, gui::TextAlign::Left, true});
}

// The strips, top to bottom: the message, the buttons, the countdown.
void TFMessageform::LayOut() {
    gui::Box client = ClientBox();
    lblMessage.SetBounds({0, 0, client.width, lblMessage.Height()});
    lblMessage.FitHeight();  // at the new width
    const gui::Box close = client.TakeBottom(kCloseHeight);
    client.TakeBottom(kCloseGap);
    gui::Box buttons = client.TakeBottom(kButtonsHeight);
    pnlButtons.SetBounds(buttons);
    pnlClose.SetBounds(close);

    gui::Box strip{0, 0, buttons.width, kButtonsHeight};
    btnCancel.SetBounds(strip.TakeLeft(73));
    btnOK.SetBounds(strip.TakeRight(70));
    pnlOkSpacer.SetBounds(strip.TakeRight(10));

    gui::Box countdown{0, 0, close.width, kCloseHeight};
    btnStop.SetBounds(countdown.TakeLeft(80));
    lblClose.SetBounds(countdown.TakeLeft(lblClose.TextWidth() + 8));
    lblSec.SetBounds(countdown.TakeLeft(std::max(lblSec.TextWidth(), 40)));
}

bool TFMessageform::Showmes(const std::wstring& Text, TMessageType tip, const std::wstring& CaptionText, bool smodal) {
    FShowResult = false;
    FMessageTtype = tip;
    FMessageText = Text;
    FCaptionText = CaptionText;
    Fsmodal = smodal;
    btnCancel.SetVisible(tip == mtDialog);
    btnOK.SetVisible(true);
    if (!smodal) {
        btnOK.SetVisible(false);
        btnStop.SetVisible(false);
        btnCancel.SetVisible(false);
    }
    // Enter answers the message; for a question it takes the cautious answer.
    SetActiveControl(tip == mtDialog ? btnCancel : btnOK);
    if (smodal)
        ShowModal();
    else
        Show();
    return FShowResult;
}

void TFMessageform::FormShow() {
    StayUpTimer.SetEnabled(false);
    StopTimer.SetEnabled(false);
    if (Fsmodal) {
        StayUpTimer.SetEnabled(true);
        StopTimer.SetEnabled(true);
    } else {
        lblClose.SetVisible(false);
        lblSec.SetVisible(false);
    }
    pnlClose.SetVisible(true);

    lblMessage.SetFont(gui::GetFont({L"Tahoma", gui::PointsToPixels(10)}));
    lblMessage.SetText(FMessageText);
    SetCaption(FCaptionText);

    // Height first: the message wraps at the client width, which the height does not change.
    gui::Box window = WindowBox();
    lblMessage.SetBounds({0, 0, ClientBox().width, 16});
    window.height = lblMessage.TextHeight() + kButtonsHeight + kCloseHeight + kExtraHeight;
    // The bottom edge sits at half the monitor's height from the desktop's top;
    // the window is centred horizontally on the chosen monitor.
    const int screenWidth = myScreen ? myScreen->Width : ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = myScreen ? myScreen->Height : ::GetSystemMetrics(SM_CYSCREEN);
    const int monitorLeft = myScreen ? myScreen->Monitors(myScreen->Monitornumber).Left() : 0;
    window.top = screenHeight / 2 - window.height;
    window.left = monitorLeft + (screenWidth - window.width) / 2;
    SetWindowBox(window);
    LayOut();
    BringToFront();
    tt = base::NowDayCount();
}

void TFMessageform::FormResize() {
    LayOut();
}

LRESULT TFMessageform::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Esc (the dialog keyboard interface's IDCANCEL) cancels, as the close box does.
    if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL && lp == 0) {
        btnCancel.Click();
        return 0;
    }
    return Form::HandleMessage(msg, wp, lp);
}

void TFMessageform::FormClose() {
    StayUpTimer.SetEnabled(false);
    StopTimer.SetEnabled(false);
}

void TFMessageform::StayUpTimerTimer() {
    if (!Visible()) return;
    BringToFront();
    lblSec.SetText(CountdownText(RemainingSeconds(StopTimer.Interval(), tt, base::NowDayCount())));
}

// Cancels the window, also when the Cancel button is hidden.
void TFMessageform::StopTimerTimer() {
    btnCancel.Click();
}

void TFMessageform::btnOKClick() {
    FShowResult = true;
    Close();
}

void TFMessageform::btnCancelClick() {
    FShowResult = false;
    Close();
}

void TFMessageform::btnStopClick() {
    StopTimer.SetEnabled(false);
    pnlClose.SetVisible(false);
}

bool ShowTimedMessage(const std::wstring& Text, TMessageType MessageType, const std::wstring& Caption, int Seconds) {
    if (Hook()) return Hook()(Text, MessageType, Caption, Seconds);
    TFMessageform form;
    // Outside 1 .. INT_MAX/1000 seconds the default countdown stays, as for 0.
    if (Seconds > 0 && Seconds <= INT_MAX / 1000) form.StopTimer.SetInterval(static_cast<UINT>(Seconds) * 1000u);
    return form.Showmes(Text, MessageType, Caption, true);
}

int RemainingSeconds(unsigned stopInterval, double shownAt, double now) {
    const double remaining = static_cast<double>(stopInterval / 1000) - (now - shownAt) * 24 * 60 * 60;
    return static_cast<int>(std::nearbyint(remaining));  // the default rounding mode: halves to even
}

std::wstring CountdownText(int seconds) {
    return L"  " + std::to_wstring(seconds) + L"с";
}

TimedMessageHook SetTimedMessageHook(TimedMessageHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

}  // namespace ui
