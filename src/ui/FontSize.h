#pragma once
// The display's font-size check, the switch to large fonts and the restart.
#include <windows.h>

#include <cstdint>

namespace ui {

// true when the screen's horizontal logical resolution is below 100 pixels per inch.
bool IsSmallFonts();
// Asks the system setup library (from the system folder only) for 120 dpi; success is not reported.
void SwitchToLargeFonts(HWND owner = nullptr);
// Enables the shutdown privilege and calls ExitWindowsEx(flags, 0).
bool RestartWindows(uint32_t flags);

}  // namespace ui
