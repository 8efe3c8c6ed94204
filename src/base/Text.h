#pragma once
// Text helpers: conversions between UTF-16 and byte encodings, trimming,
// locale-aware case mapping and the path-text rules the program uses.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace base {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);
// Code page conversions; CP_ACP is the system's ANSI code page.
std::string ToCodePage(std::wstring_view text, UINT codePage);
std::wstring FromCodePage(std::string_view bytes, UINT codePage);

// Removes leading and trailing characters of code 32 or below (blanks and control characters).
std::wstring Trim(std::wstring_view text);
// Locale-aware, full-Unicode upper case (the user's locale).
std::wstring UpperCase(std::wstring_view text);
// Locale-aware, case-insensitive comparison (<0, 0, >0), as the platform's text lists sort.
int CompareTextLocale(std::wstring_view a, std::wstring_view b);
bool SameText(std::wstring_view a, std::wstring_view b);  // ordinal, case-insensitive

// Strict integer parse: decimal, or hexadecimal with "0x"/"0X"/"$". No blanks allowed.
std::optional<long long> ParseInteger(std::wstring_view text);
// Strict real parse with "." as decimal separator (exponent allowed).
std::optional<double> ParseReal(std::wstring_view text);

std::wstring IncludeTrailingBackslash(std::wstring_view path);
std::wstring ExcludeTrailingBackslash(std::wstring_view path);
// Folder part including its trailing separator ("C:\a\b.exe" -> "C:\a\").
std::wstring ExtractFilePath(std::wstring_view path);
std::wstring ExtractFileName(std::wstring_view path);
// Replaces the extension (from the last dot of the last component) or appends it.
std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext);

// The system's text for an error code, without the trailing line break and full stop kept as the system gives it.
std::wstring SysErrorMessage(DWORD code);

// Full path of the running program file, and its folder with a trailing backslash.
std::wstring ExeFile();
std::wstring ExeFolder();

}  // namespace base
