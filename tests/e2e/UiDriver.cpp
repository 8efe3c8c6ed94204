#include "UiDriver.h"

#include <algorithm>
#include <stdexcept>

#include "base/Text.h"

namespace e2e {

namespace {

constexpr wchar_t kMainCaption[] = L"Установка комплекса";
constexpr DWORD kSendTimeout = 5000;

bool IsClass(HWND window, const wchar_t* name) { return base::SameText(ClassName(window), name); }

bool IsEditClass(const std::wstring& className) {
    std::wstring upper = base::UpperCase(className);
    return upper == L"EDIT" || upper.starts_with(L"RICHEDIT");
}

// Sends without ever hanging on a program that is busy in a long step.
bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result,
                     DWORD timeoutMs = kSendTimeout) {
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) != 0;
}

}  // namespace

void Pause(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring WithoutAccelerators(const std::wstring& text) {
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

UiDriver::UiDriver(const std::wstring& exePath) {
    std::wstring folder = base::ExtractFilePath(exePath);
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process_)) {
        throw std::runtime_error("cannot start " + base::ToUtf8(exePath) + ": error " +
                                 std::to_string(GetLastError()));
    }
    processId_ = process_.dwProcessId;
    WaitFor(
        [&] {
            for (HWND w : TopLevelWindows()) {
                wchar_t caption[64] = {};
                GetWindowTextW(w, caption, 64);
                if (std::wstring(caption) == kMainCaption) {
                    main_ = w;
                    return true;
                }
            }
            return !Running();
        },
        kWindowTimeout);
    if (!main_) {
        Kill();
        throw std::runtime_error("the main window \"Установка комплекса\" did not appear");
    }
}

UiDriver::~UiDriver() {
    Kill();
    if (process_.hThread) CloseHandle(process_.hThread);
    if (process_.hProcess) CloseHandle(process_.hProcess);
}

bool UiDriver::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

bool UiDriver::WaitExit(DWORD timeoutMs) {
    return WaitFor([&] { return !Running(); }, timeoutMs);
}

DWORD UiDriver::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void UiDriver::Kill() {
    if (process_.hProcess && Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
}

namespace {
struct ProcessWindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND w, LPARAM data) {
    auto* s = reinterpret_cast<ProcessWindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == s->pid && IsWindowVisible(w)) s->found.push_back(w);
    return TRUE;
}
}  // namespace

std::vector<HWND> UiDriver::TopLevelWindows() const {
    ProcessWindowSearch search{processId_, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND UiDriver::FindControl(const std::wstring& className, const std::wstring& text, bool visibleOnly) const {
    for (HWND child : Descendants(main_)) {
        if (visibleOnly && !IsWindowVisible(child)) continue;
        if (!base::SameText(ClassName(child), className)) continue;
        if (WithoutAccelerators(Text(child)) == text) return child;
    }
    return nullptr;
}

HWND UiDriver::FindControlStartingWith(const std::wstring& className, const std::wstring& prefix) const {
    for (HWND child : Descendants(main_)) {
        if (!IsWindowVisible(child)) continue;
        std::wstring cls = ClassName(child);
        if (!base::SameText(cls, className) && !(className == L"Edit" && IsEditClass(cls))) continue;
        if (Text(child).starts_with(prefix)) return child;
    }
    return nullptr;
}

HWND UiDriver::WaitControl(const std::wstring& className, const std::wstring& text, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindControl(className, text)) != nullptr; }, timeoutMs);
    return found;
}

HWND UiDriver::PathField() const {
    for (HWND child : Descendants(main_)) {
        if (!IsClass(child, L"Edit")) continue;
        if ((GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE) == 0) return child;
    }
    return nullptr;
}

HWND UiDriver::ProgressList() const {
    for (HWND child : Descendants(main_)) {
        if (IsClass(child, L"ListBox")) return child;
    }
    return nullptr;
}

HWND UiDriver::FocusedControl() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

void UiDriver::Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool UiDriver::ClickButton(const std::wstring& text, DWORD timeoutMs) const {
    HWND button = WaitControl(L"Button", text, timeoutMs);
    if (!button) return false;
    Click(button);
    return true;
}

void UiDriver::SetText(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), result);
}

std::wstring UiDriver::Text(HWND window) {
    // Buttons, labels and captions: the text the window manager keeps, readable
    // while the program is busy. Edits keep their own text and must be asked.
    if (!IsEditClass(ClassName(window))) {
        wchar_t buffer[1024] = {};
        int length = GetWindowTextW(window, buffer, 1024);
        return std::wstring(buffer, length > 0 ? length : 0);
    }
    DWORD_PTR length = 0;
    if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), copied)) return {};
    text.resize(std::min<size_t>(copied, length));
    return text;
}

bool UiDriver::Checked(HWND checkBox) {
    DWORD_PTR state = 0;
    return SendWithTimeout(checkBox, BM_GETCHECK, 0, 0, state) && state == BST_CHECKED;
}

std::optional<std::vector<std::wstring>> UiDriver::ListLines(HWND listBox, DWORD timeoutMs) {
    DWORD_PTR count = 0;
    if (!listBox || !SendWithTimeout(listBox, LB_GETCOUNT, 0, 0, count, timeoutMs)) return std::nullopt;
    if (static_cast<LRESULT>(count) == LB_ERR) return std::nullopt;
    std::vector<std::wstring> lines;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!SendWithTimeout(listBox, LB_GETTEXTLEN, i, 0, length, timeoutMs)) return std::nullopt;
        if (static_cast<LRESULT>(length) == LB_ERR) return std::nullopt;
        std::wstring line(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendWithTimeout(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), copied, timeoutMs))
            return std::nullopt;
        line.resize(std::min<size_t>(copied, length));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::wstring> UiDriver::ProgressLines() const {
    return ListLines(ProgressList()).value_or(std::vector<std::wstring>{});
}

void UiDriver::PostClose() const { PostMessageW(main_, WM_CLOSE, 0, 0); }

void UiDriver::PostSysClose() const { PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::optional<Dialog> UiDriver::FindDialog() const {
    for (HWND w : TopLevelWindows()) {
        if (!IsClass(w, L"#32770")) continue;
        Dialog dialog;
        dialog.window = w;
        wchar_t caption[512] = {};
        GetWindowTextW(w, caption, 512);
        dialog.caption = caption;
        for (HWND child : Descendants(w)) {
            if (!IsWindowVisible(child)) continue;
            std::wstring cls = ClassName(child);
            if (base::SameText(cls, L"Static")) {
                std::wstring text = Text(child);
                if (text.empty()) continue;
                if (!dialog.text.empty()) dialog.text += L"\n";
                dialog.text += text;
            } else if (base::SameText(cls, L"Button")) {
                dialog.buttons.push_back(WithoutAccelerators(Text(child)));
            }
        }
        return dialog;
    }
    return std::nullopt;
}

std::optional<Dialog> UiDriver::WaitDialog(DWORD timeoutMs) const {
    std::optional<Dialog> dialog;
    // A dialog is read once its buttons exist; a box half created reads empty.
    WaitFor([&] { return (dialog = FindDialog()) && !dialog->buttons.empty(); }, timeoutMs);
    if (dialog && dialog->buttons.empty()) return std::nullopt;
    return dialog;
}

bool UiDriver::Answer(const Dialog& dialog, const std::wstring& buttonText) {
    for (HWND child : Descendants(dialog.window)) {
        if (base::SameText(ClassName(child), L"Button") && WithoutAccelerators(Text(child)) == buttonText) {
            Click(child);
            return true;
        }
    }
    return false;
}

bool UiDriver::WaitGone(HWND window, DWORD timeoutMs) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

HWND UiDriver::FindNotice() const {
    for (HWND w : TopLevelWindows()) {
        if (w == main_ || IsClass(w, L"#32770")) continue;
        for (HWND child : Descendants(w)) {
            if (base::SameText(ClassName(child), L"Button") && WithoutAccelerators(Text(child)) == L"OK") return w;
        }
    }
    return nullptr;
}

HWND UiDriver::WaitNotice(DWORD timeoutMs) const {
    HWND notice = nullptr;
    WaitFor([&] { return (notice = FindNotice()) != nullptr; }, timeoutMs);
    return notice;
}

std::vector<std::wstring> UiDriver::VisibleStatics(HWND window) {
    std::vector<std::wstring> texts;
    for (HWND child : Descendants(window)) {
        if (IsWindowVisible(child) && base::SameText(ClassName(child), L"Static")) texts.push_back(Text(child));
    }
    return texts;
}

}  // namespace e2e
