#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "Demo.h"

// Runs the end-to-end tests, or with --demo walks one demonstration
// installation for scripts/run (see Demo.h).
int main(int argc, char** argv) {
    // Reading shortcuts back needs COM, as the program has it on its own thread.
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The program under test saves a desktop shortcut; Wine's menu builder would
    // mirror it into the host's desktop and menus. Off for this prefix.
    HKEY overrides = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &overrides, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(overrides, L"winemenubuilder.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""),
                       sizeof(wchar_t));
        RegCloseKey(overrides);
    }
    int rc = 0;
    if (argc > 1 && std::strcmp(argv[1], "--demo") == 0) {
        rc = e2e::RunDemo();
    } else {
        testing::InitGoogleTest(&argc, argv);
        rc = RUN_ALL_TESTS();
    }
    CoUninitialize();
    return rc;
}
