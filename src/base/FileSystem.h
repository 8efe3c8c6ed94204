#pragma once
// Existence tests and folder creation with the program's rules.
#include <string>

namespace base {

// The path's attributes can be read and carry the directory bit.
bool DirectoryExists(const std::wstring& path);
// A file (not a folder) exists at the path.
bool FileExists(const std::wstring& path);
// Creates the last level only, default security.
bool CreateDir(const std::wstring& path);
// Creates the folder with all missing parents.
bool ForceDirectories(const std::wstring& path);

}  // namespace base
