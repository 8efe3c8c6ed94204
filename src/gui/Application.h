#pragma once
// The application object: title, message loop, processing of pending
// messages, the busy cursor and the standard error report.
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "base/Handles.h"

namespace gui {

class Form;

class Application {
public:
    // COM as a single-threaded apartment on this thread, and the common controls.
    void Initialize();
    void Finalize();

    const std::wstring& Title() const { return title_; }
    void SetTitle(std::wstring title) { title_ = std::move(title); }

    // The window whose closing ends the program.
    Form* MainForm() const { return mainForm_; }
    void SetMainForm(Form* form) { mainForm_ = form; }

    // Shows the main window and runs the message loop until it closes.
    void Run(Form& mainForm);
    // Dispatches messages until done() holds or the program is ending.
    void RunUntil(const std::function<bool()>& done);
    // Dispatches every pending message and returns.
    void ProcessMessages();
    // Ends the message loop at its next turn.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Busy state: the hourglass over every window of the program.
    void SetBusy(bool busy);

    // The standard error report: an error box captioned with the title.
    void ShowException(const std::wstring& message) noexcept;
    // The same for the exception in flight (inside a catch block).
    void HandleException() noexcept;

private:
    // One message through the dialog keyboard interface of its window, else dispatched.
    void Dispatch(MSG& msg);

    std::wstring title_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    std::optional<base::ComApartment> com_;
};

// The program's one application object.
Application& App();

// The text of the standard error report: a full stop is added when the last
// character's code is above that of the full stop.
std::wstring ErrorReportText(std::wstring message);

}  // namespace gui
