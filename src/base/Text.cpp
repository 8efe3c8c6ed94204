#include "base/Text.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace base {

std::string ToCodePage(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromCodePage(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string ToUtf8(std::wstring_view text) { return ToCodePage(text, CP_UTF8); }
std::wstring FromUtf8(std::string_view bytes) { return FromCodePage(bytes, CP_UTF8); }

std::wstring Trim(std::wstring_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] <= L' ') ++b;
    while (e > b && text[e - 1] <= L' ') --e;
    return std::wstring(text.substr(b, e - b));
}

std::wstring UpperCase(std::wstring_view text) {
    if (text.empty()) return {};
    int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, text.data(),
                          static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, text.data(),
                  static_cast<int>(text.size()), out.data(), n, nullptr, nullptr, 0);
    return out;
}

int CompareTextLocale(std::wstring_view a, std::wstring_view b) {
    int r = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size()), nullptr, nullptr, 0);
    return r - CSTR_EQUAL;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::optional<long long> ParseInteger(std::wstring_view text) {
    std::wstring s(text);
    if (s.empty()) return std::nullopt;
    size_t pos = 0;
    bool negative = false;
    if (s[pos] == L'-' || s[pos] == L'+') negative = s[pos++] == L'-';
    int radix = 10;
    if (pos < s.size() && s[pos] == L'$') {
        radix = 16;
        ++pos;
    } else if (pos + 1 < s.size() && s[pos] == L'0' && (s[pos + 1] == L'x' || s[pos + 1] == L'X')) {
        radix = 16;
        pos += 2;
    }
    if (pos >= s.size()) return std::nullopt;
    long long value = 0;
    for (; pos < s.size(); ++pos) {
        wchar_t c = s[pos];
        int d = (c >= L'0' && c <= L'9')   ? c - L'0'
                : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                           : 99;
        if (d >= radix) return std::nullopt;
        value = value * radix + d;
        if (value > 0xFFFFFFFFLL) return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<double> ParseReal(std::wstring_view text) {
    std::wstring s(text);
    if (s.empty() || s.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos) return std::nullopt;
    std::string narrow(s.begin(), s.end());
    char* end = nullptr;
    errno = 0;
    _locale_t c = _create_locale(LC_NUMERIC, "C");
    double v = _strtod_l(narrow.c_str(), &end, c);
    _free_locale(c);
    if (end != narrow.c_str() + narrow.size() || errno == ERANGE) return std::nullopt;
    return v;
}

std::wstring IncludeTrailingBackslash(std::wstring_view path) {
    std::wstring s(path);
    if (s.empty() || s.back() != L'\\') s += L'\\';
    return s;
}

std::wstring ExcludeTrailingBackslash(std::wstring_view path) {
    std::wstring s(path);
    if (!s.empty() && s.back() == L'\\') s.pop_back();
    return s;
}

std::wstring ExtractFilePath(std::wstring_view path) {
    size_t p = path.find_last_of(L"\\:/");
    return p == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, p + 1));
}

std::wstring ExtractFileName(std::wstring_view path) {
    size_t p = path.find_last_of(L"\\:/");
    return std::wstring(p == std::wstring_view::npos ? path : path.substr(p + 1));
}

std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext) {
    size_t sep = path.find_last_of(L"\\:/");
    size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring_view::npos || (sep != std::wstring_view::npos && dot < sep))
        return std::wstring(path) + std::wstring(ext);
    return std::wstring(path.substr(0, dot)) + std::wstring(ext);
}

std::wstring SysErrorMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = L"System Error.  Code: " + std::to_wstring(code) + L".";
    return text;
}

std::wstring ExeFile() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ExeFolder() { return ExtractFilePath(ExeFile()); }

}  // namespace base
