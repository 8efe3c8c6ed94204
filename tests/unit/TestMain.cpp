#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
    // The program initialises COM on its user-interface thread; so do the tests.
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    CoUninitialize();
    return rc;
}
