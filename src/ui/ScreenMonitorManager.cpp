#include "ui/ScreenMonitorManager.h"

#include <cmath>

#include "base/Handles.h"

namespace ui {

TmyScreen* myScreen = nullptr;

namespace {

RECT PrimaryWorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

static_assert(sizeof(DEVMODEW) == 220, "the display-mode record the system expects");

std::optional<DisplayModeSize> CurrentDisplayMode() {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return std::nullopt;
    return DisplayModeSize{static_cast<long>(mode.dmPelsWidth), static_cast<long>(mode.dmPelsHeight)};
}

// Mode pixels over reported pixels, scaled to 96 and rounded half to even
// (the default floating-point rounding mode).
int ScaledDpi(long modePixels, int screenPixels) {
    return static_cast<int>(std::nearbyint(static_cast<double>(modePixels) / screenPixels * 96));
}

}  // namespace

TmyScreen::TmyScreen() : TmyScreen(gui::TheScreen()) {}

TmyScreen::TmyScreen(gui::Screen& screen)
    : FScreen(&screen),
      FCursor(screen.Cursor()),
      MonitorCount(screen.MonitorCount()),
      WorkAreaWidth(0),
      WorkAreaHeight(0),
      Monitornumber(0),
      Width(::GetSystemMetrics(SM_CXSCREEN)),
      PixelsPerInch(screen.PixelsPerInch()),
      ScaleKoef(0),
      Height(::GetSystemMetrics(SM_CYSCREEN)) {
    const RECT area = PrimaryWorkArea();
    WorkAreaWidth = area.right - area.left;
    WorkAreaHeight = area.bottom - area.top;
}

void TmyScreen::SetCursor(gui::CursorId cursor) {
    FCursor = cursor;
    try {
        FScreen->SetCursor(cursor);
    } catch (...) {
        // A cursor that cannot be shown is not worth a message.
    }
}

gui::Monitor TmyScreen::GetMonitor(int index) const {
    return FScreen->GetMonitor(index);
}

void SelectScreenMonitor(uint8_t index) {
    TmyScreen& s = *myScreen;
    const int count = s.FScreen->MonitorCount();
    s.Monitornumber = index <= count - 1 ? index : 0;
    const gui::Monitor monitor = s.Monitors(s.Monitornumber);
    s.WorkAreaWidth = s.Width = monitor.Width();
    s.WorkAreaHeight = s.Height = monitor.Height();
    base::WindowDC dc(nullptr);
    const int dpiX = GetEffectiveDpi(dc.get()).first;
    s.PixelsPerInch = 96;
    s.ScaleKoef = dpiX / 96.0;
}

std::pair<int, int> EffectiveDpi(int logPixelsX, int logPixelsY,
                                 const std::function<std::optional<DisplayModeSize>()>& queryMode, int screenWidth,
                                 int screenHeight) {
    if (logPixelsX > 96 && logPixelsY > 96) return {logPixelsX, logPixelsY};
    const std::optional<DisplayModeSize> mode = queryMode();
    // A zero screen size would make the ratio meaningless; keep what the context reports.
    if (!mode || screenWidth <= 0 || screenHeight <= 0) return {logPixelsX, logPixelsY};
    return {ScaledDpi(mode->width, screenWidth), ScaledDpi(mode->height, screenHeight)};
}

std::pair<int, int> GetEffectiveDpi(HDC dc) {
    return EffectiveDpi(::GetDeviceCaps(dc, LOGPIXELSX), ::GetDeviceCaps(dc, LOGPIXELSY), CurrentDisplayMode,
                        ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace ui
