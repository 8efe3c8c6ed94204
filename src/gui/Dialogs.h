#pragma once
// The program's own message dialogs: a #32770 dialog built from an in-memory
// template, with the English captions and button texts whatever the language
// of Windows ("Error", "Warning", "Confirm", "Information"; "Yes", "No", "OK")
// and the platform's icons.
#include <windows.h>

#include <functional>
#include <string>

namespace gui {

enum class MsgDlgType { Warning, Error, Information, Confirmation };
enum class MsgDlgButtons { OK, YesNo };

struct MessageRequest {
    std::wstring caption;
    std::wstring text;
    MsgDlgType type = MsgDlgType::Information;
    MsgDlgButtons buttons = MsgDlgButtons::OK;
};

// "Error", "Warning", "Confirm" or "Information".
const wchar_t* DialogCaption(MsgDlgType type);

// Shows the dialog modally, owned by the active window; returns IDOK, IDYES or
// IDNO. Esc and the close box answer No in a Yes/No dialog.
int ShowMessageDialog(const MessageRequest& request);
// The dialog of a kind with its standard caption.
int MessageDlg(const std::wstring& text, MsgDlgType type, MsgDlgButtons buttons);

// While set, dialogs are not shown: the hook gets each request and returns
// the answer. For tests; returns the previous hook.
using MessageHook = std::function<int(const MessageRequest&)>;
MessageHook SetMessageHook(MessageHook hook);

}  // namespace gui
