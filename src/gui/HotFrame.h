#pragma once
// A one-pixel frame around a control that lights up while the pointer is over
// it. The control keeps the WS_BORDER style; the frame is painted over it.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>  // CLR_DEFAULT

namespace gui {

class HotFrame {
public:
    COLORREF normalColor = CLR_DEFAULT;  // CLR_DEFAULT: the system's button shadow
    COLORREF hotColor = RGB(0, 128, 255);

    // Follows the pointer: call for every message of the control (consumes none).
    void Track(HWND wnd, UINT msg);
    // Paints the frame over the control's border (after the default non-client painting).
    void Paint(HWND wnd) const;
    bool Hot() const { return hot_; }

private:
    bool hot_ = false;
};

}  // namespace gui
