// Stand-in for the USB interface driver installer of sample distributions:
// it leaves "installed.txt" in its own folder, holding the folder it was
// started in, and exits 0.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    std::wstring trace(self, length);
    trace.erase(trace.find_last_of(L'\\') + 1);
    trace += L"installed.txt";

    wchar_t current[MAX_PATH] = {};
    DWORD currentLength = GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring text = L"installed from " + std::wstring(current, currentLength) + L"\r\n";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);

    HANDLE file = CreateFileW(trace.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
