#pragma once
// Reading of the shared settings file and of the interface language file,
// and the process-wide number format.
#include <string>

namespace common {

inline constexpr wchar_t kDecimalSeparator = L'.';
inline constexpr wchar_t kThousandSeparator = L' ';

// Decimal "." and thousands separator " " for the rest of the run, for the
// C runtime's and the C++ streams' conversions of this process (the C locale's
// numeric category; a global C++ locale whose numpunct carries the blank but
// no grouping, so numbers are still written without separators unless a
// caller groups them itself). Date and time separators are not touched: the
// log reads them from the user's regional settings.
void SetProcessNumberFormat();

// Sets the number format and fills CommonSettings from
// ProgramFolder + "Settings\holter.ini"; a missing file gives every default.
void ReadHolterOptions();
// The same from a given settings file; tests use it.
void ReadHolterOptions(const std::wstring& iniPath);

// The institution's name, as written: key "CustomerName" of section
// "Customer" of the settings file; empty when absent.
std::wstring ReadCustomerName(const std::wstring& iniPath);

// Translates every coded term and marker word from LanguageFile; an empty
// name, a missing file, section or key leaves the Russian text.
void LoadTermDictionary();
void LoadTermDictionary(const std::wstring& languageFile);

}  // namespace common
