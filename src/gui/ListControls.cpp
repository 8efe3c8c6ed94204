#include "gui/ListControls.h"

#include <commctrl.h>

namespace gui {

// ---- ListBox

void ListBox::Create(ParentRef parent, const ListBoxArgs& args) {
    frame_.hotColor = args.hotFrameColor;
    SetParentColor(false);
    CreateHandle({L"ListBox", parent.hwnd, L"",
                  (args.visible ? WS_VISIBLE : 0u) | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, args.bounds,
                  args.font});
    if (args.itemHeight > 0) ::SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, args.itemHeight);
}

void ListBox::Clear() {
    ::SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

int ListBox::Add(const std::wstring& text) {
    return static_cast<int>(::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

std::wstring ListBox::Item(int index) const {
    const LRESULT length = ::SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void ListBox::SetItem(int index, const std::wstring& text) {
    const LRESULT top = ::SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0);
    ::SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(Handle(), LB_DELETESTRING, index, 0);
    ::SendMessageW(Handle(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(Handle(), LB_SETTOPINDEX, top, 0);
    ::SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

int ListBox::Count() const {
    return static_cast<int>(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

std::vector<std::wstring> ListBox::Items() const {
    std::vector<std::wstring> items;
    for (int i = 0, n = Count(); i < n; ++i) items.push_back(Item(i));
    return items;
}

void ListBox::ScrollTo(int index) {
    ::SendMessageW(Handle(), LB_SETTOPINDEX, index, 0);
}

LRESULT ListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    frame_.Track(Handle(), msg);
    switch (msg) {
        case WM_SETFOCUS: {
            // The list never holds the keyboard focus: it goes back where it came from.
            const auto previous = reinterpret_cast<HWND>(wp);
            if (previous && previous != Handle() && ::IsWindow(previous)) ::SetFocus(previous);
            return 0;
        }
        case WM_NCPAINT: {
            const LRESULT result = Control::WndProc(msg, wp, lp);
            frame_.Paint(Handle());
            return result;
        }
        default:
            break;
    }
    return Control::WndProc(msg, wp, lp);
}

// ---- ComboBox

void ComboBox::Create(ParentRef parent, const ComboBoxArgs& args) {
    SetParentColor(false);
    Box dropped = args.bounds;
    dropped.height += 120;  // the height of a drop-down list includes its open list
    CreateHandle({L"ComboBox", parent.hwnd, L"",
                  (args.visible ? WS_VISIBLE : 0u) | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, dropped, nullptr});
    for (const std::wstring& item : args.items)
        ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SetItemIndex(args.itemIndex);
}

int ComboBox::ItemIndex() const {
    return static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
    ::SendMessageW(Handle(), CB_SETCURSEL, index, 0);
}

std::vector<std::wstring> ComboBox::Items() const {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(Handle(), CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(
            static_cast<size_t>(::SendMessageW(Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

// ---- CheckBox

void CheckBox::Create(ParentRef parent, const CheckBoxArgs& args) {
    CreateHandle(
        {L"Button", parent.hwnd, args.caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, args.bounds, nullptr});
    SetChecked(args.checked);
}

bool CheckBox::Checked() const {
    return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// ---- ProgressBar

void ProgressBar::Create(ParentRef parent, const ProgressBarArgs& args) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
    CreateHandle(
        {PROGRESS_CLASSW, parent.hwnd, L"", WS_VISIBLE | (args.smooth ? PBS_SMOOTH : 0u), 0, args.bounds, nullptr});
    ::SendMessageW(Handle(), PBM_SETRANGE32, args.min, args.max);
    ::SendMessageW(Handle(), PBM_SETSTEP, args.step, 0);
}

int ProgressBar::Position() const {
    return static_cast<int>(::SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void ProgressBar::SetPosition(int position) {
    ::SendMessageW(Handle(), PBM_SETPOS, position, 0);
}

void ProgressBar::StepIt() {
    ::SendMessageW(Handle(), PBM_STEPIT, 0, 0);
}

}  // namespace gui
