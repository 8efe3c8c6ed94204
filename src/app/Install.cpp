// Entry of the setup program.
#include <windows.h>

#include "app/Startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything else loads: DLLs come from the system folder only, never
    // from the distribution folder, where a planted copy could run with the
    // operator's rights.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return app::RunInstaller();
}
