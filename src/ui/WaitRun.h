#pragma once
// The launch progress window: a one-line status text over a progress bar,
// advanced step by step with Next. The setup program creates it hidden.
#include <cstdint>
#include <string>

#include "gui/Form.h"
#include "gui/ListControls.h"
#include "gui/TextControls.h"

namespace ui {

class TFWaitRun : public gui::Form {
public:
    TFWaitRun();
    ~TFWaitRun() override;

    // Advances the bar one step, shows msg and lets the window repaint; errors are swallowed.
    void Next(const std::wstring& msg);

    // The caption for a value of typemessage.
    static std::wstring CaptionFor(uint8_t typemessage);

    gui::Label LblProgress;
    gui::ProgressBar ProgressBar;
    uint8_t typemessage = 0;

protected:
    void FormShow() override;

private:
    void FormCreate();
};

}  // namespace ui
