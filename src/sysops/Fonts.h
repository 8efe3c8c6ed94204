#pragma once
// Font helpers of the fonts step.
#include <string>

namespace sysops {

// The Windows folder with a trailing backslash, or "" when the system reports none.
std::wstring GetWindowsFolder();
// The description the system reports for a font file (empty when it cannot be obtained).
std::wstring GetFontTitle(const std::wstring& file);
// The full font name from the file's own name table ("" for anything it cannot read).
// Parses untrusted bytes: truncated or hostile files give "", never a crash.
std::wstring ReadFontFullName(const std::string& fileBytes);
// The title a font is registered under: GetFontTitle, else the full name from the
// file, else the file name without extension; never empty for a named file.
std::wstring FontRegistryTitle(const std::wstring& file);

}  // namespace sysops
