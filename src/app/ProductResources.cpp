#include "app/ProductResources.h"

#include "base/Text.h"

namespace app {

bool WriteBtoothIni = false;

std::wstring LoadProductString(int id) {
    wchar_t buffer[255];
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(id), buffer, 255);
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

bool ProductTitleMatchesSibling(const std::wstring& title) {
    return base::UpperCase(title) == base::UpperCase(L"Ларвен");
}

std::string LoadRawResource(const wchar_t* name, WORD language) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceExW(module, RT_RCDATA, name, language);
    if (!info) return {};
    const HGLOBAL loaded = ::LoadResource(module, info);
    const char* data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    return data ? std::string(data, ::SizeofResource(module, info)) : std::string();
}

}  // namespace app
