#include "gui/Window.h"

#include <commctrl.h>

#include <vector>

#include "base/Error.h"

namespace gui {

namespace {

constexpr UINT_PTR kSubclassId = 0x484F4C54;  // one subclass per control
// The object behind a control; a property, since GetWindowSubclass is exported by ordinal only.
constexpr wchar_t kObjectProp[] = L"gui.Control";

}  // namespace

Box Box::TakeTop(int h) {
    Box strip{left, top, width, h};
    top += h;
    height -= h;
    return strip;
}

Box Box::TakeBottom(int h) {
    height -= h;
    return Box{left, top + height, width, h};
}

Box Box::TakeLeft(int w) {
    Box strip{left, top, w, height};
    left += w;
    width -= w;
    return strip;
}

Box Box::TakeRight(int w) {
    width -= w;
    return Box{left + width, top, w, height};
}

ParentRef::ParentRef(const Control& control) : hwnd(control.Handle()) {}

Control::~Control() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

Control* Control::FromHandle(HWND wnd) {
    return wnd ? static_cast<Control*>(::GetPropW(wnd, kObjectProp)) : nullptr;
}

void Control::CreateHandle(const CreateParams& p) {
    if (hwnd_) throw base::Error(L"Control has already been created");
    const HWND wnd =
        ::CreateWindowExW(p.exStyle, p.className, p.text.c_str(), p.style | WS_CHILD, p.bounds.left, p.bounds.top,
                          p.bounds.width, p.bounds.height, p.parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!wnd) throw base::Error(L"Error creating window: " + std::wstring(p.className));
    hwnd_ = wnd;
    ::SetPropW(wnd, kObjectProp, this);
    ::SetWindowSubclass(wnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    HFONT font = p.font ? p.font : reinterpret_cast<HFONT>(::SendMessageW(p.parent, WM_GETFONT, 0, 0));
    if (font) SetFont(font);
    if (const Control* parent = FromHandle(p.parent); parent && parentColor_ && parent->Color() != CLR_INVALID)
        SetColor(parent->Color());
}

LRESULT CALLBACK Control::SubclassProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<Control*>(ref);
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(wnd, SubclassProc, kSubclassId);
        ::RemovePropW(wnd, kObjectProp);
        self->hwnd_ = nullptr;
        return ::DefSubclassProc(wnd, msg, wp, lp);
    }
    try {
        return self->WndProc(msg, wp, lp);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

LRESULT Control::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (ReflectToChild(msg, wp, lp, result)) return result;
    return DefaultProc(msg, wp, lp);
}

LRESULT Control::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefSubclassProc(hwnd_, msg, wp, lp);
}

bool Control::OnReflected(UINT msg, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Control::ColorChild(HDC dc, LRESULT& result, COLORREF textColor) const {
    if (color_ == CLR_INVALID) return false;
    ::SetBkColor(dc, color_);
    if (textColor != CLR_INVALID) ::SetTextColor(dc, textColor);
    result = reinterpret_cast<LRESULT>(Brush());
    return true;
}

std::wstring Control::Text() const {
    const int length = ::GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

void Control::SetText(const std::wstring& text) {
    ::SetWindowTextW(hwnd_, text.c_str());
}

Box Control::Bounds() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return Box{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Box Control::ClientArea() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return Box{0, 0, r.right, r.bottom};
}

void Control::SetBounds(const Box& box) {
    ::SetWindowPos(hwnd_, nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Control::Visible() const {
    return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible) {
    ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::Enabled() const {
    return ::IsWindowEnabled(hwnd_) != FALSE;
}

void Control::SetEnabled(bool enabled) {
    ::EnableWindow(hwnd_, enabled);
}

void Control::SetFocus() {
    ::SetFocus(hwnd_);
}

bool Control::Focused() const {
    return hwnd_ && ::GetFocus() == hwnd_;
}

HFONT Control::Font() const {
    return reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
}

void Control::SetFont(HFONT font) {
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Control::Invalidate() {
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetColor(COLORREF color) {
    color_ = color;
    brush_.reset(color == CLR_INVALID ? nullptr : ::CreateSolidBrush(color));
    if (!hwnd_) return;
    std::vector<Control*> children;
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (Control* c = FromHandle(child); c && c->ParentColor()) children.push_back(c);
    for (Control* c : children) c->SetColor(color);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            child = reinterpret_cast<HWND>(lp);
            break;
        case WM_NOTIFY:
            child = reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item->CtlType != ODT_MENU) child = item->hwndItem;
            break;
        }
        default:
            return false;
    }
    Control* control = Control::FromHandle(child);
    return control && control->OnReflected(msg, wp, lp, result);
}

const wchar_t* ContainerClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"HolterPanel";
        ::RegisterClassExW(&wc);
        return L"HolterPanel";
    }();
    return name;
}

}  // namespace gui
