#include "gui/ImageList.h"

#include "gui/Bitmap32.h"
#include "gui/Png.h"

namespace gui {

namespace {

bool LoadPngKeepingAlpha(const wchar_t* name, Bitmap32& bmp) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, name, RT_RCDATA);
    const HGLOBAL loaded = info ? ::LoadResource(module, info) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data && DecodePng(data, ::SizeofResource(module, info), bmp);
}

// One picture cut out of the strip as a top-down DIB with premultiplied alpha,
// the form AlphaBlend wants.
HBITMAP CutPremultiplied(const Bitmap32& strip, int left, int size) {
    BITMAPINFO info = TopDownDibInfo(size, size);
    void* bits = nullptr;
    const HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return nullptr;
    auto* out = static_cast<Pixel32*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Pixel32 p = (x + left < strip.Width() && y < strip.Height()) ? strip.At(x + left, y) : Pixel32{};
            p.r = static_cast<uint8_t>(p.r * p.a / 255);
            p.g = static_cast<uint8_t>(p.g * p.a / 255);
            p.b = static_cast<uint8_t>(p.b * p.a / 255);
            out[y * size + x] = p;
        }
    return dib;
}

}  // namespace

int ImageList::AddStrip(const wchar_t* resourceName) {
    Bitmap32 strip;
    if (!LoadPngKeepingAlpha(resourceName, strip)) return -1;
    const int first = Count();
    for (int left = 0; left + size_ <= strip.Width(); left += size_)
        images_.emplace_back(CutPremultiplied(strip, left, size_));
    return first;
}

void ImageList::Draw(HDC dc, int index, int x, int y) const {
    if (index < 0 || index >= Count() || !images_[static_cast<size_t>(index)]) return;
    const HDC mem = ::CreateCompatibleDC(dc);
    const HGDIOBJ old = ::SelectObject(mem, images_[static_cast<size_t>(index)].get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dc, x, y, size_, size_, mem, 0, 0, size_, size_, blend);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

}  // namespace gui
