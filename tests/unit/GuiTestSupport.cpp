#include "GuiTestSupport.h"

#include <map>
#include <utility>

namespace testsupport {

DialogRecorder::DialogRecorder(std::deque<int> answers) : answers_(std::move(answers)) {
    previous_ = gui::SetMessageHook([this](const gui::MessageRequest& request) {
        requests_.push_back(request);
        if (!answers_.empty()) {
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return request.buttons == gui::MsgDlgButtons::YesNo ? IDNO : IDOK;
    });
}

DialogRecorder::~DialogRecorder() {
    gui::SetMessageHook(std::move(previous_));
}

TimedMessageRecorder::TimedMessageRecorder() {
    previous_ = ui::SetTimedMessageHook(
        [this](const std::wstring& text, ui::TMessageType type, const std::wstring& caption, int seconds) {
            calls_.push_back({text, type, caption, seconds});
            return false;
        });
}

TimedMessageRecorder::~TimedMessageRecorder() {
    ui::SetTimedMessageHook(std::move(previous_));
}

FolderBrowserAnswer::FolderBrowserAnswer(std::optional<std::wstring> answer) : answer_(std::move(answer)) {
    previous_ = gui::SetFolderBrowserHook([this](const std::wstring& title) {
        titles_.push_back(title);
        return answer_;
    });
}

FolderBrowserAnswer::~FolderBrowserAnswer() {
    gui::SetFolderBrowserHook(std::move(previous_));
}

namespace {

std::map<UINT_PTR, After*>& Pending() {
    static std::map<UINT_PTR, After*> pending;
    return pending;
}

}  // namespace

After::After(UINT ms, std::function<void()> f) : f_(std::move(f)) {
    id_ = SetTimer(nullptr, 0, ms, &After::Fire);
    Pending()[id_] = this;
}

After::~After() {
    if (id_) {
        KillTimer(nullptr, id_);
        Pending().erase(id_);
    }
}

void CALLBACK After::Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const auto it = Pending().find(id);
    if (it == Pending().end()) return;
    After* self = it->second;
    Pending().erase(it);
    self->id_ = 0;
    self->ran_ = true;
    self->f_();
}

void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct Search {
    std::wstring className;
    const wchar_t* text;
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    wchar_t cls[256] = {};
    GetClassNameW(wnd, cls, 256);
    if (s->className == cls && (!s->visibleOnly || IsWindowVisible(wnd)) && (!s->text || WindowText(wnd) == s->text)) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindThreadWindow(const std::wstring& className, const wchar_t* caption) {
    Search s{className, caption, true};
    EnumThreadWindows(GetCurrentThreadId(), Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text) {
    Search s{className, text.c_str(), false};
    EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring WindowText(HWND wnd) {
    const int length = GetWindowTextLengthW(wnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), length + 1)));
    return text;
}

}  // namespace testsupport
