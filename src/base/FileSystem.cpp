#include "base/FileSystem.h"

#include <windows.h>

#include "base/Text.h"

namespace base {

bool DirectoryExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool ForceDirectories(const std::wstring& path) {
    std::wstring dir = ExcludeTrailingBackslash(path);
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    std::wstring parent = ExcludeTrailingBackslash(ExtractFilePath(dir));
    // Stop at a drive ("C:") or a bare name; otherwise make the parent first.
    if (!parent.empty() && parent != dir && parent.back() != L':') ForceDirectories(parent);
    return CreateDir(dir);
}

}  // namespace base
