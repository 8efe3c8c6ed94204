#pragma once
// Text controls: labels (owner-drawn "Static", optionally word-wrapping with a
// height that follows the text), read-only memos, the single-line edit with a
// lighting frame and the read-only rich-text view.
#include <string>
#include <vector>

#include "gui/HotFrame.h"
#include "gui/Window.h"

namespace gui {

enum class TextAlign { Left, Center, Right };

struct LabelArgs {
    std::wstring caption;
    Box bounds;
    bool wordWrap = false;
    TextAlign align = TextAlign::Left;
    bool centerVertically = false;
    COLORREF textColor = CLR_DEFAULT;
    HFONT font = nullptr;
    bool visible = true;
};

class Label : public Control {
public:
    void Create(ParentRef parent, const LabelArgs& args);
    // Height of the text when wrapped at the current width (one line when not wrapping).
    int TextHeight() const;
    int TextWidth() const;
    // Sets the height to the text's height; returns it.
    int FitHeight();
    void SetTextColor(COLORREF color);

    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    UINT DrawFlags() const;
    void Draw(const DRAWITEMSTRUCT& item) const;

    bool wordWrap_ = false;
    TextAlign align_ = TextAlign::Left;
    bool centerVertically_ = false;
    COLORREF textColor_ = CLR_DEFAULT;
};

struct MemoArgs {
    std::vector<std::wstring> lines;  // joined with hard line breaks (CR LF)
    Box bounds;
    COLORREF textColor = CLR_DEFAULT;
    HFONT font = nullptr;
};

// Read-only, borderless multi-line text taking its parent's colour.
class Memo : public Control {
public:
    void Create(ParentRef parent, const MemoArgs& args);
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    COLORREF textColor_ = CLR_DEFAULT;
};

std::wstring JoinLines(const std::vector<std::wstring>& lines, const std::wstring& separator = L"\r\n");

struct EditArgs {
    std::wstring text;
    Box bounds;
    HFONT font = nullptr;
    COLORREF hotFrameColor = RGB(0, 128, 255);
};

// Single-line edit with a lighting frame; the text sits vertically centred.
class Edit : public Control {
public:
    void Create(ParentRef parent, const EditArgs& args);
    void SetFont(HFONT font) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void PaintNonClient() const;
    HotFrame frame_;
};

struct RichEditArgs {
    Box bounds;
    int innerBorder = 0;  // space between the border and the text, all round
    HFONT font = nullptr;
};

// Read-only rich-text view ("RICHEDIT50W" from the system folder's library).
class RichEdit : public Control {
public:
    void Create(ParentRef parent, const RichEditArgs& args);
    // Replaces the content with an RTF document.
    void LoadRtf(const std::string& rtf);
    void SetColor(COLORREF color) override;
    bool ReadOnly() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyInnerBorder();
    int innerBorder_ = 0;
};

}  // namespace gui
