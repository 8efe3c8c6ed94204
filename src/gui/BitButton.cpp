#include "gui/BitButton.h"

namespace gui {

namespace {

COLORREF Mix(COLORREF a, COLORREF b, int percentB) {
    auto part = [&](int ca, int cb) { return static_cast<BYTE>((ca * (100 - percentB) + cb * percentB) / 100); };
    return RGB(part(GetRValue(a), GetRValue(b)), part(GetGValue(a), GetGValue(b)), part(GetBValue(a), GetBValue(b)));
}

void FrameRounded(HDC dc, RECT r, COLORREF color, int width, int radius) {
    const HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    const HGDIOBJ oldPen = ::SelectObject(dc, pen);
    const HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    for (int i = 0; i < width; ++i) {
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
        ::InflateRect(&r, -1, -1);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

}  // namespace

void BitButton::Create(ParentRef parent, const BitButtonArgs& args) {
    images_ = args.images;
    imageIndex_ = args.imageIndex;
    colors_ = args.colors;
    spacing_ = args.spacing;
    OnClick = args.onClick;
    CreateHandle(
        {L"Button", parent.hwnd, args.caption, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, args.bounds, nullptr});
}

void BitButton::Click() {
    if (OnClick) OnClick();
}

bool BitButton::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        Guarded([this] { Click(); });
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    return false;
}

LRESULT BitButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!hot_) {
                hot_ = true;
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
                ::TrackMouseEvent(&track);
                ::InvalidateRect(Handle(), nullptr, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            hot_ = false;
            ::InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_ERASEBKGND:
            return 1;  // the whole face is drawn
        case WM_GETDLGCODE: {
            // Enter presses the focused button, as Space does; the dialog keyboard
            // interface would otherwise hand it to a default button these windows do not have.
            LRESULT code = Control::WndProc(msg, wp, lp);
            const auto* key = reinterpret_cast<const MSG*>(lp);
            if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if (wp == VK_RETURN) {
                Guarded([this] { Click(); });
                return 0;
            }
            break;
        default:
            break;
    }
    return Control::WndProc(msg, wp, lp);
}

// One place decides the look, in this order: disabled, pressed, hot, focused, normal.
void BitButton::Draw(const DRAWITEMSTRUCT& item) const {
    const Look look = (item.itemState & ODS_DISABLED)   ? Look::Disabled
                      : (item.itemState & ODS_SELECTED) ? Look::Pressed
                      : hot_                            ? Look::Hot
                      : (item.itemState & ODS_FOCUS)    ? Look::Focused
                                                        : Look::Normal;
    const RECT full = item.rcItem;
    const int w = full.right - full.left, h = full.bottom - full.top;
    const HDC mem = ::CreateCompatibleDC(item.hDC);
    const HBITMAP bmp = ::CreateCompatibleBitmap(item.hDC, w, h);
    const HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
    const RECT r{0, 0, w, h};
    DrawFace(mem, r, look);
    DrawContent(mem, r, look);
    ::BitBlt(item.hDC, full.left, full.top, w, h, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, oldBmp);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
}

void BitButton::DrawFace(HDC dc, const RECT& r, Look look) const {
    constexpr int kRadius = 5;
    const COLORREF around = Color() != CLR_INVALID ? Color() : ::GetSysColor(COLOR_BTNFACE);
    const HBRUSH aroundBrush = ::CreateSolidBrush(around);
    ::FillRect(dc, &r, aroundBrush);
    ::DeleteObject(aroundBrush);

    const COLORREF face = look == Look::Pressed ? Mix(colors_.face, colors_.frame, 12) : colors_.face;
    const COLORREF frame = look == Look::Disabled ? Mix(colors_.frame, colors_.face, 60) : colors_.frame;
    const HBRUSH faceBrush = ::CreateSolidBrush(face);
    const HPEN framePen = ::CreatePen(PS_SOLID, 1, frame);
    const HGDIOBJ oldBrush = ::SelectObject(dc, faceBrush);
    const HGDIOBJ oldPen = ::SelectObject(dc, framePen);
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, kRadius, kRadius);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(framePen);
    ::DeleteObject(faceBrush);

    RECT inner = r;
    ::InflateRect(&inner, -1, -1);
    if (look == Look::Hot || look == Look::Pressed) {
        FrameRounded(dc, inner, colors_.hotTrack, 2, kRadius - 1);
    } else if (look == Look::Focused) {
        const COLORREF ring = colors_.highlight == CLR_DEFAULT ? ::GetSysColor(COLOR_HIGHLIGHT) : colors_.highlight;
        FrameRounded(dc, inner, ring, 1, kRadius - 1);
    }
}

void BitButton::DrawContent(HDC dc, const RECT& r, Look look) const {
    const std::wstring caption = Text();
    const HGDIOBJ oldFont = ::SelectObject(dc, Font());
    SIZE text{};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const bool picture = images_ && imageIndex_ >= 0;
    const int glyph = picture ? images_->Size() : 0;
    const int gap = picture && !caption.empty() ? spacing_ : 0;
    const int shift = look == Look::Pressed ? 1 : 0;
    int x = (r.right - r.left - (glyph + gap + text.cx)) / 2 + shift;
    if (picture) {
        images_->Draw(dc, imageIndex_ + (look == Look::Disabled ? 1 : 0), x, (r.bottom - r.top - glyph) / 2 + shift);
        x += glyph + gap;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look == Look::Disabled ? RGB(160, 160, 160) : ::GetSysColor(COLOR_BTNTEXT));
    RECT textRect{x, r.top + shift, x + text.cx, r.bottom + shift};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
}

}  // namespace gui
