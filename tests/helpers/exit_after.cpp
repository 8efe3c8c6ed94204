// Child process for the launching tests. Arguments: <ms> <code> [trace-file].
// Sleeps ms, writes a trace (current folder, whole command line, the time it ends as
// FILETIME ticks; one per line, UTF-8) when a trace file is given, or named by the
// environment variable HOLTER_TRACE, then exits with code.
#include <windows.h>
// windows.h first: shellapi.h depends on it.
#include <shellapi.h>

#include <cwchar>
#include <string>

static void WriteTrace(const std::wstring& path) {
    wchar_t folder[MAX_PATH * 4];
    GetCurrentDirectoryW(MAX_PATH * 4, folder);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::wstring text = std::wstring(folder) + L"\n" + GetCommandLineW() + L"\n" + std::to_wstring(ticks) + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    DWORD ms = argc > 1 ? wcstoul(argv[1], nullptr, 10) : 0;
    UINT code = argc > 2 ? wcstoul(argv[2], nullptr, 10) : 0;
    std::wstring trace = argc > 3 ? argv[3] : L"";
    if (trace.empty()) {
        wchar_t env[MAX_PATH * 4];
        DWORD n = GetEnvironmentVariableW(L"HOLTER_TRACE", env, MAX_PATH * 4);
        if (n > 0 && n < MAX_PATH * 4) trace = env;
    }
    Sleep(ms);
    if (!trace.empty()) WriteTrace(trace);
    return static_cast<int>(code);
}
