#pragma once
// The installation run started by the options page's install button.
#include <string>

#include "install/InstallView.h"

namespace install {

struct RunInputs {
    std::wstring pathText;      // the path field's text (normalised by the path page)
    bool installDriver = true;  // CbDriverInstal ticked
    int windowsItem = 0;        // item selected in CBWindows: 0 "Windows 7, Windows 8", 1 "Windows XP"
    bool writeBtoothIni = false;
    std::wstring sourceFolder;  // the running program's folder with trailing backslash

    // Product strings of the desktop shortcut, filled by the caller from the
    // program's string table (LoadProductString), so that this layer needs no
    // access to the program's resources.
    std::wstring productTitle;        // string 1: link name and quoted part of the description
    std::wstring productDescription;  // string 2: the description before the quoted title
    std::wstring mainProgram;         // string 4: the complex's main program, relative to the target folder
};

// Runs the whole installation against the view. Errors it does not report
// itself are raised (base::Error) for the application's standard error report;
// the busy state is undone first.
void RunInstallation(IInstallView& view, const RunInputs& inputs);

}  // namespace install
