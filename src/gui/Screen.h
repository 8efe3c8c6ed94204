#pragma once
// The program's screen object: the list of monitors (primary first), the
// screen-wide cursor shape and the logical pixels per inch.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace gui {

struct Monitor {
    HMONITOR handle = nullptr;
    RECT bounds{};
    RECT workArea{};
    bool primary = false;

    int Left() const { return bounds.left; }
    int Top() const { return bounds.top; }
    int Width() const { return bounds.right - bounds.left; }
    int Height() const { return bounds.bottom - bounds.top; }
};

// Cursor shape identifiers; 0 is the default shape.
using CursorId = int16_t;
inline constexpr CursorId kCursorDefault = 0;
inline constexpr CursorId kCursorArrow = -2;
inline constexpr CursorId kCursorHourGlass = -11;

// The monitors in the order the program numbers them: primary first, the rest as the system lists them.
std::vector<Monitor> EnumMonitors();

class Screen {
public:
    using MonitorSource = std::function<std::vector<Monitor>()>;
    // The source is asked afresh at every query, so a monitor change is seen.
    explicit Screen(MonitorSource source = EnumMonitors);

    int MonitorCount() const;
    // Monitor number index; raises the list index error outside 0..MonitorCount()-1.
    Monitor GetMonitor(int index) const;

    CursorId Cursor() const { return cursor_; }
    // Stores the shape and shows it at once.
    void SetCursor(CursorId cursor);

    // Logical pixels per inch of the display (vertical, as the platform reports it).
    int PixelsPerInch() const;

private:
    MonitorSource source_;
    CursorId cursor_ = kCursorDefault;
};

// The process's screen object.
Screen& TheScreen();

}  // namespace gui
