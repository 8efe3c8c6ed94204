#pragma once
// File and folder routines of the installation run. Free-standing: no windows,
// no state; each releases what it opens before it returns, also when it raises.
#include <string>
#include <vector>

namespace sysops {

// Creates the folder (last level only) when it does not exist; failures are silent.
void EnsureFolder(const std::wstring& path);
// Appends folder + name for every sub-folder that is not hidden or system and is not
// ".", ".." or "WithOutAnswer" (exact case). folder must end in a backslash.
void ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& list);
// Copies a folder tree: all files (hidden and system included) before the sub-folders
// (hidden and system ones left out). Neither path may end in a backslash. Reports nothing.
void CopyTree(const std::wstring& source, const std::wstring& destination);
// true: copied; false: the content copy failed (partial destination kept).
// Raises base::Error "Cannot open file "%s". %s" / "Cannot create file "%s". %s".
bool CopyOneFile(const std::wstring& source, const std::wstring& destination);
// Sets or clears the read-only bit, keeping every other attribute; a missing file is no error.
void SetReadOnly(const std::wstring& file, bool readOnly);
// Copies through the shell's file operation (its own progress and confirmation windows).
bool ShellCopy(const std::wstring& source, const std::wstring& destination);

}  // namespace sysops
