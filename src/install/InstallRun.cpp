#include "install/InstallRun.h"

#include <windows.h>

#include <cstring>

#include "base/DateTime.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/IniFile.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "install/InstallFonts.h"
#include "install/InstallSteps.h"
#include "install/ReleaseDeploy.h"
#include "sysops/FileOps.h"
#include "sysops/Process.h"
#include "ui/FontSize.h"

namespace install {

namespace {

constexpr wchar_t kDone[] = L"Завершено";
constexpr wchar_t kFailed[] = L"ОШИБКА!!!";

const std::vector<std::wstring_view> kEngineWin7 = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
                                                    L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp80.Dll",
                                                    L"msvcr80.Dll",  L"firebird.msg",  L"gbak.exe",     L"gds32.dll"};
const std::vector<std::wstring_view> kEngineXp = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
                                                  L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp71.Dll",
                                                  L"msvcr71.Dll",  L"firebird.msg"};
const std::vector<std::wstring_view> kIntlFiles = {L"fbintl.conf", L"fbintl.dll"};
const std::vector<std::wstring_view> kUdfFiles = {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql",
                                                  L"ib_udf2.sql"};
const std::vector<std::wstring_view> kProcessingLibraries = {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll",
                                                             L"SDecision.Dll"};

// Holds the window busy (no closing, hourglass) and undoes that on every way out.
class BusyState {
public:
    explicit BusyState(IInstallView& view) : view_(view) { view_.SetBusy(true); }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;
    ~BusyState() { End(); }
    void End() {
        if (active_) {
            active_ = false;
            view_.SetBusy(false);
        }
    }

private:
    IInstallView& view_;
    bool active_ = true;
};

// The path page leaves the text with a trailing backslash; an empty text stays empty
// rather than becoming the root of the current drive.
// A relative text (the path page accepts "abc\") is made absolute against the
// current folder here, once: the release deployment changes the current folder
// before it writes the release record into the target.
std::wstring TargetFolder(const std::wstring& pathText) {
    std::wstring folder = base::Trim(pathText);
    if (folder.empty()) return folder;
    wchar_t full[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(folder.c_str(), MAX_PATH * 4, full, nullptr);
    if (n > 0 && n < MAX_PATH * 4) folder.assign(full, n);
    return base::IncludeTrailingBackslash(folder);
}

class Run {
public:
    Run(IInstallView& view, const RunInputs& in, const CopyRoutine& copy)
        : view_(view), in_(in), copy_(copy), target_(TargetFolder(in.pathText)), source_(in.sourceFolder) {}

    void Execute();

private:
    bool CreateTarget();
    void WriteSettings();
    bool DeployDatabase(BusyState& busy);
    bool CopyStep(std::wstring_view name, const std::wstring& from, const std::wstring& to);
    bool CopyList(const std::vector<std::wstring_view>& names, const std::wstring& from, const std::wstring& to);
    void CopyProcessingLibraries();
    void WriteLastNum();
    void WriteBtoothIni();
    void InstallDriver();

    IInstallView& view_;
    const RunInputs& in_;
    const CopyRoutine& copy_;
    const std::wstring target_;
    const std::wstring source_;
};

void Run::Execute() {
    view_.ClearLines();
    view_.ShowPage(Page::Progress);
    view_.ProcessMessages();
    if (!CreateTarget()) return;
    WriteSettings();
    {
        BusyState busy(view_);
        if (!DeployDatabase(busy)) return;
        CopyProcessingLibraries();
        WriteLastNum();
        if (in_.writeBtoothIni) WriteBtoothIni();
    }
    try {
        InstallFonts(view_, source_);
    } catch (...) {
        // A font that cannot be installed must not stop the installation.
    }
    if (in_.installDriver && view_.Confirm(L"Подключите интерфейсный блок и нажмите \"Yes\"?")) InstallDriver();
    DeployRelease(view_, target_, source_, {in_.productTitle, in_.productDescription, in_.mainProgram});
    FinishInstallation(view_, ui::IsSmallFonts());
}

bool Run::CreateTarget() {
    if (base::DirectoryExists(target_)) return true;
    if (!base::CreateDir(target_)) {
        view_.ShowError(L"Ошибка при создании каталога!");
        view_.AddLine(L"Ошибка при создании каталога!");
        return false;
    }
    view_.AddLine(L"Каталог создан...");
    view_.ProcessMessages();
    return true;
}

void Run::WriteSettings() {
    // The path page makes "Settings"; a target the run had to create itself lacks it.
    sysops::EnsureFolder(target_ + L"Settings\\");
    base::MemIniFile ini(target_ + L"Settings\\holter.ini");
    ini.WriteInteger(L"options", L"FilterType", 0);
    ini.WriteInteger(L"options", L"HardwareType", 1);
    ini.UpdateFile();
}

bool Run::DeployDatabase(BusyState& busy) {
    view_.ProcessMessages();
    int line = view_.AddLine(L"Создание настроечных файлов....");
    view_.ProcessMessages();
    sysops::EnsureFolder(target_ + L"Settings\\");
    view_.AppendToLine(line, kDone);

    const std::wstring dtaFolder = target_ + L"DTAfb\\";
    if (!base::DirectoryExists(dtaFolder)) {
        if (!base::CreateDir(dtaFolder)) {
            busy.End();
            view_.ShowError(L"Ошибка при создании каталога <DTAfb>!");
            view_.AddLine(L"Ошибка при создании каталога <DTAfb>!");
            return false;
        }
        view_.AddLine(L"Каталог <DTAfb> создан...");
        view_.ProcessMessages();
    }
    if (!CopyStep(L"VLB.FDB", source_ + L"DTAfb\\VLB.FDB", dtaFolder + L"VLB.FDB")) return false;

    const std::wstring engine = source_ + L"Firebird\\";
    if (!CopyList(EngineFiles(in_.windowsItem), engine, target_)) return false;
    if (!base::DirectoryExists(target_ + L"intl\\")) (void)base::CreateDir(target_ + L"intl\\");
    if (!CopyList(kIntlFiles, engine + L"intl\\", target_ + L"intl\\")) return false;
    if (!base::DirectoryExists(target_ + L"udf\\")) (void)base::CreateDir(target_ + L"udf\\");
    return CopyList(kUdfFiles, engine + L"udf\\", target_ + L"udf\\");
}

// One progress line per file; the result word lands on that line. A raised error
// leaves the line without a word.
bool Run::CopyStep(std::wstring_view name, const std::wstring& from, const std::wstring& to) {
    int line = view_.AddLine(L"Копирование файла " + std::wstring(name) + L"....");
    view_.ProcessMessages();
    bool copied = copy_(from, to);
    view_.AppendToLine(line, copied ? kDone : kFailed);
    return copied;
}

bool Run::CopyList(const std::vector<std::wstring_view>& names, const std::wstring& from, const std::wstring& to) {
    for (auto name : names)
        if (!CopyStep(name, from + std::wstring(name), to + std::wstring(name))) return false;
    return true;
}

// The processing libraries are optional: a failed copy is reported and the run goes on.
void Run::CopyProcessingLibraries() {
    for (auto name : kProcessingLibraries)
        (void)CopyStep(name, source_ + L"UDF\\" + std::wstring(name), target_ + L"udf\\" + std::wstring(name));
}

void Run::WriteLastNum() {
    const std::wstring settings = target_ + L"Settings\\";
    const std::wstring file = settings + L"lastnum.dta";
    if (!base::DirectoryExists(settings) || base::FileExists(file)) return;
    try {
        base::WriteFileBytes(file, LastNumRecord(base::NowDayCount()));
    } catch (const base::Error&) {
        // The counter file is a convenience; the complex recreates it when missing.
    }
}

void Run::WriteBtoothIni() {
    base::MemIniFile ini(target_ + L"btooth.ini");
    ini.WriteString(L"Common", L"Disk", L"I");
    ini.UpdateFile();
}

void Run::InstallDriver() {
    const std::wstring folder = source_ + L"FTDIDriverInstall";
    if (base::DirectoryExists(folder)) (void)sysops::ShellCopy(folder, target_ + L"FTDIDriverInstall");
    view_.AddLine(L"Началась установка драйверов устройства...");
    view_.RepaintLines();
    // Quoted: the target folder may contain blanks, and an unquoted path would let a
    // program named after a shorter prefix of it run instead.
    (void)sysops::RunProgram(sysops::QuotePath(target_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe"), 0, true);
    view_.AddLine(L"Установка драйверов устройства завершена");
}

}  // namespace

const std::vector<std::wstring_view>& EngineFiles(int windowsItem) {
    return windowsItem == 1 ? kEngineXp : kEngineWin7;
}

std::string LastNumRecord(double dayCount) {
    std::string record(14, '\0');
    // int16 0 and int32 0 stay zero; x86 and the file share the little-endian layout.
    static_assert(sizeof(double) == 8);
    std::memcpy(record.data() + 6, &dayCount, sizeof dayCount);
    return record;
}

void FinishInstallation(IInstallView& view, bool smallFonts) {
    if (smallFonts) {
        view.ShowPage(Page::ChangeFontSize);
        return;
    }
    if (view.Confirm(L"Установка завершена. Выйти из программы установки?")) view.CloseWindow();
}

void RunInstallationWith(IInstallView& view, const RunInputs& inputs, const CopyRoutine& copy) {
    Run(view, inputs, copy).Execute();
}

void RunInstallation(IInstallView& view, const RunInputs& inputs) {
    RunInstallationWith(view, inputs, sysops::CopyOneFile);
}

}  // namespace install
