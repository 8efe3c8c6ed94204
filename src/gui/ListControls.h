#pragma once
// List box (fixed row height, lighting frame, never takes the focus), drop-down
// list, check box and progress bar.
#include <functional>
#include <string>
#include <vector>

#include "gui/HotFrame.h"
#include "gui/Window.h"

namespace gui {

struct ListBoxArgs {
    Box bounds;
    int itemHeight = 0;  // 0: the class's own
    COLORREF hotFrameColor = RGB(0, 128, 255);
    bool visible = true;
    HFONT font = nullptr;
};

class ListBox : public Control {
public:
    void Create(ParentRef parent, const ListBoxArgs& args);
    void Clear();
    // Adds a line at the end; returns its index.
    int Add(const std::wstring& text);
    std::wstring Item(int index) const;
    void SetItem(int index, const std::wstring& text);
    int Count() const;
    std::vector<std::wstring> Items() const;
    // Scrolls so that the line is in view (as near the top as the list allows).
    void ScrollTo(int index);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HotFrame frame_;
};

struct ComboBoxArgs {
    std::vector<std::wstring> items;
    int itemIndex = -1;
    Box bounds;
    bool visible = true;
};

// Drop-down list (no typing).
class ComboBox : public Control {
public:
    void Create(ParentRef parent, const ComboBoxArgs& args);
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::vector<std::wstring> Items() const;
};

struct CheckBoxArgs {
    std::wstring caption;
    Box bounds;
    bool checked = false;
};

class CheckBox : public Control {
public:
    void Create(ParentRef parent, const CheckBoxArgs& args);
    bool Checked() const;
    void SetChecked(bool checked);
};

struct ProgressBarArgs {
    Box bounds;
    int min = 0, max = 100, step = 10;
    bool smooth = false;
};

class ProgressBar : public Control {
public:
    void Create(ParentRef parent, const ProgressBarArgs& args);
    int Position() const;
    void SetPosition(int position);
    // Advances by one step; past the maximum the bar starts over from its beginning.
    void StepIt();
};

}  // namespace gui
