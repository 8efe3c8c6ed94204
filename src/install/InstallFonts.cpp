#include "install/InstallFonts.h"

#include <windows.h>

#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "sysops/FileOps.h"
#include "sysops/Fonts.h"

namespace install {

namespace {

constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

const std::vector<std::wstring_view> kFonts = {L"ARIAL.TTF",  L"ARIALN.TTF", L"COUR.TTF",   L"MICROSS.TTF",
                                               L"TAHOMA.TTF", L"TIMES.TTF",  L"verdana.TTF"};

void RegisterFont(const std::wstring& title, const std::wstring& name) {
    const std::wstring valueName = title + L" (TrueType)";
    base::RegKey key;
    LSTATUS rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS, key.put());
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                            static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) throw base::Error(L"Failed to set data for '" + valueName + L"'");
    (void)RegFlushKey(key.get());
}

// Bounded: a hung top-level window must not stall the installation.
void BroadcastFontChange() {
    (void)SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 3000, nullptr);
}

}  // namespace

const std::vector<std::wstring_view>& FontList() {
    return kFonts;
}

void InstallOneFont(IInstallView& view, const std::wstring& name, const std::wstring& fontSource,
                    const std::wstring& fontsFolder) {
    const std::wstring installed = fontsFolder + name;
    if (base::FileExists(installed)) return;
    const std::wstring title = sysops::FontRegistryTitle(fontSource + name);
    (void)sysops::CopyOneFile(fontSource + name, installed);
    RegisterFont(title, name);
    (void)AddFontResourceW(installed.c_str());
    BroadcastFontChange();
    (void)RemoveFontResourceW(installed.c_str());
    BroadcastFontChange();
    view.AddLine(L"Шрифт <" + title + L"> уcтановлен");
}

void InstallFonts(IInstallView& view, const std::wstring& sourceFolder) {
    const std::wstring fontSource = sourceFolder + L"fonts\\";
    const std::wstring fontsFolder = sysops::GetWindowsFolder() + L"fonts\\";
    for (auto name : kFonts) InstallOneFont(view, std::wstring(name), fontSource, fontsFolder);
}

}  // namespace install
