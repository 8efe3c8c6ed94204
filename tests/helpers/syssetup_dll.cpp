// A decoy system setup library: loading it at all leaves "<own path>.trace",
// so a test can tell whether the program picked up a copy planted beside it.
#include <windows.h>

#include <string>

namespace {

void Trace(HMODULE self, const char* what) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    HANDLE file = CreateFileW((std::wstring(path, length) + L".trace").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, what, static_cast<DWORD>(lstrlenA(what)), &written, nullptr);
    CloseHandle(file);
}

HMODULE self = nullptr;

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI SetupChangeFontSize(HWND, LPCWSTR) {
    Trace(self, "called\n");
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        Trace(self, "loaded\n");
    }
    return TRUE;
}
