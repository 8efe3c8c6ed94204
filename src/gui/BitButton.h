#pragma once
// Push button with a two-state picture (enabled and disabled looks), a flat
// rounded face, a coloured frame and hot tracking. A standard "Button" window
// (owner-drawn) whose caption is its window text.
#include <functional>
#include <string>

#include "gui/ImageList.h"
#include "gui/Window.h"

namespace gui {

struct BitButtonColors {
    COLORREF face = RGB(244, 244, 240);
    COLORREF frame = RGB(0, 60, 116);
    COLORREF hotTrack = RGB(255, 199, 60);
    COLORREF highlight = CLR_DEFAULT;  // focus ring; CLR_DEFAULT: the system's highlight colour
};

struct BitButtonArgs {
    std::wstring caption;
    Box bounds;
    const ImageList* images = nullptr;
    int imageIndex = -1;  // the enabled look; the disabled look is the next image
    BitButtonColors colors;
    int spacing = 4;  // between picture and caption
    std::function<void()> onClick;
};

class BitButton : public Control {
public:
    void Create(ParentRef parent, const BitButtonArgs& args);
    // Runs the click handler as a press of the button would, also when it is hidden.
    void Click();
    std::function<void()> OnClick;

    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    enum class Look { Disabled, Pressed, Hot, Focused, Normal };
    void Draw(const DRAWITEMSTRUCT& item) const;
    void DrawFace(HDC dc, const RECT& r, Look look) const;
    void DrawContent(HDC dc, const RECT& r, Look look) const;

    const ImageList* images_ = nullptr;
    int imageIndex_ = -1;
    BitButtonColors colors_;
    int spacing_ = 4;
    bool hot_ = false;
};

}  // namespace gui
