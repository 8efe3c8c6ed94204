#include "gui/Bitmap32.h"

#include <algorithm>

namespace gui {

BITMAPINFO TopDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Bitmap32::Bitmap32(int width, int height, Pixel32 fill) {
    SetSize(width, height, fill);
}

void Bitmap32::SetSize(int width, int height, Pixel32 fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * height_, fill);
}

void Bitmap32::Fill(Pixel32 fill) {
    std::fill(pixels_.begin(), pixels_.end(), fill);
}

void Bitmap32::Draw(int x, int y, const Bitmap32& src) {
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + src.width_, width_), bottom = std::min(y + src.height_, height_);
    if (left >= right || top >= bottom) return;
    const size_t count = static_cast<size_t>(right - left);
    for (int row = top; row < bottom; ++row) {
        const Pixel32* from = &src.pixels_[static_cast<size_t>(row - y) * src.width_ + (left - x)];
        std::copy_n(from, count, &pixels_[static_cast<size_t>(row) * width_ + left]);
    }
}

void Bitmap32::PaintTo(HDC dc, int x, int y) const {
    if (pixels_.empty()) return;
    const BITMAPINFO info = TopDownDibInfo(width_, height_);
    ::SetDIBitsToDevice(dc, x, y, width_, height_, 0, 0, 0, height_, pixels_.data(), &info, DIB_RGB_COLORS);
}

void Bitmap32::StretchTo(HDC dc, int x, int y, int width, int height) const {
    if (pixels_.empty()) return;
    const BITMAPINFO info = TopDownDibInfo(width_, height_);
    ::StretchDIBits(dc, x, y, width, height, 0, 0, width_, height_, pixels_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace gui
