#include "gui/HotFrame.h"

namespace gui {

void HotFrame::Track(HWND wnd, UINT msg) {
    switch (msg) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            if (!hot_) {
                hot_ = true;
                // Both kinds of leave notice: the border is non-client area.
                TRACKMOUSEEVENT client{sizeof(client), TME_LEAVE, wnd, 0};
                TRACKMOUSEEVENT frame{sizeof(frame), TME_LEAVE | TME_NONCLIENT, wnd, 0};
                ::TrackMouseEvent(&client);
                ::TrackMouseEvent(&frame);
                Paint(wnd);
            }
            break;
        case WM_MOUSELEAVE:
        case WM_NCMOUSELEAVE: {
            POINT pt{};
            RECT r{};
            ::GetCursorPos(&pt);
            ::GetWindowRect(wnd, &r);
            if (hot_ && !::PtInRect(&r, pt)) {
                hot_ = false;
                Paint(wnd);
            } else if (hot_) {
                TRACKMOUSEEVENT again{sizeof(again), TME_LEAVE | (msg == WM_MOUSELEAVE ? 0u : TME_NONCLIENT), wnd, 0};
                ::TrackMouseEvent(&again);
            }
            break;
        }
        default:
            break;
    }
}

void HotFrame::Paint(HWND wnd) const {
    const HDC dc = ::GetWindowDC(wnd);
    if (!dc) return;
    RECT r{};
    ::GetWindowRect(wnd, &r);
    ::OffsetRect(&r, -r.left, -r.top);
    const COLORREF color = hot_ ? hotColor : normalColor == CLR_DEFAULT ? ::GetSysColor(COLOR_BTNSHADOW) : normalColor;
    const HBRUSH brush = ::CreateSolidBrush(color);
    ::FrameRect(dc, &r, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(wnd, dc);
}

}  // namespace gui
