#pragma once
// Drives the real Install.exe from another process, as an operator would: finds
// its windows by class and text, presses buttons, types into the path field,
// reads texts and the progress list, answers message boxes. Every wait is
// bounded; a driver that goes out of scope with the program still running
// kills it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Lets this thread handle sent and posted messages while it waits, so a
// broadcast from the program under test (WM_FONTCHANGE) never waits on us.
void Pause(DWORD ms);

// Polls condition every few milliseconds until it holds or timeoutMs passes.
template <typename F>
bool WaitFor(F condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Pause(15);
    }
}

// A message box of the program (its own #32770 dialog).
struct Dialog {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;                  // the message: its static texts, joined by "\n"
    std::vector<std::wstring> buttons;  // button texts, accelerators removed
};

class UiDriver {
public:
    static constexpr DWORD kWindowTimeout = 20000;
    static constexpr DWORD kDialogTimeout = 20000;
    // A whole installation run, fonts and child programs included.
    static constexpr DWORD kRunTimeout = 120000;

    // Starts the program (its own folder as working folder) and waits for its main window.
    explicit UiDriver(const std::wstring& exePath);
    ~UiDriver();
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return processId_; }
    bool Running() const;
    // Waits for the process to end; false on timeout.
    bool WaitExit(DWORD timeoutMs = kWindowTimeout);
    DWORD ExitCode() const;
    void Kill();

    // Controls of the main window. Only visible controls are found unless told otherwise:
    // the pages share button texts ("Далее", "Отмена", "Выход"), the active page's are the visible ones.
    HWND FindControl(const std::wstring& className, const std::wstring& text, bool visibleOnly = true) const;
    HWND FindControlStartingWith(const std::wstring& className, const std::wstring& prefix) const;
    HWND WaitControl(const std::wstring& className, const std::wstring& text, DWORD timeoutMs = kWindowTimeout) const;
    HWND Button(const std::wstring& text) const { return FindControl(L"Button", text); }
    // The path field: the one single-line edit of the window (on the path page).
    HWND PathField() const;
    // The progress list, visible or not.
    HWND ProgressList() const;
    // The control holding the keyboard focus in the program's user-interface thread.
    HWND FocusedControl() const;

    // Presses a button without waiting for what it opens (BM_CLICK is posted).
    static void Click(HWND button);
    // Finds the visible button with that text, waiting for it, and presses it; false when none appears.
    bool ClickButton(const std::wstring& text, DWORD timeoutMs = kWindowTimeout) const;
    static void SetText(HWND control, const std::wstring& text);
    static std::wstring Text(HWND window);
    static bool Checked(HWND checkBox);
    // Lines of a list box; nullopt when the program did not answer in time (busy).
    static std::optional<std::vector<std::wstring>> ListLines(HWND listBox, DWORD timeoutMs = 5000);
    std::vector<std::wstring> ProgressLines() const;

    // Close requests the way the operator makes them: the close button, and the system menu.
    void PostClose() const;
    void PostSysClose() const;

    // Message boxes: the first visible #32770 window of the process.
    std::optional<Dialog> FindDialog() const;
    std::optional<Dialog> WaitDialog(DWORD timeoutMs = kDialogTimeout) const;
    // Presses the dialog's button with that text (accelerators ignored); false when it has none.
    static bool Answer(const Dialog& dialog, const std::wstring& buttonText);
    // Waits until the dialog window is gone.
    static bool WaitGone(HWND window, DWORD timeoutMs = kDialogTimeout);

    // The timed notice: the always-on-top window with "OK" and "остановить".
    HWND FindNotice() const;
    HWND WaitNotice(DWORD timeoutMs = kDialogTimeout) const;
    // Texts of the notice's labels (the message, the countdown strip).
    static std::vector<std::wstring> VisibleStatics(HWND window);

    // Every visible top-level window of the process.
    std::vector<HWND> TopLevelWindows() const;

private:
    PROCESS_INFORMATION process_{};
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// Children of a window, all descendants, in z-order.
std::vector<HWND> Descendants(HWND parent);
std::wstring ClassName(HWND window);
// Button captions lose their accelerator marks ("&Yes" reads "Yes").
std::wstring WithoutAccelerators(const std::wstring& text);

}  // namespace e2e
