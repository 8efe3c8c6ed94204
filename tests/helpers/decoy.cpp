// A program planted where an unquoted command line would find it first. It must never run:
// when it does, it leaves "decoy-ran.txt" beside itself.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    std::wstring path(self, n);
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"decoy-ran.txt";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return 99;
}
