#pragma once
// Fixtures of the installation-run tests: a recording window, a small distribution
// tree, and guards that put back what a run changes outside its temporary folders
// (desktop folder, current folder, fonts folder and font registrations).
#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "install/InstallView.h"

namespace installtest {

// Records everything the run does to the window, as one event list
// ("add:text", "append:2:word", "process", "busy:1", "error:text", ...), and the
// lines as the operator would read them. Questions are answered from a script;
// a question the script did not expect fails the test and is answered No.
class FakeView : public install::IInstallView {
public:
    std::vector<std::wstring> events;
    std::vector<std::wstring> lines;
    std::deque<bool> answers;
    bool busy = false;

    void ClearLines() override;
    int AddLine(const std::wstring& text) override;
    void AppendToLine(int index, const std::wstring& word) override;
    void RepaintLines() override;
    void ShowError(const std::wstring& text) override;
    bool Confirm(const std::wstring& text) override;
    void ProcessMessages() override;
    void SetBusy(bool value) override;
    void EnableExit() override;
    void ShowPage(install::Page page) override;
    void CloseWindow() override;

    bool Saw(const std::wstring& event) const;
};

// Builds the expected event list of a run step by step, keeping line indexes.
class ExpectedEvents {
public:
    std::vector<std::wstring> events;
    void Add(const std::wstring& e) { events.push_back(e); }
    // A line followed by a message-processing point.
    void Info(const std::wstring& line);
    // "Копирование файла " + name + "....", processing, result word.
    void Copy(const std::wstring& name, const std::wstring& word = L"Завершено");
    int AddLine(const std::wstring& line);

private:
    int lines_ = 0;
};

struct ReleaseFolder {
    std::wstring name;
    DWORD attributes = 0;
};

// A distribution below root (trailing backslash): database, engine files of both
// lists, the processing libraries, the driver installer (the probe helper), the
// release archive with the given folders (each with an Install.cmd leaving
// trace.txt) and the updater with a version-1 release record.
void MakeDistribution(const std::wstring& root, const std::vector<ReleaseFolder>& releases = {{L"R150320"}});
// The seven fonts of the list, taken from the system's DejaVu and Liberation fonts.
void AddFonts(const std::wstring& root);
// The font files used for each list name, and their full names.
struct FontSource {
    std::wstring listName, file, fullName;
};
const std::vector<FontSource>& FontSources();

std::wstring ReleaseInfoXml(int version, const std::wstring& level);
std::wstring ReadLevel(const std::wstring& releaseInfoPath);

// Points the per-user "Desktop" shell folder at another folder while it lives. Both
// "Shell Folders" (what the program reads) and "User Shell Folders" (from which Wine
// rewrites the former whenever a process resolves the desktop) are redirected. Under Wine
// it also keeps the menu-building helper from starting for new links: that helper sits in
// the run's current folder (the target) until the test program ends, so the temporary
// folders could not be removed.
class DesktopRedirect {
public:
    explicit DesktopRedirect(const std::wstring& folder);
    ~DesktopRedirect();
    DesktopRedirect(const DesktopRedirect&) = delete;
    DesktopRedirect& operator=(const DesktopRedirect&) = delete;

private:
    struct Saved {
        const wchar_t* key;
        const wchar_t* value;
        bool had = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    Saved saved_[3] = {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Desktop"},
                       {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", L"Desktop"},
                       {L"Software\\Wine\\DllOverrides", L"winemenubuilder.exe"}};
};

// Snapshot of the system's fonts folder (the list's files) and of the machine-wide font
// registrations; on destruction removes what was added and restores what was changed.
class FontsSandbox {
public:
    FontsSandbox();
    ~FontsSandbox();
    FontsSandbox(const FontsSandbox&) = delete;
    FontsSandbox& operator=(const FontsSandbox&) = delete;

    const std::wstring& FontsFolder() const { return fontsFolder_; }
    bool AnyListFontInstalled() const;
    // Registry values now in the font list that the snapshot did not hold, or held otherwise.
    std::map<std::wstring, std::wstring> ChangedValues() const;
    // Puts a file of that name into the fonts folder (removed again at the end).
    void Plant(const std::wstring& listName) const;
    void SetValue(const std::wstring& name, const std::wstring& data) const;

private:
    std::wstring fontsFolder_;
    std::map<std::wstring, bool> filesBefore_;
    std::map<std::wstring, std::wstring> valuesBefore_;
};

std::map<std::wstring, std::wstring> ReadFontValues();

}  // namespace installtest
