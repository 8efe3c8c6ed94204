#pragma once
// What the setup program reads from its own resources besides the pictures:
// the product string table and raw documents.
#include <windows.h>

#include <string>

namespace app {

// Product strings of the string table: 0 default folder name, 1 product title,
// 2 product description, 3 unused, 4 main program file.
enum ProductStringId { kAppName = 0, kProductTitle = 1, kProductDescription = 2, kMainProgram = 4 };

// String number id of the program's string table, read into a 255-character
// buffer, so at most 254 characters come back; "" when there is no such string.
std::wstring LoadProductString(int id);

// Set once at window creation from the product title; the installation run
// writes btooth.ini only when it is true.
extern bool WriteBtoothIni;

// Whether the title names the sibling product: equal after locale-aware upper
// case, so only letter case may differ.
bool ProductTitleMatchesSibling(const std::wstring& title);

// Bytes of the raw-data resource of that name and language in the running
// program; empty when there is none.
std::string LoadRawResource(const wchar_t* name, WORD language);

inline constexpr WORD kInfoLanguage = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);  // 1049

}  // namespace app
