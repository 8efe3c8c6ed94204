#pragma once
// What the end-to-end tests need around the UI driver: a fresh copy of the
// sample distribution per test, the wizard's pages as an operator sees them,
// files, the registry of the test prefix, shortcuts.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "UiDriver.h"

namespace e2e {

// A uniquely named temporary folder holding a fresh copy of the sample
// distribution in "dist\"; removed with everything in it at scope end.
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The temporary folder, with trailing backslash: targets go here.
    const std::wstring& Root() const { return root_; }
    // The distribution copy, with trailing backslash.
    std::wstring Dist() const { return root_ + L"dist\\"; }
    std::wstring Exe() const { return Dist() + L"Install.exe"; }

private:
    std::wstring root_;
};

// The distribution the tests copy: HOLTER_SAMPLE_DIST, else the one scripts/test lays out beside bin.
std::wstring SampleDistribution();

// Folders scripts/test prepares where a Windows program cannot (HOLTER_E2E_FIXTURES),
// with trailing backslash; empty when not given.
std::wstring FixtureFolder();

// Files and folders.
bool FileExists(const std::wstring& path);
bool DirExists(const std::wstring& path);
std::optional<std::string> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
void CopyTree(const std::wstring& from, const std::wstring& to);
// Removes a tree, read-only entries included.
void RemoveTree(const std::wstring& path);
// Names of the entries of a folder (files and folders, no "." or "..").
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
std::optional<FILETIME> LastWriteTime(const std::wstring& path);
DWORD Attributes(const std::wstring& path);
std::wstring WithoutTrailingNewlines(std::wstring text);

// The wizard's pages, told apart by what only they show.
enum class Page { Welcome, Path, Options, Progress, Cancel, FontSize, Unknown };
const char* PageName(Page page);
Page CurrentPage(const UiDriver& ui);
bool WaitPage(const UiDriver& ui, Page page, DWORD timeoutMs = UiDriver::kWindowTimeout);
// The operator's moves through the wizard, each waiting for its outcome.
testing::AssertionResult GoToPathPage(UiDriver& ui);
// On the path page: types the text into the path field and presses Next.
testing::AssertionResult SubmitPath(UiDriver& ui, const std::wstring& text);
// Waits for the driver notice, presses its OK and waits until it is gone.
testing::AssertionResult CloseNotice(UiDriver& ui);
// Welcome, path (the target typed), notice closed: the options page.
testing::AssertionResult GoToOptions(UiDriver& ui, const std::wstring& target);
// A message box with exactly this text, answered with the button.
testing::AssertionResult AnswerDialog(UiDriver& ui, const std::wstring& caption, const std::wstring& text,
                                      const std::wstring& button, DWORD timeoutMs = UiDriver::kDialogTimeout);

// Memo texts with every line break read as "\n" (a memo may report CR LF or CR).
std::wstring NormalisedText(HWND memo);

// The display's logical pixels per inch for programs started while it lives;
// the previous setting comes back afterwards.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi);
    ~ScopedLogPixels();
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    std::optional<DWORD> previous_;
};

// Registry texts.
std::optional<std::wstring> RegText(HKEY root, const std::wstring& key, const std::wstring& name);
std::wstring DesktopFolder();
std::wstring FontsFolder();
constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
// Takes the fonts back out of the prefix: the files from the fonts folder and
// every registry value naming one of them.
void RemoveFonts(const std::vector<std::wstring>& fileNames);

struct ShortcutInfo {
    std::wstring path, arguments, workingFolder, description;
};
std::optional<ShortcutInfo> ReadShortcut(const std::wstring& lnkPath);

}  // namespace e2e
