#pragma once
// The release record "ReleaseInfo": a small XML file naming the installed release.
#include <string>

namespace sysops {

// Writes level into ROOT/Level of folder + "ReleaseInfo" (folder ends in a backslash).
// Raises base::Error "Release info file does not exist", or
// "Cannot get release information, error: " + the reason.
void SetReleaseLevel(const std::wstring& folder, const std::wstring& level);

}  // namespace sysops
