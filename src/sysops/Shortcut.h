#pragma once
// Shell shortcut files (.lnk). The calling thread must have COM initialised.
#include <cstdint>
#include <string>

namespace sysops {

enum ShortcutLocation : uint8_t { Desktop = 0, QuickLaunch = 1, SendTo = 2, StartMenu = 3, GivenFolder = 4 };

// Writes the shortcut and gives back its path ("" when no base folder was found).
std::wstring CreateShortcut(const std::wstring& target, uint8_t location, const std::wstring& folder,
                            const std::wstring& workingFolder, const std::wstring& arguments,
                            const std::wstring& description, const std::wstring& linkName);

}  // namespace sysops
