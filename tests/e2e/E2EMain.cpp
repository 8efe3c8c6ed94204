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
