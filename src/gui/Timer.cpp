#include "gui/Timer.h"

#include <map>

#include "gui/Window.h"

namespace gui {

namespace {

// Running timers by their thread-timer id; a message for a timer stopped
// meanwhile finds nothing here and is dropped.
std::map<UINT_PTR, Timer*>& Running() {
    static std::map<UINT_PTR, Timer*> running;
    return running;
}

}  // namespace

Timer::Timer(UINT interval, std::function<void()> onTimer) : OnTimer(std::move(onTimer)), interval_(interval) {}

Timer::~Timer() {
    SetEnabled(false);
}

void Timer::SetInterval(UINT interval) {
    interval_ = interval;
    if (Enabled()) {
        SetEnabled(false);
        SetEnabled(true);
    }
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    if (enabled) {
        id_ = ::SetTimer(nullptr, 0, interval_, &Timer::Fire);
        if (id_) Running()[id_] = this;
    } else {
        ::KillTimer(nullptr, id_);
        Running().erase(id_);
        id_ = 0;
    }
}

void CALLBACK Timer::Fire(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    const auto it = Running().find(id);
    if (it == Running().end()) return;
    Timer* timer = it->second;
    Guarded([timer] {
        if (timer->OnTimer) timer->OnTimer();
    });
}

}  // namespace gui
