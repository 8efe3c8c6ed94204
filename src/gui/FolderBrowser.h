#pragma once
// The system's folder browser: new-style dialog, file-system folders only, no
// button for making a new folder, the whole shell namespace as root.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace gui {

// The chosen folder's full path as the browser gives it, or nothing when cancelled.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& title);

// While set, the browser is not shown: the hook gets the title and answers. For tests.
using FolderBrowserHook = std::function<std::optional<std::wstring>(const std::wstring& title)>;
FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook);

}  // namespace gui
