#include "TestSupport.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <atomic>
#include <stdexcept>

#include "base/Handles.h"
#include "base/Text.h"
#include "base/TextFile.h"

namespace testsupport {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (;;) {
        path_ = std::wstring(temp) + L"holter-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create temp folder");
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
    std::wstring dir = base::ExcludeTrailingBackslash(path);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL | (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

void WriteFile(const std::wstring& path, const std::string& bytes) { base::WriteFileBytes(path, bytes); }

std::string ReadFile(const std::wstring& path) { return base::ReadFileBytes(path); }

bool IsWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    return base::IncludeTrailingBackslash(std::wstring(buffer, n));
}

CurrentFolderScope::CurrentFolderScope(const std::wstring& folder) : saved_(CurrentFolder()) {
    if (!folder.empty()) EXPECT_TRUE(SetCurrentDirectoryW(folder.c_str()));
}

CurrentFolderScope::~CurrentFolderScope() { SetCurrentDirectoryW(saved_.c_str()); }

LinkProperties ReadLink(const std::wstring& file) {
    LinkProperties p;
    base::ComPtr<IShellLinkW> link;
    base::ComPtr<IPersistFile> persist;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()), S_OK);
    if (!link || FAILED(link.As(persist)) || FAILED(persist->Load(file.c_str(), STGM_READ))) {
        ADD_FAILURE() << "cannot read " << base::ToUtf8(file);
        return p;
    }
    wchar_t buffer[1024];
    if (SUCCEEDED(link->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH))) p.path = buffer;
    if (SUCCEEDED(link->GetArguments(buffer, 1024))) p.arguments = buffer;
    if (SUCCEEDED(link->GetDescription(buffer, 1024))) p.description = buffer;
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, 1024))) p.workingFolder = buffer;
    return p;
}

std::wstring BinFolder() { return base::ExeFolder(); }

}  // namespace testsupport
