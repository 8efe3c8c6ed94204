#include "gui/Application.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "base/Error.h"
#include "base/Text.h"
#include "gui/Dialogs.h"
#include "gui/Form.h"
#include "gui/Screen.h"

namespace gui {

void Application::Initialize() {
    if (!com_) com_.emplace();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
}

void Application::Finalize() {
    com_.reset();
}

void Application::Run(Form& mainForm) {
    mainForm_ = &mainForm;
    mainForm.Show();
    RunUntil([] { return false; });
}

void Application::RunUntil(const std::function<bool()>& done) {
    while (!terminated_ && !done()) {
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            // Leaves the quit message for any outer loop as well.
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Dispatch(msg);
    }
}

void Application::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Dispatch(msg);
    }
}

void Application::Terminate() {
    if (!terminated_) ::PostQuitMessage(0);
}

void Application::Dispatch(MSG& msg) {
    // Tab, Enter and Esc behave as in a dialog inside the program's own windows.
    // Not for a window that has just been hidden (a button whose page it turned):
    // the system's search for a mnemonic would start there and never come back to it.
    const HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && Form::FromHandle(root) && ::IsWindowVisible(msg.hwnd) && ::IsDialogMessageW(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void Application::SetBusy(bool busy) {
    TheScreen().SetCursor(busy ? kCursorHourGlass : kCursorDefault);
}

void Application::ShowException(const std::wstring& message) noexcept {
    try {
        ShowMessageDialog({title_, ErrorReportText(message), MsgDlgType::Error, MsgDlgButtons::OK});
    } catch (...) {
        ::MessageBoxW(nullptr, message.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
    }
}

void Application::HandleException() noexcept {
    try {
        throw;
    } catch (const base::Error& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        ShowException(base::FromUtf8(e.what()));
    } catch (...) {
        ShowException(L"Unknown error");
    }
}

Application& App() {
    static Application app;
    return app;
}

std::wstring ErrorReportText(std::wstring message) {
    if (!message.empty() && message.back() > L'.') message += L'.';
    return message;
}

void ReportCurrentException() noexcept {
    App().HandleException();
}

}  // namespace gui
