// Composition of the main window's backdrop from its seven pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Backdrop.h"
#include "base/Handles.h"
#include "gui/Png.h"

using app::BackdropImages;
using gui::Bitmap32;
using gui::Pixel32;

namespace {

enum Piece : uint8_t { kTexture = 1, kLeftEnd, kMiddle, kRightEnd, kLogo, kTitle, kPanels };

// Every pixel names its picture (red) and its place in it (blue = x, green = y, low bytes),
// so a wrong picture, offset, flip or stretch shows up in any pixel.
Bitmap32 Synthetic(Piece piece, int width, int height) {
    Bitmap32 bmp(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bmp.At(x, y) = {static_cast<uint8_t>(x), static_cast<uint8_t>(y), piece, 0xFF};
    return bmp;
}

BackdropImages SyntheticImages() {
    return {Synthetic(kTexture, 128, 128), Synthetic(kPanels, 958, 472),  Synthetic(kLogo, 72, 70),
            Synthetic(kLeftEnd, 22, 100),  Synthetic(kRightEnd, 22, 100), Synthetic(kMiddle, 1, 100),
            Synthetic(kTitle, 500, 66)};
}

// Where each piece lands for one box size; the numbers are worked out by hand.
struct Layout {
    int w, h;
    int rightEnd;    // left edge of the band's right end
    int middleLast;  // last middle column (none when below 22)
    int titleLeft;
};

struct Placed {
    Piece piece;
    int left, top, right, bottom;  // inclusive, before clipping
    int originX, originY;          // where the picture's (0, 0) lies; middle columns all have local x 0
};

Pixel32 Expected(const Layout& l, int x, int y) {
    const Placed placed[] = {
        // In drawing order: later entries cover earlier ones.
        {kLeftEnd, 0, 0, 21, 99, 0, 0},
        {kRightEnd, l.rightEnd, 0, l.rightEnd + 21, 99, l.rightEnd, 0},
        {kMiddle, 22, 0, l.middleLast, 99, x, 0},
        {kLogo, 17, 15, 88, 84, 17, 15},
        {kTitle, l.titleLeft, 20, l.titleLeft + 499, 85, l.titleLeft, 20},
        {kPanels, -3, 95, 954, 566, -3, 95},
    };
    Pixel32 p{static_cast<uint8_t>(x % 128), static_cast<uint8_t>(y % 128), kTexture, 0xFF};
    for (const Placed& e : placed)
        if (x >= e.left && x <= e.right && y >= e.top && y <= e.bottom)
            p = {static_cast<uint8_t>(x - e.originX), static_cast<uint8_t>(y - e.originY), e.piece, 0xFF};
    return p;
}

// Number of pixels that differ from the layout, with the first few described.
int Mismatches(const Bitmap32& buffer, const Layout& l, std::string& report) {
    int count = 0;
    for (int y = 0; y < l.h; ++y)
        for (int x = 0; x < l.w; ++x) {
            const Pixel32 got = buffer.At(x, y), want = Expected(l, x, y);
            if (got.r == want.r && got.g == want.g && got.b == want.b && got.a == want.a) continue;
            if (++count <= 5)
                report += "(" + std::to_string(x) + "," + std::to_string(y) + ") piece " + std::to_string(got.r) +
                          " local " + std::to_string(got.b) + "," + std::to_string(got.g) + " want piece " +
                          std::to_string(want.r) + " local " + std::to_string(want.b) + "," + std::to_string(want.g) +
                          "\n";
        }
    return count;
}

}  // namespace

TEST(Backdrop, ComposesTheLayoutPixelForPixel) {
    const Layout layouts[] = {
        {954, 579, 932, 931, 227},     // the window's client size
        {955, 579, 933, 932, 227},     // 227.5 truncated
        {1200, 700, 1178, 1177, 350},  // wider and taller: more texture below the frames
        {700, 579, 678, 677, 100},     // narrower: frames and title clipped
        {45, 579, 23, 22, -227},       // one middle column; -227.5 truncated toward zero
        {44, 120, 22, 21, -228},       // the two ends touch, no middle column
        {31, 579, 9, 8, -234},         // right end overlaps the left end; -234.5 truncated toward zero
    };
    const BackdropImages images = SyntheticImages();
    for (const Layout& l : layouts) {
        SCOPED_TRACE(std::to_string(l.w) + "x" + std::to_string(l.h));
        Bitmap32 buffer;
        app::ComposeBackdrop(buffer, l.w, l.h, images);
        ASSERT_EQ(buffer.Width(), l.w);
        ASSERT_EQ(buffer.Height(), l.h);
        std::string report;
        EXPECT_EQ(Mismatches(buffer, l, report), 0) << report;
    }
}

TEST(Backdrop, DesignedSizeShowsTextureOnlyBelowTheFrames) {
    Bitmap32 buffer;
    app::ComposeBackdrop(buffer, 954, 579, SyntheticImages());
    for (int x = 0; x < 954; ++x) {
        EXPECT_EQ(buffer.At(x, 566).r, kPanels) << x;
        for (int y = 567; y < 579; ++y) ASSERT_EQ(buffer.At(x, y).r, kTexture) << x << "," << y;
    }
    // Frames picture: column 0 of the window is column 3 of the picture, column 953 is 956.
    EXPECT_EQ(buffer.At(0, 95).b, 3);
    EXPECT_EQ(buffer.At(953, 95).b, static_cast<uint8_t>(956));
    // The tile starting on row 512 is the last one; the one at 896 the last column.
    EXPECT_EQ(buffer.At(953, 578).b, 953 - 896);
    EXPECT_EQ(buffer.At(953, 578).g, 578 - 512);
}

TEST(Backdrop, RecomposingAtAnotherSizeLeavesNothingStale) {
    const BackdropImages images = SyntheticImages();
    Bitmap32 reused, fresh;
    app::ComposeBackdrop(reused, 1200, 700, images);
    app::ComposeBackdrop(reused, 954, 579, images);
    app::ComposeBackdrop(fresh, 954, 579, images);
    ASSERT_EQ(reused.Width(), 954);
    EXPECT_TRUE(std::equal(reused.Data(), reused.Data() + 954 * 579, fresh.Data(),
                           [](Pixel32 a, Pixel32 b) { return a.b == b.b && a.g == b.g && a.r == b.r && a.a == b.a; }));
}

TEST(Backdrop, ShippedFramesHoldTheControlsOnThePanelColour) {
    BackdropImages im;
    const std::pair<Bitmap32*, const wchar_t*> pictures[] = {
        {&im.bg, L"BACKGROUND"},      {&im.panels, L"MAIN"},        {&im.logo, L"LOGO"},   {&im.titleL, L"TITLE_PNL_L"},
        {&im.titleR, L"TITLE_PNL_R"}, {&im.titleM, L"TITLE_PNL_M"}, {&im.title, L"TITLE"},
    };
    for (const auto& [bmp, name] : pictures) ASSERT_TRUE(gui::LoadPngResource(*bmp, name));
    Bitmap32 buffer;
    app::ComposeBackdrop(buffer, 954, 579, im);

    const Pixel32 panel = im.title.At(0, 0);
    for (const app::Bounds& b : {app::kRichEditBounds, app::kPagesBounds}) {
        int off = 0;
        for (int y = b.top; y < b.top + b.height; ++y)
            for (int x = b.left; x < b.left + b.width; ++x) {
                const Pixel32 p = buffer.At(x, y);
                off += p.r != panel.r || p.g != panel.g || p.b != panel.b;
            }
        EXPECT_EQ(off, 0) << "control at " << b.left << "," << b.top;
    }
    EXPECT_LT(app::kRichEditBounds.left + app::kRichEditBounds.width, app::kPagesBounds.left);
    EXPECT_LE(app::kPagesBounds.left + app::kPagesBounds.width, 954);
    EXPECT_LE(app::kPagesBounds.top + app::kPagesBounds.height, 567);
}

namespace {

// A 32-bit top-down DIB section selected into a memory context, to see what reaches a device.
class DeviceCanvas {
public:
    DeviceCanvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<Pixel32*>(bits);
        std::fill_n(bits_, width * height, Pixel32{1, 1, 1, 0});
        old_ = SelectObject(dc_, bitmap_.get());
    }
    ~DeviceCanvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    Pixel32 At(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x];
    }

private:
    int width_;
    HDC dc_;
    base::GdiObject bitmap_;
    Pixel32* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

bool SameColour(Pixel32 a, Pixel32 b) {
    return a.b == b.b && a.g == b.g && a.r == b.r;
}

}  // namespace

TEST(Bitmap32, DrawReplacesPixelsClippedOnEverySide) {
    const Bitmap32 src = Synthetic(kLogo, 4, 3);
    const struct { int x, y; } places[] = {{0, 0}, {3, 2}, {-2, -1}, {8, 6}, {-3, 4}, {9, -2}, {-4, 0}, {10, 7}};
    for (const auto& at : places) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        Bitmap32 dst(10, 7, {9, 9, 9, 0x80});
        dst.Draw(at.x, at.y, src);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= at.x && x < at.x + 4 && y >= at.y && y < at.y + 3;
                const Pixel32 want = inside ? src.At(x - at.x, y - at.y) : Pixel32{9, 9, 9, 0x80};
                const Pixel32 got = dst.At(x, y);
                ASSERT_TRUE(got.b == want.b && got.g == want.g && got.r == want.r && got.a == want.a) << x << "," << y;
            }
    }
}

TEST(Bitmap32, PaintToCopiesTopRowFirst) {
    const Bitmap32 bmp = Synthetic(kTitle, 5, 4);
    DeviceCanvas canvas(12, 10);
    bmp.PaintTo(canvas.dc(), 3, 2);
    EXPECT_TRUE(SameColour(canvas.At(3, 2), bmp.At(0, 0)));
    EXPECT_TRUE(SameColour(canvas.At(7, 5), bmp.At(4, 3)));
    EXPECT_TRUE(SameColour(canvas.At(4, 2), bmp.At(1, 0)));
    EXPECT_TRUE(SameColour(canvas.At(2, 2), {1, 1, 1, 0}));
    EXPECT_TRUE(SameColour(canvas.At(8, 6), {1, 1, 1, 0}));
}

TEST(Bitmap32, StretchToScalesIntoTheRectangle) {
    const Bitmap32 bmp = Synthetic(kPanels, 2, 2);
    DeviceCanvas canvas(8, 8);
    bmp.StretchTo(canvas.dc(), 2, 2, 4, 4);
    EXPECT_TRUE(SameColour(canvas.At(2, 2), bmp.At(0, 0)));
    EXPECT_TRUE(SameColour(canvas.At(3, 3), bmp.At(0, 0)));
    EXPECT_TRUE(SameColour(canvas.At(5, 5), bmp.At(1, 1)));
    EXPECT_TRUE(SameColour(canvas.At(4, 2), bmp.At(1, 0)));
    EXPECT_TRUE(SameColour(canvas.At(6, 6), {1, 1, 1, 0}));
}
