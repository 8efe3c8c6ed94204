// The screen and monitor manager: monitor choice, geometry and the effective
// pixels per inch.
#include <gtest/gtest.h>

#include <vector>

#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "ui/ScreenMonitorManager.h"

using gui::Monitor;
using ui::TmyScreen;

namespace {

// A desk of two monitors: the primary 1280 x 1024, a second 1920 x 1080 to its left.
std::vector<Monitor> TwoMonitors() {
    return {{nullptr, {0, 0, 1280, 1024}, {0, 0, 1280, 984}, true},
            {nullptr, {-1920, 0, 0, 1080}, {-1920, 0, 0, 1040}, false}};
}

// Points myScreen at a manager for the test's duration.
class ScopedMyScreen {
public:
    explicit ScopedMyScreen(TmyScreen& screen) : saved_(ui::myScreen) { ui::myScreen = &screen; }
    ~ScopedMyScreen() { ui::myScreen = saved_; }

private:
    TmyScreen* saved_;
};

int ScreenDpiX() {
    base::WindowDC dc(nullptr);
    return ui::GetEffectiveDpi(dc.get()).first;
}

}  // namespace

TEST(ScreenMonitorManager, CreateReadsThePlatformScreen) {
    gui::Screen screen(TwoMonitors);
    screen.SetCursor(gui::kCursorHourGlass);
    TmyScreen my(screen);
    screen.SetCursor(gui::kCursorDefault);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(my.FScreen, &screen);
    EXPECT_EQ(my.FCursor, gui::kCursorHourGlass);
    EXPECT_EQ(my.MonitorCount, 2);
    EXPECT_EQ(my.WorkAreaWidth, work.right - work.left);
    EXPECT_EQ(my.WorkAreaHeight, work.bottom - work.top);
    EXPECT_EQ(my.Width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(my.Height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(my.Monitornumber, 0);
    EXPECT_EQ(my.ScaleKoef, 0.0);
    base::WindowDC dc(nullptr);
    EXPECT_EQ(my.PixelsPerInch, GetDeviceCaps(dc.get(), LOGPIXELSY));
}

TEST(ScreenMonitorManager, SelectChoosesTheMonitorOrFallsBackToTheFirst) {
    gui::Screen screen(TwoMonitors);
    TmyScreen my(screen);
    ScopedMyScreen scoped(my);
    const struct {
        uint8_t index;
        int number, width, height;
    } cases[] = {{1, 1, 1920, 1080}, {0, 0, 1280, 1024}, {2, 0, 1280, 1024}, {255, 0, 1280, 1024}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        my.PixelsPerInch = 144;
        ui::SelectScreenMonitor(c.index);
        EXPECT_EQ(my.Monitornumber, c.number);
        EXPECT_EQ(my.Width, c.width);
        EXPECT_EQ(my.Height, c.height);
        // The work-area fields take the monitor's full size.
        EXPECT_EQ(my.WorkAreaWidth, c.width);
        EXPECT_EQ(my.WorkAreaHeight, c.height);
        EXPECT_EQ(my.PixelsPerInch, 96);
        EXPECT_DOUBLE_EQ(my.ScaleKoef, ScreenDpiX() / 96.0);
        EXPECT_EQ(my.Monitors(my.Monitornumber).Left(), c.number == 1 ? -1920 : 0);
    }
}

TEST(ScreenMonitorManager, SelectOnTheRealDisplay) {
    TmyScreen my;
    ScopedMyScreen scoped(my);
    ui::SelectScreenMonitor(7);
    EXPECT_EQ(my.Monitornumber, 7 < my.FScreen->MonitorCount() ? 7 : 0);
    const Monitor first = gui::EnumMonitors().front();
    EXPECT_TRUE(first.primary);
    EXPECT_EQ(my.Width, first.Width());
    EXPECT_EQ(my.WorkAreaHeight, my.Height);
    EXPECT_EQ(my.PixelsPerInch, 96);
    EXPECT_GT(my.ScaleKoef, 0.0);
}

TEST(ScreenMonitorManager, MonitorsOutsideTheListRaiseTheListIndexError) {
    gui::Screen screen(TwoMonitors);
    TmyScreen my(screen);
    try {
        (void)my.GetMonitor(2);
        FAIL() << "no error";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (2)");
    }
}

TEST(ScreenMonitorManager, CursorIsStoredAndShown) {
    gui::Screen screen(TwoMonitors);
    TmyScreen my(screen);
    my.SetCursor(gui::kCursorHourGlass);
    EXPECT_EQ(my.Cursor(), gui::kCursorHourGlass);
    EXPECT_EQ(screen.Cursor(), gui::kCursorHourGlass);
    my.SetCursor(gui::kCursorDefault);
    EXPECT_EQ(my.Cursor(), gui::kCursorDefault);
}

TEST(ScreenMonitorManager, PrimaryMonitorIsListedFirst) {
    gui::Screen screen([] {
        std::vector<Monitor> m = TwoMonitors();
        std::swap(m[0], m[1]);
        return m;
    });
    // The order is the source's: the system enumeration puts the primary first itself.
    EXPECT_FALSE(screen.GetMonitor(0).primary);
    const std::vector<Monitor> real = gui::EnumMonitors();
    ASSERT_FALSE(real.empty());
    EXPECT_TRUE(real.front().primary);
    EXPECT_EQ(std::count_if(real.begin(), real.end(), [](const Monitor& m) { return m.primary; }), 1);
}

TEST(EffectiveDpi, ContextValuesOrDisplayModeRatio) {
    using Mode = std::optional<ui::DisplayModeSize>;
    const struct {
        const char* what;
        int logX, logY;
        Mode mode;
        int screenW, screenH;
        bool modeAsked;
        int dpiX, dpiY;
    } cases[] = {
        {"large fonts reported", 120, 120, ui::DisplayModeSize{1920, 1080}, 1920, 1080, false, 120, 120},
        {"scaled display", 96, 96, ui::DisplayModeSize{1920, 1080}, 1536, 864, true, 120, 120},
        {"mode and screen agree", 96, 96, ui::DisplayModeSize{1024, 768}, 1024, 768, true, 96, 96},
        {"only one direction above 96", 120, 96, ui::DisplayModeSize{1920, 1080}, 1536, 864, true, 120, 120},
        {"mode query fails", 96, 96, std::nullopt, 1536, 864, true, 96, 96},
        {"halves go to even", 96, 96, ui::DisplayModeSize{65, 67}, 64, 64, true, 98, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool asked = false;
        const auto dpi = ui::EffectiveDpi(
            c.logX, c.logY, [&] { return asked = true, c.mode; }, c.screenW, c.screenH);
        EXPECT_EQ(asked, c.modeAsked);
        EXPECT_EQ(dpi.first, c.dpiX);
        EXPECT_EQ(dpi.second, c.dpiY);
    }
}

TEST(EffectiveDpi, PlainDisplayGivesItsOwnPixelsPerInch) {
    base::WindowDC dc(nullptr);
    const auto dpi = ui::GetEffectiveDpi(dc.get());
    if (GetDeviceCaps(dc.get(), LOGPIXELSX) == 96) {
        EXPECT_EQ(dpi.first, 96);
        EXPECT_EQ(dpi.second, 96);
    }
}
