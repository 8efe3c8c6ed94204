#pragma once
// Geometry of the monitor on which the program's windows appear: the chosen
// monitor's number and size and the display's scaling factor.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "gui/Screen.h"

namespace ui {

class TmyScreen {
public:
    TmyScreen();
    // Over another screen object (not owned), for tests.
    explicit TmyScreen(gui::Screen& screen);

    gui::CursorId Cursor() const { return FCursor; }
    // Errors of the platform while the cursor is set are swallowed.
    void SetCursor(gui::CursorId cursor);

    gui::Monitor Monitors(int index) const { return GetMonitor(index); }
    gui::Monitor GetMonitor(int index) const;

    gui::Screen* FScreen;
    gui::CursorId FCursor;
    int32_t MonitorCount;
    // After SelectScreenMonitor these hold the chosen monitor's full size, not its work area.
    int32_t WorkAreaWidth;
    int32_t WorkAreaHeight;
    int32_t Monitornumber;
    int32_t Width;
    int32_t PixelsPerInch;
    double ScaleKoef;
    int32_t Height;
};

extern TmyScreen* myScreen;

// Chooses monitor index (0 when there is no such monitor) and refreshes the
// geometry and the scaling factor of myScreen.
void SelectScreenMonitor(uint8_t index);

// Effective horizontal and vertical logical pixels per inch of a display context.
std::pair<int, int> GetEffectiveDpi(HDC dc);

// The decision of GetEffectiveDpi over its inputs: the context's logical pixels
// per inch, the current display mode's size in pixels (asked only when needed;
// nullopt when the query fails) and the screen size the system reports.
struct DisplayModeSize {
    long width, height;
};
std::pair<int, int> EffectiveDpi(int logPixelsX, int logPixelsY,
                                 const std::function<std::optional<DisplayModeSize>()>& queryMode, int screenWidth,
                                 int screenHeight);

}  // namespace ui
