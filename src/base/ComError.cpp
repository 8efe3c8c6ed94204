#include "base/ComError.h"

#include <cwchar>
#include <string>

#include "base/Error.h"

namespace base {

void RaiseComError(HRESULT hr) {
    wchar_t* buffer = nullptr;
    DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) {
        wchar_t code[16];
        swprintf(code, 16, L"%08X", static_cast<unsigned>(hr));
        text = L"OLE error " + std::wstring(code);
    }
    throw Error(text);
}

}  // namespace base
