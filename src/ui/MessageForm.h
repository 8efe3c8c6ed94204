#pragma once
// The timed message window: a small always-on-top message with OK (and Cancel
// for a question) that counts down under its buttons and cancels itself when
// the countdown runs out, unless the countdown is stopped first.
#include <cstdint>
#include <functional>
#include <string>

#include "gui/BitButton.h"
#include "gui/Containers.h"
#include "gui/Form.h"
#include "gui/ImageList.h"
#include "gui/TextControls.h"
#include "gui/Timer.h"

namespace ui {

enum TMessageType : uint8_t { mtMessage = 0, mtDialog = 1 };

class TFMessageform : public gui::Form {
public:
    TFMessageform();
    ~TFMessageform() override;

    // Fills the window and shows it, modally (with the countdown) when smodal;
    // the result is FShowResult when the showing returns.
    bool Showmes(const std::wstring& Text, TMessageType tip, const std::wstring& CaptionText, bool smodal);

    double tt = 0;  // day count of the last showing; only differences are used
    TMessageType FMessageTtype = mtMessage;
    std::wstring FMessageText;
    std::wstring FCaptionText;
    bool FShowResult = false;
    bool Fsmodal = false;

    gui::Label lblMessage;
    gui::Panel pnlButtons;
    gui::BitButton btnCancel;
    gui::Panel pnlOkSpacer;
    gui::BitButton btnOK;
    gui::Panel pnlClose;
    gui::BitButton btnStop;
    gui::Label lblClose;
    gui::Label lblSec;
    gui::Timer StayUpTimer;
    gui::Timer StopTimer;

    void btnOKClick();
    void btnCancelClick();
    void btnStopClick();
    void StayUpTimerTimer();
    void StopTimerTimer();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormShow() override;
    void FormClose() override;
    void FormResize() override;

private:
    void CreateControls();
    void LayOut();

    gui::ImageList Glyphs;  // 0 red cross, 1 grey cross, 2 green tick, 3 grey tick
};

// Shows Text in a fresh window, modally, and returns true only when OK was
// pressed. Seconds other than 0 replace the 20-second countdown.
bool ShowTimedMessage(const std::wstring& Text, TMessageType MessageType, const std::wstring& Caption, int Seconds);

// Seconds left of a countdown of stopInterval milliseconds shown at shownAt
// (day counts), rounded to the nearest integer, halves to even.
int RemainingSeconds(unsigned stopInterval, double shownAt, double now);
// The countdown label: two spaces, the number, "с".
std::wstring CountdownText(int seconds);

// While set, ShowTimedMessage shows nothing: the hook gets the arguments and
// answers. For tests; returns the previous hook.
using TimedMessageHook =
    std::function<bool(const std::wstring& text, TMessageType type, const std::wstring& caption, int seconds)>;
TimedMessageHook SetTimedMessageHook(TimedMessageHook hook);

}  // namespace ui
