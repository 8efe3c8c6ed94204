#pragma once
// Pieces of the installation run that tests reach on their own.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "install/InstallRun.h"
#include "install/InstallView.h"

namespace install {

// The copy the run's copy steps use: true copied, false content copy failed, raises
// when a file cannot be opened or created (as sysops::CopyOneFile).
using CopyRoutine = std::function<bool(const std::wstring& source, const std::wstring& destination)>;

// RunInstallation with another copy routine, so a failed content copy can be staged.
void RunInstallationWith(IInstallView& view, const RunInputs& inputs, const CopyRoutine& copy);

// Database engine files copied from "Firebird\" into the target folder, in order,
// for the item of the Windows-version selector (0 "Windows 7, Windows 8", 1 "Windows XP").
const std::vector<std::wstring_view>& EngineFiles(int windowsItem);

// The 14-byte counter record: int16 0, int32 0, the day count of the moment, little-endian.
std::string LastNumRecord(double dayCount);

// Completion of the run: the font-size page on a small-fonts display, otherwise the
// question whether to leave (Yes closes the window).
void FinishInstallation(IInstallView& view, bool smallFonts);

}  // namespace install
