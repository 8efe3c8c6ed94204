#include "ui/FontSize.h"

#include <string>

#include "base/Handles.h"

namespace ui {

namespace {

using SetupChangeFontSizeFn = BOOL(WINAPI*)(HWND, LPCWSTR);

// The system setup library from the system folder only: a copy planted beside the
// program (or anywhere else on the search path) must never be loaded.
HMODULE LoadSystemSetupLibrary() {
    HMODULE module = LoadLibraryExW(L"syssetup.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Windows without the search-flags update refuses the flag: name the file by its full path.
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(system, length) + L"\\syssetup.dll";
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

bool IsSmallFonts() {
    base::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSX) < 100;
}

void SwitchToLargeFonts(HWND owner) {
    base::Module library(LoadSystemSetupLibrary());
    if (!library) return;
    auto change = reinterpret_cast<SetupChangeFontSizeFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(library.get(), "SetupChangeFontSize")));
    if (change) (void)change(owner, L"120");
}

bool RestartWindows(uint32_t flags) {
    HANDLE rawToken = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
        base::KernelHandle token(rawToken);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            (void)AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
    return ExitWindowsEx(flags, 0) != FALSE;
}

}  // namespace ui
