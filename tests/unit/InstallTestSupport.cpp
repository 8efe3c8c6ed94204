#include "InstallTestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "TestSupport.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "install/InstallFonts.h"
#include "install/InstallSteps.h"
#include "sysops/Fonts.h"

namespace installtest {

namespace {

constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

void MakeFolder(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << base::ToUtf8(path);
}

void Put(const std::wstring& path, const std::string& bytes) {
    testsupport::WriteFile(path, bytes);
}

void PutNames(const std::wstring& folder, const std::vector<std::wstring_view>& names) {
    for (auto name : names) Put(folder + std::wstring(name), base::ToUtf8(name));
}

}  // namespace

void FakeView::ClearLines() {
    lines.clear();
    events.push_back(L"clear");
}

int FakeView::AddLine(const std::wstring& text) {
    lines.push_back(text);
    events.push_back(L"add:" + text);
    return static_cast<int>(lines.size()) - 1;
}

void FakeView::AppendToLine(int index, const std::wstring& word) {
    EXPECT_GE(index, 0);
    EXPECT_LT(index, static_cast<int>(lines.size()));
    if (index >= 0 && index < static_cast<int>(lines.size())) lines[index] += word;
    events.push_back(L"append:" + std::to_wstring(index) + L":" + word);
}

void FakeView::RepaintLines() {
    events.push_back(L"repaint");
}
void FakeView::ShowError(const std::wstring& text) {
    events.push_back(L"error:" + text);
}

bool FakeView::Confirm(const std::wstring& text) {
    events.push_back(L"confirm:" + text);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << base::ToUtf8(text);
        return false;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeView::ProcessMessages() {
    events.push_back(L"process");
}

void FakeView::SetBusy(bool value) {
    EXPECT_NE(busy, value) << "busy state set twice to the same value";
    busy = value;
    events.push_back(value ? L"busy:1" : L"busy:0");
}

void FakeView::EnableExit() {
    events.push_back(L"exit");
}

void FakeView::ShowPage(install::Page page) {
    events.push_back(page == install::Page::Progress ? L"page:progress" : L"page:fontsize");
}

void FakeView::CloseWindow() {
    events.push_back(L"close");
}

bool FakeView::Saw(const std::wstring& event) const {
    for (const auto& e : events)
        if (e == event) return true;
    return false;
}

int ExpectedEvents::AddLine(const std::wstring& line) {
    events.push_back(L"add:" + line);
    return lines_++;
}

void ExpectedEvents::Info(const std::wstring& line) {
    AddLine(line);
    Add(L"process");
}

void ExpectedEvents::Copy(const std::wstring& name, const std::wstring& word) {
    int index = AddLine(L"Копирование файла " + name + L"....");
    Add(L"process");
    if (!word.empty()) Add(L"append:" + std::to_wstring(index) + L":" + word);
}

void MakeDistribution(const std::wstring& root, const std::vector<ReleaseFolder>& releases) {
    MakeFolder(root + L"DTAfb");
    Put(root + L"DTAfb\\VLB.FDB", "working database");
    MakeFolder(root + L"Firebird");
    PutNames(root + L"Firebird\\", install::EngineFiles(0));
    PutNames(root + L"Firebird\\", install::EngineFiles(1));
    MakeFolder(root + L"Firebird\\intl");
    PutNames(root + L"Firebird\\intl\\", {L"fbintl.conf", L"fbintl.dll"});
    MakeFolder(root + L"Firebird\\udf");
    PutNames(root + L"Firebird\\udf\\", {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql", L"ib_udf2.sql"});
    MakeFolder(root + L"UDF");
    PutNames(root + L"UDF\\", {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll", L"SDecision.Dll"});

    MakeFolder(root + L"FTDIDriverInstall");
    ASSERT_TRUE(CopyFileW((testsupport::BinFolder() + L"install_probe.exe").c_str(),
                          (root + L"FTDIDriverInstall\\FTDIDriverInstall.exe").c_str(), FALSE));

    MakeFolder(root + L"backup");
    for (const auto& release : releases) {
        const std::wstring folder = root + L"backup\\" + release.name;
        MakeFolder(folder);
        // The release puts the main program into the target folder (two levels up), so the
        // shell's helper for the new desktop link finds its target and does not wait for it.
        Put(folder + L"\\Install.cmd", "@echo ran>trace.txt\r\n@echo shell>..\\..\\Shell.exe\r\n");
        if (release.attributes) {
            ASSERT_TRUE(SetFileAttributesW(folder.c_str(), release.attributes));
        }
    }

    MakeFolder(root + L"Updater");
    Put(root + L"Updater\\ReleaseInfo", base::ToUtf8(ReleaseInfoXml(1, L"old")));
    Put(root + L"Updater\\Updater.exe.cfg", "<configuration/>");
    Put(root + L"Updater\\Updater.exe", "updater");
    // Distributions come from read-only media.
    SetFileAttributesW((root + L"Updater\\ReleaseInfo").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((root + L"Updater\\Updater.exe.cfg").c_str(), FILE_ATTRIBUTE_READONLY);
}

const std::vector<FontSource>& FontSources() {
    static const std::vector<FontSource> sources = {
        {L"ARIAL.TTF", L"dejavu\\DejaVuSans.ttf", L"DejaVu Sans"},
        {L"ARIALN.TTF", L"dejavu\\DejaVuSans-Bold.ttf", L"DejaVu Sans Bold"},
        {L"COUR.TTF", L"dejavu\\DejaVuSansMono.ttf", L"DejaVu Sans Mono"},
        {L"MICROSS.TTF", L"dejavu\\DejaVuSerif.ttf", L"DejaVu Serif"},
        {L"TAHOMA.TTF", L"dejavu\\DejaVuSerif-Bold.ttf", L"DejaVu Serif Bold"},
        {L"TIMES.TTF", L"liberation\\LiberationSerif-Regular.ttf", L"Liberation Serif"},
        {L"verdana.TTF", L"liberation\\LiberationSans-Regular.ttf", L"Liberation Sans"},
    };
    return sources;
}

void AddFonts(const std::wstring& root) {
    MakeFolder(root + L"fonts");
    for (const auto& font : FontSources())
        ASSERT_TRUE(CopyFileW((L"Z:\\usr\\share\\fonts\\truetype\\" + font.file).c_str(),
                              (root + L"fonts\\" + font.listName).c_str(), FALSE))
            << base::ToUtf8(font.file);
}

std::wstring ReleaseInfoXml(int version, const std::wstring& level) {
    return L"<?xml version=\"1.0\"?>\r\n<ROOT><Version>" + std::to_wstring(version) + L"</Version><Level>" + level +
           L"</Level><Other>kept</Other></ROOT>\r\n";
}

std::wstring ReadLevel(const std::wstring& releaseInfoPath) {
    std::string xml = testsupport::ReadFile(releaseInfoPath);
    size_t start = xml.find("<Level>"), end = xml.find("</Level>");
    if (start == std::string::npos || end == std::string::npos || end < start) return L"?";
    return base::FromUtf8(xml.substr(start + 7, end - start - 7));
}

DesktopRedirect::DesktopRedirect(const std::wstring& folder) {
    for (auto& saved : saved_) {
        const bool menuBuilder = saved.value == saved_[2].value;
        if (menuBuilder && !testsupport::IsWine()) continue;
        base::RegKey key;
        EXPECT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, saved.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), saved.value, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.had = RegQueryValueExW(key.get(), saved.value, nullptr, &saved.type, saved.data.data(), &size) ==
                        ERROR_SUCCESS;
        }
        const std::wstring data = menuBuilder ? std::wstring() : folder;  // "" disables a Wine program
        EXPECT_EQ(RegSetValueExW(key.get(), saved.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
}

DesktopRedirect::~DesktopRedirect() {
    for (const auto& saved : saved_) {
        if (saved.value == saved_[2].value && !testsupport::IsWine()) continue;
        base::RegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, saved.key, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) continue;
        if (saved.had)
            RegSetValueExW(key.get(), saved.value, 0, saved.type, saved.data.data(),
                           static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteValueW(key.get(), saved.value);
    }
}

std::map<std::wstring, std::wstring> ReadFontValues() {
    std::map<std::wstring, std::wstring> values;
    base::RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        nameLength = 16384;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &size) != ERROR_SUCCESS)
            break;
        values[std::wstring(name, nameLength)] = type == REG_SZ ? std::wstring(data.data()) : L"<non-text>";
    }
    return values;
}

FontsSandbox::FontsSandbox() : fontsFolder_(sysops::GetWindowsFolder() + L"fonts\\") {
    for (auto name : install::FontList())
        filesBefore_[std::wstring(name)] =
            GetFileAttributesW((fontsFolder_ + std::wstring(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    valuesBefore_ = ReadFontValues();
}

FontsSandbox::~FontsSandbox() {
    for (const auto& [name, existed] : filesBefore_) {
        if (existed) continue;
        const std::wstring path = fontsFolder_ + name;
        for (int i = 0; i < 4 && RemoveFontResourceW(path.c_str()); ++i) {
        }
        DeleteFileW(path.c_str());
    }
    base::RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    for (const auto& [name, data] : ReadFontValues()) {
        auto before = valuesBefore_.find(name);
        if (before == valuesBefore_.end())
            RegDeleteValueW(key.get(), name.c_str());
        else if (before->second != data)
            RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(before->second.c_str()),
                           static_cast<DWORD>((before->second.size() + 1) * sizeof(wchar_t)));
    }
}

bool FontsSandbox::AnyListFontInstalled() const {
    for (const auto& [name, existed] : filesBefore_)
        if (existed) return true;
    return false;
}

std::map<std::wstring, std::wstring> FontsSandbox::ChangedValues() const {
    std::map<std::wstring, std::wstring> changed;
    for (const auto& [name, data] : ReadFontValues()) {
        auto before = valuesBefore_.find(name);
        if (before == valuesBefore_.end() || before->second != data) changed[name] = data;
    }
    return changed;
}

void FontsSandbox::Plant(const std::wstring& listName) const {
    EXPECT_TRUE(filesBefore_.count(listName));
    Put(fontsFolder_ + listName, "planted");
}

void FontsSandbox::SetValue(const std::wstring& name, const std::wstring& data) const {
    base::RegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS, key.put()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}


}  // namespace installtest
