#include "gui/TextControls.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "base/Error.h"

namespace gui {

namespace {

COLORREF OrDefault(COLORREF color, int sysColor) {
    return color == CLR_DEFAULT ? ::GetSysColor(sysColor) : color;
}

}  // namespace

// ---- Label

void Label::Create(ParentRef parent, const LabelArgs& args) {
    wordWrap_ = args.wordWrap;
    align_ = args.align;
    centerVertically_ = args.centerVertically;
    textColor_ = args.textColor;
    // Owner-drawn: the static class paints plain text itself, outside WM_PAINT, on every change of text.
    CreateHandle({L"Static", parent.hwnd, args.caption, (args.visible ? WS_VISIBLE : 0u) | SS_OWNERDRAW, 0, args.bounds,
                  args.font});
}

UINT Label::DrawFlags() const {
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (align_ == TextAlign::Center) flags |= DT_CENTER;
    if (align_ == TextAlign::Right) flags |= DT_RIGHT;
    return flags;
}

int Label::TextHeight() const {
    const std::wstring text = Text();
    const HDC dc = ::GetDC(Handle());
    const HGDIOBJ old = ::SelectObject(dc, Font());
    RECT r{0, 0, std::max(Width(), 1), 0};
    ::DrawTextW(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
                DrawFlags() | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    return r.bottom - r.top;
}

int Label::TextWidth() const {
    const std::wstring text = Text();
    const HDC dc = ::GetDC(Handle());
    const HGDIOBJ old = ::SelectObject(dc, Font());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    return size.cx;
}

int Label::FitHeight() {
    Box box = Bounds();
    box.height = TextHeight();
    SetBounds(box);
    return box.height;
}

void Label::SetTextColor(COLORREF color) {
    textColor_ = color;
    Invalidate();
}

bool Label::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
}

void Label::Draw(const DRAWITEMSTRUCT& item) const {
    const HBRUSH brush = ::CreateSolidBrush(Color() != CLR_INVALID ? Color() : ::GetSysColor(COLOR_BTNFACE));
    ::FillRect(item.hDC, &item.rcItem, brush);
    ::DeleteObject(brush);
    RECT r = item.rcItem;
    const std::wstring text = Text();
    const HGDIOBJ old = ::SelectObject(item.hDC, Font());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, OrDefault(textColor_, COLOR_BTNTEXT));
    if (centerVertically_) {
        const int h = TextHeight();
        r.top += std::max(0, (static_cast<int>(r.bottom - r.top) - h) / 2);
    }
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags());
    ::SelectObject(item.hDC, old);
}

// ---- Memo

std::wstring JoinLines(const std::vector<std::wstring>& lines, const std::wstring& separator) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += separator;
        text += lines[i];
    }
    return text;
}

void Memo::Create(ParentRef parent, const MemoArgs& args) {
    textColor_ = args.textColor;
    CreateHandle({L"Edit", parent.hwnd, JoinLines(args.lines),
                  WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL, 0, args.bounds, args.font});
}

bool Memo::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLOREDIT) return false;
    return ColorChild(reinterpret_cast<HDC>(wp), result, OrDefault(textColor_, COLOR_WINDOWTEXT));
}

// ---- Edit

void Edit::Create(ParentRef parent, const EditArgs& args) {
    frame_.hotColor = args.hotFrameColor;
    SetParentColor(false);
    // No WS_BORDER: the edit class would draw that border inside its text area.
    // The frame and the padding around the text are non-client area of our own.
    CreateHandle(
        {L"Edit", parent.hwnd, args.text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, args.bounds, args.font});
}

void Edit::SetFont(HFONT font) {
    Control::SetFont(font);
    // The vertical padding depends on the font's height.
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Edit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    frame_.Track(Handle(), msg);
    switch (msg) {
        case WM_NCCALCSIZE: {
            auto* r = reinterpret_cast<RECT*>(lp);  // the first rectangle, whatever wp says
            TEXTMETRICW tm{};
            const HDC dc = ::GetDC(Handle());
            const HGDIOBJ old = ::SelectObject(dc, Font());
            ::GetTextMetricsW(dc, &tm);
            ::SelectObject(dc, old);
            ::ReleaseDC(Handle(), dc);
            ::InflateRect(r, -1, -1);  // the frame
            const int pad = std::max(0, static_cast<int>(r->bottom - r->top - tm.tmHeight) / 2);
            r->top += pad;
            r->bottom = std::max(r->top, r->bottom - pad);
            r->left += 3;
            r->right = std::max(r->left, r->right - 3);
            return 0;
        }
        case WM_NCPAINT:
            PaintNonClient();
            return 0;
        case WM_ENABLE:
            ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
            break;
        default:
            break;
    }
    return Control::WndProc(msg, wp, lp);
}

// The padding between frame and text in the text's background, then the frame.
void Edit::PaintNonClient() const {
    RECT window{}, client{};
    ::GetWindowRect(Handle(), &window);
    ::GetClientRect(Handle(), &client);
    ::MapWindowPoints(Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -window.left, -window.top);
    ::OffsetRect(&window, -window.left, -window.top);
    const HDC dc = ::GetWindowDC(Handle());
    if (!dc) return;
    const HBRUSH brush = ::GetSysColorBrush(::IsWindowEnabled(Handle()) ? COLOR_WINDOW : COLOR_BTNFACE);
    const RECT pads[] = {
        {window.left, window.top, window.right, client.top},
        {window.left, client.bottom, window.right, window.bottom},
        {window.left, client.top, client.left, client.bottom},
        {client.right, client.top, window.right, client.bottom},
    };
    for (const RECT& pad : pads) ::FillRect(dc, &pad, brush);
    ::ReleaseDC(Handle(), dc);
    frame_.Paint(Handle());
}

// ---- RichEdit

namespace {

// Loaded once, from the system folder only, and kept for the process.
void LoadRichEditLibrary() {
    static const HMODULE module = ::LoadLibraryExW(L"msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) throw base::Error(L"Cannot load the rich-text library msftedit.dll");
}

struct StreamSource {
    const std::string* data;
    size_t offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const size_t count = std::min(static_cast<size_t>(wanted), source->data->size() - source->offset);
    std::memcpy(buffer, source->data->data() + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

}  // namespace

void RichEdit::Create(ParentRef parent, const RichEditArgs& args) {
    LoadRichEditLibrary();
    innerBorder_ = args.innerBorder;
    CreateHandle({MSFTEDIT_CLASS, parent.hwnd, L"", WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                  args.bounds, args.font});
    ApplyInnerBorder();
}

void RichEdit::LoadRtf(const std::string& rtf) {
    StreamSource source{&rtf, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
    ::SendMessageW(Handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void RichEdit::SetColor(COLORREF color) {
    Control::SetColor(color);
    if (Handle()) ::SendMessageW(Handle(), EM_SETBKGNDCOLOR, color == CLR_INVALID, color == CLR_INVALID ? 0 : color);
}

bool RichEdit::ReadOnly() const {
    return (::GetWindowLongPtrW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

LRESULT RichEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = Control::WndProc(msg, wp, lp);
    if (msg == WM_SIZE) ApplyInnerBorder();  // a new size resets the formatting rectangle
    return result;
}

void RichEdit::ApplyInnerBorder() {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    ::InflateRect(&r, -innerBorder_, -innerBorder_);
    ::SendMessageW(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

}  // namespace gui
