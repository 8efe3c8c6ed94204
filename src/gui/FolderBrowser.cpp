#include "gui/FolderBrowser.h"

#include <shlobj.h>

#include <utility>

namespace gui {

namespace {

FolderBrowserHook& Hook() {
    static FolderBrowserHook hook;
    return hook;
}

}  // namespace

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& title) {
    if (Hook()) return Hook()(title);
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool ok = ::SHGetPathFromIDListW(chosen, path) != FALSE;
    ::CoTaskMemFree(chosen);
    if (!ok) return std::nullopt;
    return std::wstring(path);
}

FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

}  // namespace gui
