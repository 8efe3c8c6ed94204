#pragma once
// 32-bit ARGB bitmap: pixels in memory, top row first, drawn opaquely onto one
// another (a draw replaces the destination pixels, clipped to the destination).
#include <windows.h>

#include <cstdint>
#include <vector>

namespace gui {

// One pixel as it lies in memory (B, G, R, A), the layout of a 32-bit DIB.
struct Pixel32 {
    uint8_t b, g, r, a;
};
static_assert(sizeof(Pixel32) == 4, "a pixel is one 32-bit word");

// Window colour 0x00BBGGRR from an ARGB pixel: alpha dropped, red and blue exchanged.
inline COLORREF PixelToColor(Pixel32 p) {
    return RGB(p.r, p.g, p.b);
}

// Header of a top-down 32-bit DIB of the given size.
BITMAPINFO TopDownDibInfo(int width, int height);

class Bitmap32 {
public:
    Bitmap32() = default;
    Bitmap32(int width, int height, Pixel32 fill = {0, 0, 0, 0xFF});

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height, Pixel32 fill = {0, 0, 0, 0xFF});
    void Fill(Pixel32 fill);
    Pixel32& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    Pixel32 At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    Pixel32* Data() { return pixels_.data(); }
    const Pixel32* Data() const { return pixels_.data(); }

    // Draws the whole of src with its top-left corner at (x, y), opaquely, clipped.
    void Draw(int x, int y, const Bitmap32& src);
    // Copies the pixels to a device context at (x, y).
    void PaintTo(HDC dc, int x, int y) const;
    // Copies the pixels scaled to the rectangle (x, y, width, height) of a device context.
    void StretchTo(HDC dc, int x, int y, int width, int height) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<Pixel32> pixels_;
};

}  // namespace gui
