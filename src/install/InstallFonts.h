#pragma once
// The fonts step of the installation run: the complex's TrueType fonts that the
// system lacks are copied into its fonts folder, registered and announced.
#include <string>
#include <string_view>
#include <vector>

#include "install/InstallView.h"

namespace install {

// The font files the complex needs, in the order they are handled.
const std::vector<std::wstring_view>& FontList();

// sourceFolder: the running program's folder with trailing backslash; the fonts come
// from its "fonts\" sub-folder. The first raised error ends the step.
void InstallFonts(IInstallView& view, const std::wstring& sourceFolder);

// One font; a file of that name already in fontsFolder is left alone.
void InstallOneFont(IInstallView& view, const std::wstring& name, const std::wstring& fontSource,
                    const std::wstring& fontsFolder);

}  // namespace install
