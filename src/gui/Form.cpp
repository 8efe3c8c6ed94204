#include "gui/Form.h"

#include <vector>

#include "base/Error.h"
#include "gui/Application.h"
#include "gui/Screen.h"

namespace gui {

namespace {

// The control that had the focus when the window was last deactivated.
constexpr wchar_t kLastFocusProp[] = L"gui.LastFocus";

struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableOther(HWND wnd, LPARAM param) {
    auto* state = reinterpret_cast<DisabledWindows*>(param);
    if (wnd != state->keep && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd)) {
        ::EnableWindow(wnd, FALSE);
        state->windows.push_back(wnd);
    }
    return TRUE;
}

}  // namespace

Form::~Form() {
    DestroyHandle();
}

Form* Form::FromHandle(HWND wnd) {
    if (!wnd || ::GetWindowLongPtrW(wnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Form::WndProc)) return nullptr;
    return reinterpret_cast<Form*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

void Form::CreateHandle(const Params& p) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), p.className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::WndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = p.className;
        if (!::RegisterClassExW(&wc)) throw base::Error(L"Error registering window class");
    }
    RECT r{0, 0, p.clientWidth, p.clientHeight};
    ::AdjustWindowRectEx(&r, p.style, FALSE, p.exStyle);
    font_ = p.font;
    const HWND wnd = ::CreateWindowExW(p.exStyle, p.className, p.caption.c_str(), p.style, 0, 0, r.right - r.left,
                                       r.bottom - r.top, p.owner, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!wnd) throw base::Error(L"Error creating window");
    if (p.icon) {
        ::SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(p.icon));
        ::SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(p.icon));
    }
}

void Form::DestroyHandle() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Form::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = wnd;
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(wnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(wnd, msg, wp, lp);
    }
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (ReflectToChild(msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_SIZE:
            if (wp != SIZE_MINIMIZED) FormResize();
            return 0;
        case WM_SETCURSOR:
            // The busy cursor covers every window of the program, children included.
            if (TheScreen().Cursor() != kCursorDefault) {
                TheScreen().SetCursor(TheScreen().Cursor());
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // Keyboard focus returns to the control that had it, as in a dialog.
            if (LOWORD(wp) == WA_INACTIVE) {
                const HWND focus = ::GetFocus();
                if (focus && ::IsChild(hwnd_, focus)) ::SetPropW(hwnd_, kLastFocusProp, focus);
            } else if (const auto focus = static_cast<HWND>(::GetPropW(hwnd_, kLastFocusProp));
                       focus && ::IsChild(hwnd_, focus) && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus)) {
                ::SetFocus(focus);
                return 0;
            }
            break;
        case WM_DESTROY:
            ::RemovePropW(hwnd_, kLastFocusProp);
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

std::wstring Form::Caption() const {
    const int length = ::GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

void Form::SetCaption(const std::wstring& caption) {
    ::SetWindowTextW(hwnd_, caption.c_str());
}

Box Form::ClientBox() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return Box{0, 0, r.right, r.bottom};
}

Box Form::WindowBox() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return Box{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Form::SetWindowBox(const Box& box) {
    ::SetWindowPos(hwnd_, nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOnScreen() {
    Box box = WindowBox();
    box.left = (::GetSystemMetrics(SM_CXSCREEN) - box.width) / 2;
    box.top = (::GetSystemMetrics(SM_CYSCREEN) - box.height) / 2;
    SetWindowBox(box);
}

void Form::Show() {
    FormShow();
    ::ShowWindow(hwnd_, SW_SHOW);
}

void Form::Hide() {
    ::ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Visible() const {
    return hwnd_ && ::IsWindowVisible(hwnd_);
}

int Form::ShowModal() {
    const HWND previous = ::GetActiveWindow();
    DisabledWindows disabled{hwnd_, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalDone_ = false;
    modalResult_ = 0;
    const base::ScopeExit restore([&] {
        // Others first, so that activation can move back to the window that had it.
        for (HWND wnd : disabled.windows)
            if (::IsWindow(wnd)) ::EnableWindow(wnd, TRUE);
        if (hwnd_)
            ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (previous && ::IsWindow(previous)) ::SetActiveWindow(previous);
        modal_ = false;
    });
    Show();
    ::SetActiveWindow(hwnd_);
    App().RunUntil([this] { return modalDone_ || !hwnd_; });
    return modalResult_;
}

void Form::EndModal(int result) {
    modalResult_ = result;
    modalDone_ = true;
}

void Form::Close() {
    if (!FormCloseQuery()) return;
    FormClose();
    if (modal_) {
        EndModal(modalResult_ ? modalResult_ : IDCANCEL);
        return;
    }
    Hide();
    if (App().MainForm() == this) App().Terminate();
}

void Form::SetActiveControl(const Control& control) {
    ::SetPropW(hwnd_, kLastFocusProp, control.Handle());
    if (::GetActiveWindow() == hwnd_) ::SetFocus(control.Handle());
}

void Form::BringToFront() {
    const bool topmost = (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    ::SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace gui
