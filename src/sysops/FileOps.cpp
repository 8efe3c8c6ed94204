#include "sysops/FileOps.h"

#include <windows.h>
// windows.h first: shellapi.h depends on it.
#include <shellapi.h>

#include <memory>

#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "base/TextFile.h"

namespace sysops {
namespace {

constexpr DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Large pieces keep the copy close to the system's own file copy.
constexpr DWORD kCopyPiece = 1 << 20;

bool IsDotEntry(const wchar_t* name) {
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

// Calls visit for every entry matching pattern, in the order the file system reports them.
// The find handle is closed also when visit raises.
template <typename Visit>
void ForEachEntry(const std::wstring& pattern, FINDEX_SEARCH_OPS search, Visit visit) {
    WIN32_FIND_DATAW fd;
    base::FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, search, nullptr, 0));
    if (!find) return;
    do visit(fd);
    while (FindNextFileW(find.get(), &fd));
}

// Folders as the program's folder enumeration sees them: the system may report files and
// hidden or system entries even when asked for folders, so the attributes decide.
bool IsVisibleFolder(const WIN32_FIND_DATAW& fd) {
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & kHiddenOrSystem);
}

// The last-write time travels through the packed two-second local date and time.
void CopyLastWriteTime(HANDLE source, HANDLE destination) {
    FILETIME utc, local;
    WORD dosDate, dosTime;
    if (!GetFileTime(source, nullptr, nullptr, &utc) || !FileTimeToLocalFileTime(&utc, &local) ||
        !FileTimeToDosDateTime(&local, &dosDate, &dosTime) || !DosDateTimeToFileTime(dosDate, dosTime, &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        return;
    (void)SetFileTime(destination, nullptr, nullptr, &utc);
}

bool CopyContent(HANDLE source, HANDLE destination) {
    std::unique_ptr<char[]> buffer(new char[kCopyPiece]);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source, buffer.get(), kCopyPiece, &got, nullptr)) return false;
        if (got == 0) return true;
        DWORD written = 0;
        if (!WriteFile(destination, buffer.get(), got, &written, nullptr) || written != got) return false;
    }
}

// A double-NUL-terminated list holding one path, as the shell's file operation wants it.
std::wstring ShellPathList(const std::wstring& path) {
    std::wstring list = base::ExcludeTrailingBackslash(path);
    list.push_back(L'\0');
    return list;
}

}  // namespace

void EnsureFolder(const std::wstring& path) {
    if (base::DirectoryExists(path)) return;
    (void)base::CreateDir(path);
}

void ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& list) {
    ForEachEntry(folder + L"*", FindExSearchLimitToDirectories, [&](const WIN32_FIND_DATAW& fd) {
        if (!IsVisibleFolder(fd) || IsDotEntry(fd.cFileName) || wcscmp(fd.cFileName, L"WithOutAnswer") == 0) return;
        list.push_back(folder + fd.cFileName);
    });
}

void CopyTree(const std::wstring& source, const std::wstring& destination) {
    if (!base::DirectoryExists(destination)) (void)base::ForceDirectories(destination);
    const std::wstring pattern = source + L"\\*.*";
    ForEachEntry(pattern, FindExSearchNameMatch, [&](const WIN32_FIND_DATAW& fd) {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
        (void)CopyFileW((source + L"\\" + fd.cFileName).c_str(), (destination + L"\\" + fd.cFileName).c_str(), FALSE);
    });
    ForEachEntry(pattern, FindExSearchLimitToDirectories, [&](const WIN32_FIND_DATAW& fd) {
        if (!IsVisibleFolder(fd) || IsDotEntry(fd.cFileName)) return;
        CopyTree(source + L"\\" + fd.cFileName, destination + L"\\" + fd.cFileName);
    });
}

bool CopyOneFile(const std::wstring& source, const std::wstring& destination) {
    base::FileHandle in(CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) base::RaiseOpenError(source, GetLastError());
    base::FileHandle out(CreateFileW(destination.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) base::RaiseCreateError(destination, GetLastError());
    if (!CopyContent(in.get(), out.get())) return false;
    CopyLastWriteTime(in.get(), out.get());
    return true;
}

void SetReadOnly(const std::wstring& file, bool readOnly) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    DWORD updated = readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    // Zero would mean "leave unchanged" to the system; a plain file is "normal".
    if (updated == 0) updated = FILE_ATTRIBUTE_NORMAL;
    (void)SetFileAttributesW(file.c_str(), updated);
}

bool ShellCopy(const std::wstring& source, const std::wstring& destination) {
    const std::wstring from = ShellPathList(source), to = ShellPathList(destination);
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_FILESONLY;
    return SHFileOperationW(&op) == 0;
}

}  // namespace sysops
