#include "gui/Screen.h"

#include <algorithm>
#include <utility>

#include "base/Error.h"
#include "base/Handles.h"

namespace gui {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM param) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(handle, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(param)->push_back(
            {handle, info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

const wchar_t* SystemCursor(CursorId id) {
    struct Entry {
        CursorId id;
        const wchar_t* cursor;
    };
    static const Entry kCursors[] = {
        {kCursorDefault, IDC_ARROW},
        {kCursorArrow, IDC_ARROW},
        {-3, IDC_CROSS},
        {-4, IDC_IBEAM},
        {-6, IDC_SIZENESW},
        {-7, IDC_SIZENS},
        {-8, IDC_SIZENWSE},
        {-9, IDC_SIZEWE},
        {-10, IDC_UPARROW},
        {kCursorHourGlass, IDC_WAIT},
        {-18, IDC_NO},
        {-19, IDC_APPSTARTING},
        {-20, IDC_HELP},
        {-21, IDC_HAND},
        {-22, IDC_SIZEALL},
    };
    for (const Entry& e : kCursors)
        if (e.id == id) return e.cursor;
    return IDC_ARROW;
}

}  // namespace

std::vector<Monitor> EnumMonitors() {
    std::vector<Monitor> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::stable_partition(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });
    return monitors;
}

Screen::Screen(MonitorSource source) : source_(std::move(source)) {}

int Screen::MonitorCount() const {
    return static_cast<int>(source_().size());
}

Monitor Screen::GetMonitor(int index) const {
    const std::vector<Monitor> monitors = source_();
    if (index < 0 || index >= static_cast<int>(monitors.size())) base::RaiseListIndexError(index);
    return monitors[static_cast<size_t>(index)];
}

void Screen::SetCursor(CursorId cursor) {
    cursor_ = cursor;
    ::SetCursor(::LoadCursorW(nullptr, SystemCursor(cursor)));
}

int Screen::PixelsPerInch() const {
    base::WindowDC dc(nullptr);
    return ::GetDeviceCaps(dc.get(), LOGPIXELSY);
}

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

}  // namespace gui
