#pragma once
// Shared helpers of the unit tests: unique temporary folders, file fixtures,
// Wine detection.
#include <windows.h>

#include <string>

namespace testsupport {

// A fresh, uniquely named folder under the temp folder, removed with everything in it at scope end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with a trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

void WriteFile(const std::wstring& path, const std::string& bytes);
std::string ReadFile(const std::wstring& path);
void RemoveTree(const std::wstring& path);
bool IsWine();
// The process's current folder, with a trailing backslash.
std::wstring CurrentFolder();

// Puts the process's current folder back at scope end; moves into folder first when one is given.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::wstring& folder = L"");
    ~CurrentFolderScope();
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::wstring saved_;
};

// A shortcut file read back through the shell link object (a test failure when it cannot be read).
struct LinkProperties {
    std::wstring path, arguments, description, workingFolder;
};
LinkProperties ReadLink(const std::wstring& file);

// Folder of the running test program, with trailing backslash (the test helpers live there).
std::wstring BinFolder();

}  // namespace testsupport

// Skips the current test on Wine where Windows refuses something Wine allows.
#define SKIP_ON_WINE(reason)                               \
    do {                                                   \
        if (testsupport::IsWine()) GTEST_SKIP() << reason; \
    } while (0)
