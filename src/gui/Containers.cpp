#include "gui/Containers.h"

namespace gui {

void Panel::Create(ParentRef parent, const PanelArgs& args) {
    border_ = args.border;
    borderColor_ = args.borderColor;
    CreateHandle({ContainerClass(), parent.hwnd, args.text,
                  (args.visible ? WS_VISIBLE : 0u) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                  args.bounds, args.font});
}

void Panel::SetBorderColor(COLORREF color) {
    borderColor_ = color;
    Invalidate();
}

LRESULT Panel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = ::BeginPaint(Handle(), &ps);
            Paint(dc);
            ::EndPaint(Handle(), &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // Children that do not colour themselves take the panel's colour.
            LRESULT result = 0;
            if (ReflectToChild(msg, wp, lp, result)) return result;
            if (ColorChild(reinterpret_cast<HDC>(wp), result)) return result;
            break;
        }
        default:
            break;
    }
    return Control::WndProc(msg, wp, lp);
}

void Panel::Paint(HDC dc) const {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    const COLORREF color = Color() != CLR_INVALID ? Color() : ::GetSysColor(COLOR_BTNFACE);
    const HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &r, brush);
    if (border_ == PanelBorder::FlatRounded) {
        const HPEN pen =
            ::CreatePen(PS_SOLID, 1, borderColor_ == CLR_DEFAULT ? ::GetSysColor(COLOR_BTNSHADOW) : borderColor_);
        const HGDIOBJ oldPen = ::SelectObject(dc, pen);
        const HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 7, 7);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
    }
    ::DeleteObject(brush);
}

void PageControl::AddPage(Page& page, const std::wstring& name) {
    const Box own = Bounds();
    PanelArgs args{name, Box{0, 0, own.width, own.height}};
    args.visible = false;
    page.Create(*this, args);
    pages_.push_back(&page);
}

void PageControl::SetActivePage(Page& page) {
    const HWND focus = ::GetFocus();
    const bool focusHere = focus && (focus == Handle() || ::IsChild(Handle(), focus));
    active_ = &page;
    page.SetVisible(true);
    for (Page* p : pages_)
        if (p != &page) p->SetVisible(false);
    // The keyboard focus does not stay behind on a hidden page: it moves to the
    // first control of the new one that takes it.
    if (focusHere) {
        const HWND first = ::GetNextDlgTabItem(page.Handle(), nullptr, FALSE);
        ::SetFocus(first && ::IsChild(page.Handle(), first) ? first : Handle());
    }
    if (page.OnShow) page.OnShow();
}

void PageControl::SetBounds(const Box& box) {
    Panel::SetBounds(box);
    for (Page* p : pages_) p->SetBounds(Box{0, 0, box.width, box.height});
}

void PaintBox::Create(ParentRef parent, const Box& bounds, std::function<void()> onResize) {
    onResize_ = std::move(onResize);
    // Created empty, then sized, so that the resize handler sees the first size too.
    CreateHandle({ContainerClass(), parent.hwnd, L"", WS_VISIBLE | WS_CLIPSIBLINGS, 0, Box{}, nullptr});
    SetBounds(bounds);
}

void PaintBox::Repaint() {
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

LRESULT PaintBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE: {
            const int w = LOWORD(lp), h = HIWORD(lp);
            if (buffer_.Width() != w || buffer_.Height() != h) buffer_.SetSize(w, h);
            Guarded([this] {
                if (onResize_) onResize_();
            });
            Repaint();
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the buffer covers the whole box
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = ::BeginPaint(Handle(), &ps);
            buffer_.PaintTo(dc, 0, 0);
            ::EndPaint(Handle(), &ps);
            return 0;
        }
        default:
            break;
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace gui
