#include "gui/Dialogs.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/Handles.h"

namespace gui {

namespace {

constexpr int kIconId = 100;
constexpr int kTextId = 101;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

struct DialogButton {
    int id;
    const wchar_t* text;
};

std::vector<DialogButton> ButtonsOf(MsgDlgButtons buttons) {
    if (buttons == MsgDlgButtons::YesNo) return {{IDYES, L"Yes"}, {IDNO, L"No"}};
    return {{IDOK, L"OK"}};
}

const wchar_t* IconOf(MsgDlgType type) {
    switch (type) {
        case MsgDlgType::Warning:
            return IDI_WARNING;
        case MsgDlgType::Error:
            return IDI_ERROR;
        case MsgDlgType::Confirmation:
            return IDI_QUESTION;
        case MsgDlgType::Information:
            break;
    }
    return IDI_INFORMATION;
}

// Writer of an in-memory dialog template: DLGTEMPLATE, then DWORD-aligned items.
class TemplateWriter {
public:
    void Header(DWORD style, WORD items, const std::wstring& caption) {
        Dword(style);
        Dword(0);  // extended style
        Word(items);
        for (int i = 0; i < 4; ++i) Word(0);  // x, y, cx, cy: laid out in pixels at WM_INITDIALOG
        Word(0);                              // no menu
        Word(0);                              // the dialog class
        String(caption);
    }
    void Item(DWORD style, WORD id, WORD classAtom, const std::wstring& text) {
        if (words_.size() % 2) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (int i = 0; i < 4; ++i) Word(0);
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        String(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void String(const std::wstring& s) {
        for (wchar_t c : s) Word(static_cast<WORD>(c));
        Word(0);
    }
    std::vector<WORD> words_;
};

struct DialogState {
    const MessageRequest* request;
    std::vector<DialogButton> buttons;
};

HFONT MessageFont() {
    static const base::GdiObject font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return base::GdiObject(::CreateFontIndirectW(&metrics.lfMessageFont));
    }();
    return static_cast<HFONT>(font.get());
}

SIZE MeasureText(HWND wnd, HFONT font, const std::wstring& text) {
    base::WindowDC dc(wnd);
    const HGDIOBJ old = ::SelectObject(dc.get(), font);
    RECT r{0, 0, ::GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(dc.get(), old);
    return SIZE{r.right, r.bottom};
}

// Lays the dialog out in pixels: icon at the left, text beside it, the buttons
// centred below, the whole centred on the screen.
void LayOut(HWND dlg, const DialogState& state) {
    const HFONT font = MessageFont();
    for (HWND child = ::GetWindow(dlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const int iconSize = ::GetSystemMetrics(SM_CXICON);
    ::SendDlgItemMessageW(dlg, kIconId, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IconOf(state.request->type))), 0);

    SIZE text = MeasureText(dlg, font, state.request->text);
    text.cx += 8;  // the static control wraps a line that fits to the last pixel
    const int textLeft = kMargin + iconSize + kMargin;
    const int upperHeight = std::max<int>(iconSize, text.cy);
    const int buttonCount = static_cast<int>(state.buttons.size());
    const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
    const int clientWidth = std::max<int>(textLeft + text.cx + kMargin, buttonsWidth + 2 * kMargin);
    const int buttonsTop = kMargin + upperHeight + kMargin;
    const int clientHeight = buttonsTop + kButtonHeight + kMargin;

    ::SetWindowPos(::GetDlgItem(dlg, kIconId), nullptr, kMargin, kMargin, iconSize, iconSize, SWP_NOZORDER);
    ::SetWindowPos(::GetDlgItem(dlg, kTextId), nullptr, textLeft, kMargin + (upperHeight - text.cy) / 2, text.cx,
                   text.cy, SWP_NOZORDER);
    int x = (clientWidth - buttonsWidth) / 2;
    for (const DialogButton& b : state.buttons) {
        ::SetWindowPos(::GetDlgItem(dlg, b.id), nullptr, x, buttonsTop, kButtonWidth, kButtonHeight, SWP_NOZORDER);
        x += kButtonWidth + kButtonGap;
    }

    RECT outer{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(dlg, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dlg, GWL_EXSTYLE)));
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    ::SetWindowPos(dlg, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                   w, h, SWP_NOZORDER);
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        switch (msg) {
            case WM_INITDIALOG: {
                const auto* state = reinterpret_cast<const DialogState*>(lp);
                ::SetWindowLongPtrW(dlg, DWLP_USER, lp);
                LayOut(dlg, *state);
                ::SetFocus(::GetDlgItem(dlg, state->buttons.front().id));
                return FALSE;
            }
            case WM_COMMAND: {
                const auto* state = reinterpret_cast<const DialogState*>(::GetWindowLongPtrW(dlg, DWLP_USER));
                const int id = LOWORD(wp);
                if (id == IDOK || id == IDYES || id == IDNO) {
                    ::EndDialog(dlg, id);
                    return TRUE;
                }
                if (id == IDCANCEL) {
                    ::EndDialog(dlg, state->request->buttons == MsgDlgButtons::YesNo ? IDNO : IDOK);
                    return TRUE;
                }
                break;
            }
            default:
                break;
        }
    } catch (...) {
        // Nothing here raises but allocation failures; the dialog then keeps its defaults.
    }
    return FALSE;
}

}  // namespace

const wchar_t* DialogCaption(MsgDlgType type) {
    switch (type) {
        case MsgDlgType::Warning:
            return L"Warning";
        case MsgDlgType::Error:
            return L"Error";
        case MsgDlgType::Confirmation:
            return L"Confirm";
        case MsgDlgType::Information:
            break;
    }
    return L"Information";
}

int ShowMessageDialog(const MessageRequest& request) {
    if (Hook()) return Hook()(request);
    DialogState state{&request, ButtonsOf(request.buttons)};
    TemplateWriter writer;
    writer.Header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, static_cast<WORD>(2 + state.buttons.size()),
                  request.caption);
    writer.Item(SS_ICON, kIconId, 0x0082, L"");
    writer.Item(SS_LEFT | SS_NOPREFIX, kTextId, 0x0082, request.text);
    bool first = true;
    for (const DialogButton& b : state.buttons) {
        writer.Item(WS_TABSTOP | (first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), static_cast<WORD>(b.id), 0x0080, b.text);
        first = false;
    }
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), writer.Get(), ::GetActiveWindow(),
                                                     DialogProc, reinterpret_cast<LPARAM>(&state));
    if (result <= 0) return request.buttons == MsgDlgButtons::YesNo ? IDNO : IDOK;
    return static_cast<int>(result);
}

int MessageDlg(const std::wstring& text, MsgDlgType type, MsgDlgButtons buttons) {
    return ShowMessageDialog({DialogCaption(type), text, type, buttons});
}

MessageHook SetMessageHook(MessageHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

}  // namespace gui
