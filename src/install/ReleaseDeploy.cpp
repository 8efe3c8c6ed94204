#include "install/ReleaseDeploy.h"

#include <windows.h>

#include <algorithm>

#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Text.h"
#include "sysops/FileOps.h"
#include "sysops/Process.h"
#include "sysops/ReleaseRecord.h"
#include "sysops/Shortcut.h"

namespace install {

int ReleaseKey(const std::wstring& folderPath) {
    if (folderPath.size() < 6) base::RaiseConvertError(folderPath);
    const std::wstring date = folderPath.substr(folderPath.size() - 6);
    const std::wstring key = date.substr(4, 2) + date.substr(2, 2) + date.substr(0, 2);
    if (!std::all_of(key.begin(), key.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        base::RaiseConvertError(key);
    return std::stoi(key);
}

std::size_t ChooseNewestRelease(std::vector<std::wstring>& folders) {
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::wstring& a, const std::wstring& b) { return base::CompareTextLocale(a, b) < 0; });
    std::vector<int> keys;
    keys.reserve(folders.size());
    for (const auto& folder : folders) keys.push_back(ReleaseKey(folder));
    if (keys.empty()) base::RaiseListIndexError(0);
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i] > keys[chosen]) chosen = i;
    return chosen;
}

void DeployRelease(IInstallView& view, const std::wstring& target, const std::wstring& source,
                   const ShortcutStrings& strings) {
    if (!base::DirectoryExists(target + L"Backup\\")) (void)base::CreateDir(target + L"backup\\");
    sysops::CopyTree(source + L"backup", target + L"backup");
    sysops::CopyTree(source + L"Updater", base::ExcludeTrailingBackslash(target));
    // Files from read-only media keep their attribute; the updater rewrites both.
    sysops::SetReadOnly(target + L"ReleaseInfo", false);
    sysops::SetReadOnly(target + L"Updater.exe.cfg", false);

    std::vector<std::wstring> releases;
    sysops::ListSubfolders(target + L"backup\\", releases);
    const std::wstring release = releases[ChooseNewestRelease(releases)];

    (void)SetCurrentDirectoryW((release + L"\\").c_str());
    sysops::RunAndWait(release + L"\\Install.cmd", L"", 0);
    (void)SetCurrentDirectoryW(target.c_str());

    sysops::SetReleaseLevel(target, base::ExtractFileName(release).substr(1));
    (void)sysops::CreateShortcut(target + strings.mainProgram, sysops::Desktop, L"", L"", L"",
                                 strings.description + L" \"" + strings.title + L"\"", strings.title);
    view.EnableExit();
}

}  // namespace install
