#pragma once
// The last stretch of the installation run: the release archive and the updater,
// the newest release's install script, the release record, the desktop shortcut.
#include <cstddef>
#include <string>
#include <vector>

#include "install/InstallView.h"

namespace install {

struct ShortcutStrings {
    std::wstring title;        // product string 1
    std::wstring description;  // product string 2
    std::wstring mainProgram;  // product string 4
};

// target and source end in a backslash. Raises base::Error for the errors the
// installation run lets through (no release folder, a bad release date, the
// script that cannot start, the release record); EnableExit only on success.
void DeployRelease(IInstallView& view, const std::wstring& target, const std::wstring& source,
                   const ShortcutStrings& strings);

// YYMMDD from the DDMMYY at the end of a release folder's path;
// raises the platform's conversion error for anything but six digits.
int ReleaseKey(const std::wstring& folderPath);

// Sorts the release folders (locale-aware, case-insensitive, stable) and gives the index
// of the newest; the first among equal dates wins. Raises the platform's list error
// for an empty list.
std::size_t ChooseNewestRelease(std::vector<std::wstring>& folders);

}  // namespace install
