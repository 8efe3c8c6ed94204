// The installation run driven in-process against real folders: a small
// distribution in a temporary folder, a recording window, the desktop and the
// current folder put back afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "InstallTestSupport.h"
#include "TestSupport.h"
#include "base/DateTime.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Text.h"
#include "install/InstallRun.h"
#include "install/InstallSteps.h"
#include "sysops/FileOps.h"
#include "ui/FontSize.h"

namespace {

using installtest::ExpectedEvents;
using installtest::FakeView;
using testsupport::CurrentFolder;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

const std::wstring kDone = L"Завершено";
const std::wstring kFailed = L"ОШИБКА!!!";
const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";

class InstallRunTest : public ::testing::Test {
protected:
    TempDir tmp;
    const std::wstring dist = tmp / L"dist\\";
    // A blank in the target folder: the driver installer's path must be quoted.
    const std::wstring target = tmp / L"Holter Target\\";
    const std::wstring desktop = tmp / L"desktop\\";
    installtest::DesktopRedirect redirect{base::ExcludeTrailingBackslash(desktop)};
    testsupport::CurrentFolderScope cwd;
    installtest::FontsSandbox fonts;
    FakeView view;
    install::RunInputs in;

    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(dist.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(desktop.c_str(), nullptr));
        ASSERT_NO_FATAL_FAILURE(installtest::MakeDistribution(dist));
        in.pathText = L"  " + target + L" ";
        in.sourceFolder = dist;
        in.productTitle = L"Велтон - Dozevo";
        in.productDescription = L"Комплекс суточного мониторирования электрокардиограмм";
        in.mainProgram = L"Shell.exe";
    }

    void PrepareTarget() {
        ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((target + L"Settings").c_str(), nullptr));
    }

    // Events of a run on a prepared target up to the end of the busy stretch.
    ExpectedEvents BusyStretch(bool targetCreated, bool dtaCreated) {
        ExpectedEvents e;
        e.Add(L"clear");
        e.Add(L"page:progress");
        e.Add(L"process");
        if (targetCreated) e.Info(L"Каталог создан...");
        e.Add(L"busy:1");
        e.Add(L"process");
        int settings = e.AddLine(L"Создание настроечных файлов....");
        e.Add(L"process");
        e.Add(L"append:" + std::to_wstring(settings) + L":" + kDone);
        if (dtaCreated) e.Info(L"Каталог <DTAfb> создан...");
        e.Copy(L"VLB.FDB");
        for (auto name : install::EngineFiles(0)) e.Copy(std::wstring(name));
        for (auto name : {L"fbintl.conf", L"fbintl.dll", L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql",
                          L"ib_udf2.sql", L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll", L"SDecision.Dll"})
            e.Copy(name);
        e.Add(L"busy:0");
        return e;
    }
};

TEST_F(InstallRunTest, CompleteRunOnANewTargetReportsEveryStepInOrder) {
    ASSERT_TRUE(ui::IsSmallFonts()) << "the test prefix runs at 96 dpi";
    // Found first by an unquoted command line: it must not run.
    ASSERT_TRUE(
        CopyFileW((testsupport::BinFolder() + L"install_probe.exe").c_str(), (tmp / L"Holter.exe").c_str(), FALSE));
    view.answers = {true};
    const double before = base::NowDayCount();
    install::RunInstallation(view, in);
    const double after = base::NowDayCount();

    ExpectedEvents e = BusyStretch(true, true);
    e.Add(L"confirm:" + kDriverQuestion);
    e.AddLine(L"Началась установка драйверов устройства...");
    e.Add(L"repaint");
    e.AddLine(L"Установка драйверов устройства завершена");
    e.Add(L"exit");
    e.Add(L"page:fontsize");
    EXPECT_EQ(view.events, e.events);
    EXPECT_EQ(view.lines[6], L"Копирование файла fbclient.Dll....Завершено");

    EXPECT_EQ(ReadFile(target + L"DTAfb\\VLB.FDB"), "working database");
    for (auto name : install::EngineFiles(0)) EXPECT_TRUE(base::FileExists(target + std::wstring(name)));
    EXPECT_FALSE(base::FileExists(target + L"msvcp71.Dll"));
    EXPECT_TRUE(base::FileExists(target + L"intl\\fbintl.dll"));
    EXPECT_TRUE(base::FileExists(target + L"udf\\ib_udf2.sql"));
    EXPECT_EQ(ReadFile(target + L"udf\\SDecision.Dll"), "SDecision.Dll");
    EXPECT_EQ(ReadFile(target + L"Settings\\holter.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
    EXPECT_FALSE(base::FileExists(target + L"btooth.ini"));

    const std::string counter = ReadFile(target + L"Settings\\lastnum.dta");
    ASSERT_EQ(counter.size(), 14u);
    EXPECT_EQ(counter.substr(0, 6), std::string(6, '\0'));
    double stamp = 0;
    std::memcpy(&stamp, counter.data() + 6, 8);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);

    const std::wstring installer = target + L"FTDIDriverInstall\\FTDIDriverInstall.exe";
    ASSERT_TRUE(base::FileExists(installer + L".trace")) << "the driver installer did not run";
    const std::string traceBytes = ReadFile(installer + L".trace");
    const std::wstring trace(reinterpret_cast<const wchar_t*>(traceBytes.data()), traceBytes.size() / sizeof(wchar_t));
    EXPECT_TRUE(trace.starts_with(L"\"" + installer + L"\"")) << base::ToUtf8(trace);
    EXPECT_FALSE(base::FileExists(tmp / L"Holter.exe.trace")) << "an unquoted path started the decoy";

    EXPECT_TRUE(base::FileExists(target + L"backup\\R150320\\trace.txt"));
    EXPECT_EQ(installtest::ReadLevel(target + L"ReleaseInfo"), L"150320");
    EXPECT_TRUE(base::FileExists(target + L"Updater.exe"));
    EXPECT_TRUE(base::FileExists(desktop + L"Велтон - Dozevo.lnk"));
    EXPECT_TRUE(base::SameText(CurrentFolder(), target));
}

// The path page accepts a relative folder (it lies in the program's folder); the
// release deployment moves the current folder before it writes the record.
TEST_F(InstallRunTest, RelativeTargetIsInstalledWhereThePathPageCreatedIt) {
    ASSERT_TRUE(SetCurrentDirectoryW(tmp.Path().c_str()));
    ASSERT_TRUE(CreateDirectoryW((tmp / L"abc").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((tmp / L"abc\\Settings").c_str(), nullptr));
    in.pathText = L"abc\\";
    view.answers = {false};
    install::RunInstallation(view, in);
    EXPECT_EQ(installtest::ReadLevel(tmp / L"abc\\ReleaseInfo"), L"150320");
    EXPECT_TRUE(base::SameText(CurrentFolder(), tmp / L"abc\\"));
    EXPECT_TRUE(base::FileExists(desktop + L"Велтон - Dozevo.lnk"));
}

TEST_F(InstallRunTest, PreparedTargetKeepsItsSettingsAndCounterAndWritesBtoothIniOnRequest) {
    PrepareTarget();
    ASSERT_TRUE(CreateDirectoryW((target + L"DTAfb").c_str(), nullptr));
    WriteFile(target + L"Settings\\holter.ini",
              "[Common]\r\nLanguage=1\r\n\r\n[options]\r\nFilterType=3\r\nPrinter=HP\r\n");
    WriteFile(target + L"Settings\\lastnum.dta", "abc");
    in.writeBtoothIni = true;
    view.answers = {false};
    install::RunInstallation(view, in);

    ExpectedEvents e = BusyStretch(false, false);
    e.Add(L"confirm:" + kDriverQuestion);
    e.Add(L"exit");
    e.Add(L"page:fontsize");
    EXPECT_EQ(view.events, e.events);
    EXPECT_EQ(ReadFile(target + L"Settings\\holter.ini"),
              "[Common]\r\nLanguage=1\r\n\r\n[options]\r\nFilterType=0\r\nPrinter=HP\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFile(target + L"Settings\\lastnum.dta"), "abc");
    EXPECT_EQ(ReadFile(target + L"btooth.ini"), "[Common]\r\nDisk=I\r\n\r\n");
    EXPECT_FALSE(base::DirectoryExists(target + L"FTDIDriverInstall")) << "No must not copy the driver";
}

TEST_F(InstallRunTest, ClearedDriverBoxAsksNothingAndWindowsXpTakesItsOwnEngineList) {
    PrepareTarget();
    in.installDriver = false;
    in.windowsItem = 1;
    install::RunInstallation(view, in);

    std::vector<std::wstring> engineLines;
    for (size_t i = 0; i < view.lines.size(); ++i)
        if (view.lines[i].starts_with(L"Копирование файла ") && i > 2 && engineLines.size() < 10)
            engineLines.push_back(view.lines[i]);
    std::vector<std::wstring> expected;
    for (auto name : install::EngineFiles(1))
        expected.push_back(L"Копирование файла " + std::wstring(name) + L"...." + kDone);
    EXPECT_EQ(engineLines, expected);
    EXPECT_TRUE(base::FileExists(target + L"msvcr71.Dll"));
    EXPECT_FALSE(base::FileExists(target + L"gbak.exe"));
    for (const auto& event : view.events) EXPECT_FALSE(event.starts_with(L"confirm:")) << base::ToUtf8(event);
    EXPECT_TRUE(view.Saw(L"exit"));
}

TEST_F(InstallRunTest, TargetWhoseParentIsMissingReportsOnceAndWritesNothing) {
    in.pathText = tmp / L"missing\\child\\";
    install::RunInstallation(view, in);
    const std::vector<std::wstring> expected = {L"clear", L"page:progress", L"process",
                                                L"error:Ошибка при создании каталога!",
                                                L"add:Ошибка при создании каталога!"};
    EXPECT_EQ(view.events, expected);
    EXPECT_FALSE(base::DirectoryExists(tmp / L"missing"));
}

TEST_F(InstallRunTest, DtaFolderThatCannotBeCreatedLeavesTheBusyStateBeforeItsErrorBox) {
    PrepareTarget();
    WriteFile(target + L"DTAfb", "a file in the way");
    install::RunInstallation(view, in);

    ExpectedEvents e;
    for (auto ev : {L"clear", L"page:progress", L"process", L"busy:1", L"process"}) e.Add(ev);
    e.AddLine(L"Создание настроечных файлов....");
    e.Add(L"process");
    e.Add(L"append:0:" + kDone);
    e.Add(L"busy:0");
    e.Add(L"error:Ошибка при создании каталога <DTAfb>!");
    e.AddLine(L"Ошибка при создании каталога <DTAfb>!");
    EXPECT_EQ(view.events, e.events);
}

// Failures inside the copy steps: a source that cannot be opened raises (the line keeps no
// result word), a failed content copy marks its line; only the processing libraries go on.
TEST_F(InstallRunTest, CopyFailuresEndTheRunExceptForProcessingLibraries) {
    struct Case {
        const char* what;
        std::wstring removeFromDistribution;  // relative to the distribution
        std::wstring failingCopy;             // file name whose content copy fails
        std::wstring lastLine;
        bool raises;
        bool goesOn;
    };
    const Case cases[] = {
        {"database missing", L"DTAfb\\VLB.FDB", L"", L"Копирование файла VLB.FDB....", true, false},
        {"engine file missing", L"Firebird\\icuin30.Dll", L"", L"Копирование файла icuin30.Dll....", true, false},
        {"engine copy fails", L"", L"fbclient.Dll", L"Копирование файла fbclient.Dll....ОШИБКА!!!", false, false},
        {"intl copy fails", L"", L"fbintl.dll", L"Копирование файла fbintl.dll....ОШИБКА!!!", false, false},
        {"udf copy fails", L"", L"ib_udf.sql", L"Копирование файла ib_udf.sql....ОШИБКА!!!", false, false},
        {"library copy fails", L"", L"PosStr.Dll", L"Копирование файла SDecision.Dll....Завершено", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseTmp;
        testsupport::CurrentFolderScope caseCwd;
        const std::wstring caseDist = caseTmp / L"dist\\", caseTarget = caseTmp / L"target\\";
        ASSERT_TRUE(CreateDirectoryW(caseDist.c_str(), nullptr));
        ASSERT_NO_FATAL_FAILURE(installtest::MakeDistribution(caseDist));
        if (!c.removeFromDistribution.empty()) {
            ASSERT_TRUE(DeleteFileW((caseDist + c.removeFromDistribution).c_str()));
        }
        ASSERT_TRUE(CreateDirectoryW(caseTarget.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((caseTarget + L"Settings").c_str(), nullptr));
        install::RunInputs caseIn = in;
        caseIn.pathText = caseTarget;
        caseIn.sourceFolder = caseDist;
        caseIn.installDriver = false;
        auto copy = [&](const std::wstring& from, const std::wstring& to) {
            if (base::ExtractFileName(from) != c.failingCopy) return sysops::CopyOneFile(from, to);
            WriteFile(to, "part");  // as a full disk leaves it
            return false;
        };
        FakeView caseView;
        std::wstring error;
        try {
            install::RunInstallationWith(caseView, caseIn, copy);
        } catch (const base::Error& e) {
            error = e.Message();
        }
        if (c.raises)
            EXPECT_TRUE(error.starts_with(L"Cannot open file \"" + caseDist + c.removeFromDistribution + L"\". "))
                << base::ToUtf8(error);
        else
            EXPECT_EQ(error, L"");
        EXPECT_FALSE(caseView.busy);
        EXPECT_TRUE(caseView.Saw(L"busy:0"));
        EXPECT_EQ(caseView.Saw(L"exit"), c.goesOn);
        if (c.goesOn) {
            const std::wstring failedLine = L"Копирование файла " + c.failingCopy + L"...." + kFailed;
            EXPECT_NE(std::find(caseView.lines.begin(), caseView.lines.end(), failedLine), caseView.lines.end());
            EXPECT_EQ(caseView.lines.back(), c.lastLine);
        } else {
            ASSERT_FALSE(caseView.lines.empty());
            EXPECT_EQ(caseView.lines.back(), c.lastLine);
            // Nothing after the failed step: the busy state is undone and the run is over.
            EXPECT_EQ(caseView.events.back(), L"busy:0");
        }
    }
}

TEST(InstallCompletion, SmallFontsShowTheFontSizePageOtherwiseTheOperatorMayLeave) {
    struct Case {
        bool smallFonts;
        std::deque<bool> answers;
        std::vector<std::wstring> events;
    };
    const std::wstring question = L"confirm:Установка завершена. Выйти из программы установки?";
    const Case cases[] = {
        {true, {}, {L"page:fontsize"}},
        {false, {true}, {question, L"close"}},
        {false, {false}, {question}},
    };
    for (const auto& c : cases) {
        FakeView view;
        view.answers = c.answers;
        install::FinishInstallation(view, c.smallFonts);
        EXPECT_EQ(view.events, c.events);
    }
}

TEST(InstallCounterFile, RecordIsFourteenLittleEndianBytes) {
    const std::string record = install::LastNumRecord(43905.25);
    ASSERT_EQ(record.size(), 14u);
    EXPECT_EQ(record.substr(0, 6), std::string(6, '\0'));
    // 43905.25 as an IEEE-754 double, least significant byte first.
    EXPECT_EQ(record.substr(6), std::string("\x00\x00\x00\x00\x28\x70\xE5\x40", 8));
}

}  // namespace
