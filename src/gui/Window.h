#pragma once
// Base of every child control: a real child window of a standard class (or of
// the container class below), subclassed so that its object sees its messages.
// Parents hand the notifications about a child (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_CTLCOLOR*) back to the child's object.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>  // CLR_DEFAULT, CLR_INVALID

#include <string>

#include "base/Handles.h"

namespace gui {

// A rectangle as left/top/width/height. The Take* members cut a docked strip
// off one side and return it, so a layout reads like "bottom panel 37 high".
struct Box {
    int left = 0, top = 0, width = 0, height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    Box TakeTop(int h);
    Box TakeBottom(int h);
    Box TakeLeft(int w);
    Box TakeRight(int w);
};

// Hands the exception in flight to the application's standard error report.
void ReportCurrentException() noexcept;

// Runs an event handler where no exception may escape (window, dialog and
// timer procedures); an error goes to the standard error report.
template <typename F>
void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        ReportCurrentException();
    }
}

class Control;

// The window a control is created in: a form's handle or another control.
struct ParentRef {
    ParentRef(HWND wnd) : hwnd(wnd) {}
    ParentRef(const Control& control);
    HWND hwnd;
};

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND Handle() const { return hwnd_; }
    static Control* FromHandle(HWND wnd);

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    Box Bounds() const;  // in the parent's client coordinates
    virtual void SetBounds(const Box& box);
    Box ClientArea() const;  // 0, 0, client width, client height
    int Width() const { return Bounds().width; }
    int Height() const { return Bounds().height; }
    bool Visible() const;  // the control's own visibility flag
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    bool Focused() const;
    HFONT Font() const;
    virtual void SetFont(HFONT font);
    void Invalidate();

    // Background colour (CLR_INVALID: the class paints its own). Containers hand
    // theirs on to the children that take their parent's colour.
    COLORREF Color() const { return color_; }
    virtual void SetColor(COLORREF color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor) { parentColor_ = parentColor; }
    HBRUSH Brush() const { return static_cast<HBRUSH>(brush_.get()); }

    // A notification the parent received about this control; true when handled.
    virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    struct CreateParams {
        const wchar_t* className;
        HWND parent;
        std::wstring text;
        DWORD style;
        DWORD exStyle;
        Box bounds;
        HFONT font;  // nullptr: the parent's font
    };
    void CreateHandle(const CreateParams& p);
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Colours a child's background for WM_CTLCOLOR*: own colour, else none.
    bool ColorChild(HDC dc, LRESULT& result, COLORREF textColor = CLR_INVALID) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);

    HWND hwnd_ = nullptr;
    COLORREF color_ = CLR_INVALID;
    base::GdiObject brush_;
    bool parentColor_ = true;
};

// Hands a notification a window received to the child object it concerns.
bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Class of the program's own containers (panels, pages, the page control, the
// backdrop paint box). Not "Static": the standard classes draw with their
// parent's clip region (CS_PARENTDC), which would let a container paint over
// its own children and its siblings.
const wchar_t* ContainerClass();

}  // namespace gui
