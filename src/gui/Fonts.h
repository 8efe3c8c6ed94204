#pragma once
// Fonts by face and pixel height, created once and kept for the process.
#include <windows.h>

namespace gui {

struct FontStyle {
    const wchar_t* face;
    int height;  // character height in pixels
    BYTE charset = DEFAULT_CHARSET;
    bool bold = false;
};

HFONT GetFont(const FontStyle& style);
// Character height in pixels of a size in points at the display's logical pixels per inch.
int PointsToPixels(int points);

namespace colors {
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kNavy = RGB(0, 0, 128);
inline constexpr COLORREF kMaroon = RGB(128, 0, 0);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
}  // namespace colors

}  // namespace gui
