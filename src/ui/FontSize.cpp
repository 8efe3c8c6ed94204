#include "ui/FontSize.h"

namespace ui {

bool IsSmallFonts() { return false; }
void SwitchToLargeFonts(HWND) {}
bool RestartWindows(uint32_t) { return false; }

}  // namespace ui
