#pragma once
// Window-message timer: fires OnTimer every Interval milliseconds while enabled.
// Delivered through the message loop of the creating thread (modal loops included).
#include <windows.h>

#include <functional>

namespace gui {

class Timer {
public:
    explicit Timer(UINT interval = 1000, std::function<void()> onTimer = {});
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    UINT Interval() const { return interval_; }
    // A new interval restarts a running timer.
    void SetInterval(UINT interval);
    bool Enabled() const { return id_ != 0; }
    void SetEnabled(bool enabled);

    std::function<void()> OnTimer;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    UINT interval_;
    UINT_PTR id_ = 0;
};

}  // namespace gui
