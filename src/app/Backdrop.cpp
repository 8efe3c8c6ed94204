#include "app/Backdrop.h"

namespace app {

namespace {

void TileTexture(gui::Bitmap32& buffer, int w, int h, const gui::Bitmap32& tile) {
    if (tile.Width() <= 0 || tile.Height() <= 0) return;
    // A tile starting exactly on the right or bottom edge is drawn too (and clipped away).
    for (int y = 0; y <= h; y += tile.Height())
        for (int x = 0; x <= w; x += tile.Width()) buffer.Draw(x, y, tile);
}

void DrawTitleBand(gui::Bitmap32& buffer, int w, const BackdropImages& im) {
    const int wl = im.titleL.Width(), wr = im.titleR.Width();
    buffer.Draw(0, 0, im.titleL);
    buffer.Draw(w - wr, 0, im.titleR);
    for (int x = wl; x <= w - wr - 1; ++x) buffer.Draw(x, 0, im.titleM);
}

}  // namespace

void ComposeBackdrop(gui::Bitmap32& buffer, int w, int h, const BackdropImages& im) {
    if (buffer.Width() != w || buffer.Height() != h) buffer.SetSize(w, h);
    TileTexture(buffer, w, h, im.bg);
    DrawTitleBand(buffer, w, im);
    buffer.Draw(im.titleL.Width() - 5, 15, im.logo);
    buffer.Draw((w - im.title.Width()) / 2, 20, im.title);  // C++ division truncates toward zero
    buffer.Draw(-3, 95, im.panels);
}

}  // namespace app
