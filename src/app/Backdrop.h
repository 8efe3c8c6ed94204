#pragma once
// The main window's painted backdrop: texture, rounded title band with logo and
// title art, and the picture of the two frames that hold the working controls.
#include "gui/Bitmap32.h"

namespace app {

// The seven pictures, loaded once at window creation, all opaque.
struct BackdropImages {
    gui::Bitmap32 bg, panels, logo, titleL, titleR, titleM, title;
};

struct Bounds {
    int left, top, width, height;
};
// Where the information panel and the page control sit inside the frames.
inline constexpr Bounds kRichEditBounds{16, 110, 282, 441};
inline constexpr Bounds kPagesBounds{320, 110, 619, 441};

// Sizes buffer to w x h and composes the whole backdrop into it. Sizes of the
// pieces come from the bitmaps; every draw is opaque, so later steps cover earlier ones.
void ComposeBackdrop(gui::Bitmap32& buffer, int w, int h, const BackdropImages& im);

}  // namespace app
