#pragma once
// The narrow interface through which the installation run speaks to the main
// window. TFMain implements it; unit tests implement it to drive a whole run
// in-process and to see everything the run does to the window.
#include <string>

namespace install {

enum class Page { Progress, ChangeFontSize };

class IInstallView {
public:
    virtual ~IInstallView() = default;

    // Progress list (LogList): empty it and make it visible.
    virtual void ClearLines() = 0;
    // Adds a line at the end, keeps the newest line in view; returns its index.
    virtual int AddLine(const std::wstring& text) = 0;
    // Appends a result word to an existing line.
    virtual void AppendToLine(int index, const std::wstring& word) = 0;
    // Repaints the progress list at once (without processing other messages).
    virtual void RepaintLines() = 0;

    // The platform's standard dialogs: error box with OK, confirmation with Yes/No.
    virtual void ShowError(const std::wstring& text) = 0;
    virtual bool Confirm(const std::wstring& text) = 0;

    // Lets the window process its pending messages (the run's only repaint points).
    virtual void ProcessMessages() = 0;
    // Busy state: FCanClose false and the hourglass cursor; false undoes both.
    virtual void SetBusy(bool busy) = 0;
    virtual void EnableExit() = 0;
    virtual void ShowPage(Page page) = 0;
    // Asks the window to close (the close query decides).
    virtual void CloseWindow() = 0;
};

}  // namespace install
