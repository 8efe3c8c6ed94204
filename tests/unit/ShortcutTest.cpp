#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell headers depend on it.
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "sysops/Shortcut.h"

using namespace sysops;
using testsupport::LinkProperties;
using testsupport::ReadLink;
using testsupport::TempDir;

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kGrpConv[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv";

// Points one per-user shell-folder value somewhere else and puts the original back afterwards.
class ShellFolderOverride {
public:
    ShellFolderOverride(const wchar_t* key, const wchar_t* valueName, DWORD type, const void* data, DWORD size)
        : name_(valueName) {
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
        DWORD savedSize = 0;
        had_ = RegQueryValueExW(key_.get(), name_, nullptr, &type_, nullptr, &savedSize) == ERROR_SUCCESS;
        if (had_) {
            saved_.resize(savedSize);
            RegQueryValueExW(key_.get(), name_, nullptr, &type_, saved_.data(), &savedSize);
        }
        EXPECT_EQ(RegSetValueExW(key_.get(), name_, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    ShellFolderOverride(const wchar_t* key, const wchar_t* valueName, const std::wstring& folder)
        : ShellFolderOverride(key, valueName, REG_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * 2)) {}
    ~ShellFolderOverride() {
        if (had_)
            RegSetValueExW(key_.get(), name_, 0, type_, saved_.data(), static_cast<DWORD>(saved_.size()));
        else
            RegDeleteValueW(key_.get(), name_);
    }

private:
    const wchar_t* name_;
    base::RegKey key_;
    bool had_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> saved_;
};

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(CreateShortcut, DesktopShortcutFromTheRegistryFolder) {
    TempDir desktop, program;
    const std::wstring desktopFolder = base::ExcludeTrailingBackslash(desktop.Path());
    // The shell rewrites "Shell Folders" from "User Shell Folders" whenever it looks a folder up.
    ShellFolderOverride legacy(kShellFolders, L"Desktop", desktopFolder);
    ShellFolderOverride current(kUserShellFolders, L"Desktop", desktopFolder);
    testsupport::WriteFile(program / L"Shell.exe", "");
    const std::wstring target = program / L"Shell.exe";
    const std::wstring description = L"Комплекс \"Велтон - Dozevo\"";

    const std::wstring link = CreateShortcut(target, Desktop, L"", L"", L"", description, L"Велтон - Dozevo");

    EXPECT_EQ(link, desktopFolder + L"\\Велтон - Dozevo.lnk");
    LinkProperties p = ReadLink(link);
    EXPECT_TRUE(base::SameText(p.path, target)) << base::ToUtf8(p.path);
    EXPECT_EQ(p.arguments, L"");
    EXPECT_EQ(p.description, description);
    EXPECT_EQ(p.workingFolder, program.Path());
}

TEST(CreateShortcut, FileNameComesFromTheLinkNameOrTheTarget) {
    TempDir links;
    const std::wstring folder = base::ExcludeTrailingBackslash(links.Path());
    struct Case {
        const wchar_t* target;
        const wchar_t* linkName;
        const wchar_t* fileName;
    } cases[] = {
        {L"C:\\Holter\\Shell.exe", L"", L"Shell.lnk"},
        {L"C:\\Holter\\Shell.exe", L"Readme.txt", L"Readme.lnk"},
        {L"C:\\Holter\\Shell.exe", L"Some\\Folder\\Name", L"Name.lnk"},
        {L"C:\\Holter\\Shell.exe", L"Велтон 2.5 beta", L"Велтон 2.lnk"},
        {L"C:\\Holter\\Tool", L"", L"Tool.lnk"},
    };
    for (const auto& c : cases) {
        const std::wstring expected = folder + L"\\" + c.fileName;
        EXPECT_EQ(CreateShortcut(c.target, GivenFolder, folder, L"", L"", L"", c.linkName), expected)
            << base::ToUtf8(c.linkName);
        EXPECT_TRUE(Exists(expected)) << base::ToUtf8(expected);
    }
}

TEST(CreateShortcut, WorkingFolderArgumentsAndDescriptionAreSetAsGiven) {
    TempDir links;
    const std::wstring folder = base::ExcludeTrailingBackslash(links.Path());
    std::wstring link =
        CreateShortcut(L"C:\\Holter\\Shell.exe", GivenFolder, folder, L"D:\\Work", L"/a \"b c\"", L"about", L"Named");
    LinkProperties p = ReadLink(link);
    EXPECT_EQ(p.workingFolder, L"D:\\Work");
    EXPECT_EQ(p.arguments, L"/a \"b c\"");
    EXPECT_EQ(p.description, L"about");

    link = CreateShortcut(L"C:\\Holter\\Shell.exe", GivenFolder, folder, L"", L"", L"", L"Default");
    EXPECT_EQ(ReadLink(link).workingFolder, L"C:\\Holter\\");
}

TEST(CreateShortcut, StartMenuSubFolderIsUsedOnlyWhenItExists) {
    TempDir startMenu;
    const std::wstring menu = base::ExcludeTrailingBackslash(startMenu.Path());
    ShellFolderOverride redirect(kShellFolders, L"Start Menu", menu);

    std::wstring link = CreateShortcut(L"C:\\Holter\\Shell.exe", StartMenu, L"Holter", L"", L"", L"", L"");
    EXPECT_EQ(link, menu + L"\\Holter\\Shell.lnk");
    EXPECT_FALSE(Exists(link)) << "missing folders are not created";
    EXPECT_FALSE(Exists(menu + L"\\Holter"));

    CreateDirectoryW((menu + L"\\Holter").c_str(), nullptr);
    EXPECT_EQ(CreateShortcut(L"C:\\Holter\\Shell.exe", StartMenu, L"Holter", L"", L"", L"", L""), link);
    EXPECT_TRUE(Exists(link));

    link = CreateShortcut(L"C:\\Holter\\Shell.exe", StartMenu, L"", L"", L"", L"", L"");
    EXPECT_EQ(link, menu + L"\\Shell.lnk");
    EXPECT_TRUE(Exists(link));
}

TEST(CreateShortcut, NoBaseFolderWritesNothing) {
    EXPECT_EQ(CreateShortcut(L"C:\\Holter\\Shell.exe", GivenFolder, L"", L"", L"", L"", L""), L"");
    EXPECT_EQ(CreateShortcut(L"C:\\Holter\\Shell.exe", 7, L"C:\\anywhere", L"", L"", L"", L""), L"");
    EXPECT_EQ(CreateShortcut(L"C:\\Holter\\Shell.exe", 255, L"C:\\anywhere", L"", L"", L"", L""), L"");
}

TEST(CreateShortcut, QuickLaunchWithoutItsKeyCreatesTheKeyEmptyAndNothingElse) {
    base::RegKey existing;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kGrpConv, 0, KEY_READ, existing.put()) == ERROR_SUCCESS)
        GTEST_SKIP() << "this profile already has the quick-launch key";
    EXPECT_EQ(CreateShortcut(L"C:\\Holter\\Shell.exe", QuickLaunch, L"", L"", L"", L"", L""), L"");
    base::RegKey created;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kGrpConv, 0, KEY_READ, created.put()), ERROR_SUCCESS);
    DWORD subKeys = 1, values = 1;
    RegQueryInfoKeyW(created.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    EXPECT_EQ(subKeys + values, 0u);
    created.reset();
    RegDeleteKeyW(HKEY_CURRENT_USER, kGrpConv);
}

TEST(CreateShortcut, NonTextRegistryValueRaisesTheRegistryError) {
    const DWORD number = 5;
    ShellFolderOverride wrongType(kShellFolders, L"SendTo", REG_DWORD, &number, sizeof number);
    try {
        CreateShortcut(L"C:\\Holter\\Shell.exe", SendTo, L"", L"", L"", L"", L"");
        ADD_FAILURE() << "nothing raised";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'SendTo'");
    }
}
