// Stands in for a program the installation run starts: writes "<own path>.trace"
// holding its command line and its working folder, and exits with 0.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring text = std::wstring(GetCommandLineW()) + L"\n" + cwd + L"\n";
    HANDLE file = CreateFileW((std::wstring(self, length) + L".trace").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
