#include "app/Startup.h"

#include <windows.h>

namespace app {

int RunInstaller() {
    MessageBoxW(nullptr, L"Установка комплекса", L"Install", MB_OK);
    return 0;
}

}  // namespace app
