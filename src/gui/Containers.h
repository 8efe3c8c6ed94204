#pragma once
// Containers: panels (optionally with a flat rounded border), a page control
// whose tabs are never shown (one page visible at a time) and the buffered
// paint box of a backdrop.
#include <functional>
#include <string>
#include <vector>

#include "gui/Bitmap32.h"
#include "gui/Window.h"

namespace gui {

enum class PanelBorder { None, FlatRounded };

struct PanelArgs {
    std::wstring text;  // not drawn; names the panel for people and tools
    Box bounds;
    HFONT font = nullptr;  // nullptr: the parent's font, handed on to the children
    PanelBorder border = PanelBorder::None;
    COLORREF borderColor = CLR_DEFAULT;  // CLR_DEFAULT: the system's button shadow
    bool visible = true;
};

class Panel : public Control {
public:
    void Create(ParentRef parent, const PanelArgs& args);
    void SetBorderColor(COLORREF color);
    COLORREF BorderColor() const { return borderColor_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc) const;

    PanelBorder border_ = PanelBorder::None;
    COLORREF borderColor_ = CLR_DEFAULT;
    HFONT font_ = nullptr;
};

class Page : public Panel {
public:
    // Runs each time the page becomes the visible one.
    std::function<void()> OnShow;
};

class PageControl : public Panel {
public:
    // Creates the page filling the control, hidden; its window text is its name.
    void AddPage(Page& page, const std::wstring& name);
    // Makes the page the only visible one, then runs its OnShow.
    void SetActivePage(Page& page);
    Page* ActivePage() const { return active_; }
    const std::vector<Page*>& Pages() const { return pages_; }
    void SetBounds(const Box& box) override;

private:
    std::vector<Page*> pages_;
    Page* active_ = nullptr;
};

// A box that owns a 32-bit picture of its own size: OnResize composes into
// the buffer, painting only copies it.
class PaintBox : public Control {
public:
    void Create(ParentRef parent, const Box& bounds, std::function<void()> onResize);
    Bitmap32& Buffer() { return buffer_; }
    // Paints the buffer at once.
    void Repaint();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Bitmap32 buffer_;
    std::function<void()> onResize_;
};

}  // namespace gui
