#pragma once
// Helpers of the window tests: recorded answers to the program's dialogs,
// one-shot callbacks from inside whatever message loop runs, message pumping.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gui/Dialogs.h"
#include "gui/FolderBrowser.h"
#include "ui/MessageForm.h"

namespace testsupport {

// Answers the program's message dialogs with the given results, in order,
// and records them. Without an answer left: OK for an OK box, No for a question.
class DialogRecorder {
public:
    explicit DialogRecorder(std::deque<int> answers = {});
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    const std::vector<gui::MessageRequest>& Requests() const { return requests_; }

private:
    std::deque<int> answers_;
    std::vector<gui::MessageRequest> requests_;
    gui::MessageHook previous_;
};

// Records calls of ShowTimedMessage instead of showing the window; answers false.
class TimedMessageRecorder {
public:
    struct Call {
        std::wstring text;
        ui::TMessageType type;
        std::wstring caption;
        int seconds;
    };
    TimedMessageRecorder();
    ~TimedMessageRecorder();
    TimedMessageRecorder(const TimedMessageRecorder&) = delete;
    TimedMessageRecorder& operator=(const TimedMessageRecorder&) = delete;

    const std::vector<Call>& Calls() const { return calls_; }

private:
    std::vector<Call> calls_;
    ui::TimedMessageHook previous_;
};

// Answers the folder browser with a fixed result and records its titles.
class FolderBrowserAnswer {
public:
    explicit FolderBrowserAnswer(std::optional<std::wstring> answer);
    ~FolderBrowserAnswer();
    FolderBrowserAnswer(const FolderBrowserAnswer&) = delete;
    FolderBrowserAnswer& operator=(const FolderBrowserAnswer&) = delete;

    const std::vector<std::wstring>& Titles() const { return titles_; }

private:
    std::optional<std::wstring> answer_;
    std::vector<std::wstring> titles_;
    gui::FolderBrowserHook previous_;
};

// Runs f once, ms milliseconds from now, from whatever message loop of this
// thread runs then (modal loops of windows and dialogs included).
class After {
public:
    After(UINT ms, std::function<void()> f);
    ~After();
    After(const After&) = delete;
    After& operator=(const After&) = delete;
    bool Ran() const { return ran_; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD);
    std::function<void()> f_;
    UINT_PTR id_ = 0;
    bool ran_ = false;
};

// Dispatches this thread's messages for about ms milliseconds.
void PumpFor(DWORD ms);

// A visible top-level window of this thread with that class (and caption, when given).
HWND FindThreadWindow(const std::wstring& className, const wchar_t* caption = nullptr);
// The child with that class and window text, visible or not.
HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text);
std::wstring WindowText(HWND wnd);

}  // namespace testsupport
