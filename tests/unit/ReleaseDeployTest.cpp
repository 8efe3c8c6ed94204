// The release deployment at the end of the run: archive and updater copied, the
// newest release's script run, the release recorded, the desktop shortcut made.
#include <gtest/gtest.h>

#include <functional>

#include "InstallTestSupport.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Text.h"
#include "install/ReleaseDeploy.h"

namespace {

using installtest::FakeView;
using installtest::ReleaseFolder;
using testsupport::CurrentFolder;
using testsupport::TempDir;

const install::ShortcutStrings kStrings{L"Велтон - Dozevo", L"Комплекс суточного мониторирования электрокардиограмм",
                                        L"Shell.exe"};

class ReleaseDeployTest : public ::testing::Test {
protected:
    TempDir tmp;
    const std::wstring dist = tmp / L"dist\\";
    const std::wstring target = tmp / L"Holter Target\\";
    const std::wstring desktop = tmp / L"desktop";
    installtest::DesktopRedirect redirect{desktop};
    testsupport::CurrentFolderScope cwd;
    FakeView view;

    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(dist.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(desktop.c_str(), nullptr));
    }

    // Builds the distribution, lets the case change it, deploys; gives the raised error text.
    std::wstring Deploy(
        const std::vector<ReleaseFolder>& releases, const std::function<void()>& change = [] {}) {
        EXPECT_NO_FATAL_FAILURE(installtest::MakeDistribution(dist, releases));
        change();
        try {
            install::DeployRelease(view, target, dist, kStrings);
        } catch (const base::Error& e) {
            return e.Message();
        }
        return L"";
    }
    bool ScriptRan(const std::wstring& release) {
        return base::FileExists(target + L"backup\\" + release + L"\\trace.txt");
    }
    std::wstring Link() const { return desktop + L"\\Велтон - Dozevo.lnk"; }
};

TEST(ReleaseKey, DateAtTheEndOfThePathReadsAsYearMonthDay) {
    struct Case {
        std::wstring path;
        int key;
    } good[] = {{L"C:\\t\\backup\\R150320", 200315},
                {L"C:\\t\\backup\\A010120", 200101},
                {L"C:\\t\\backup\\B311219", 191231},
                {L"150320", 200315}};
    for (const auto& c : good) EXPECT_EQ(install::ReleaseKey(c.path), c.key) << base::ToUtf8(c.path);

    struct Bad {
        std::wstring path, message;
    } bad[] = {
        {L"C:\\t\\backup\\Rabcdef", L"'efcdab' is not a valid integer value"},
        {L"C:\\t\\backup\\R15032x", L"'2x0315' is not a valid integer value"},
        {L"C:\\t\\backup\\R 50320", L"'2003 5' is not a valid integer value"},
        {L"C:\\t\\backup\\R+12345", L"'4523+1' is not a valid integer value"},
        {L"C:\\t\\backup\\R0x1234", L"'34120x' is not a valid integer value"},
    };
    for (const auto& c : bad) {
        try {
            install::ReleaseKey(c.path);
            ADD_FAILURE() << "no error for " << base::ToUtf8(c.path);
        } catch (const base::Error& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST(ChooseNewestRelease, SortsByNameAndTakesTheFirstOfTheNewestDate) {
    std::vector<std::wstring> folders = {L"C:\\b\\B150320", L"C:\\b\\c010120", L"C:\\b\\A150320"};
    EXPECT_EQ(install::ChooseNewestRelease(folders), 0u);
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"C:\\b\\A150320", L"C:\\b\\B150320", L"C:\\b\\c010120"}));

    std::vector<std::wstring> none;
    try {
        install::ChooseNewestRelease(none);
        ADD_FAILURE() << "no error for an empty list";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (0)");
    }
}

TEST_F(ReleaseDeployTest, NewestReleaseIsInstalledRecordedAndLinkedOnTheDesktop) {
    EXPECT_EQ(Deploy({{L"A010120"}, {L"B311219"}, {L"C150320"}}), L"");
    EXPECT_EQ(view.events, std::vector<std::wstring>{L"exit"}) << "the stretch writes no lines";
    EXPECT_TRUE(ScriptRan(L"C150320"));
    EXPECT_FALSE(ScriptRan(L"A010120"));
    EXPECT_FALSE(ScriptRan(L"B311219"));
    EXPECT_EQ(installtest::ReadLevel(target + L"ReleaseInfo"), L"150320");
    EXPECT_NE(testsupport::ReadFile(target + L"ReleaseInfo").find("<Other>kept</Other>"), std::string::npos);
    EXPECT_EQ(GetFileAttributesW((target + L"ReleaseInfo").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(GetFileAttributesW((target + L"Updater.exe.cfg").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(base::FileExists(target + L"Updater.exe"));
    EXPECT_TRUE(base::SameText(CurrentFolder(), target));

    const testsupport::LinkProperties link = testsupport::ReadLink(Link());
    EXPECT_TRUE(base::SameText(link.path, target + L"Shell.exe")) << base::ToUtf8(link.path);
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.description, L"Комплекс суточного мониторирования электрокардиограмм \"Велтон - Dozevo\"");
    EXPECT_EQ(link.workingFolder, target);
}

TEST_F(ReleaseDeployTest, ChoiceAmongEqualDatesAndReservedOrHiddenFolders) {
    struct Case {
        const char* what;
        std::vector<ReleaseFolder> releases;
        std::wstring chosen;
    } cases[] = {
        {"equal dates", {{L"B150320"}, {L"A150320"}}, L"A150320"},
        {"reserved and hidden", {{L"WithOutAnswer"}, {L"R010120"}, {L"Z311299", FILE_ATTRIBUTE_HIDDEN}}, L"R010120"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseTmp;
        FakeView caseView;
        const std::wstring caseDist = caseTmp / L"dist\\", caseTarget = caseTmp / L"target\\";
        ASSERT_TRUE(CreateDirectoryW(caseDist.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(caseTarget.c_str(), nullptr));
        ASSERT_NO_FATAL_FAILURE(installtest::MakeDistribution(caseDist, c.releases));
        {
            testsupport::CurrentFolderScope caseCwd;
            install::DeployRelease(caseView, caseTarget, caseDist, kStrings);
        }
        for (const auto& release : c.releases) {
            if (release.attributes & FILE_ATTRIBUTE_HIDDEN) {
                EXPECT_FALSE(base::DirectoryExists(caseTarget + L"backup\\" + release.name)) << "hidden folder copied";
                continue;
            }
            EXPECT_EQ(base::FileExists(caseTarget + L"backup\\" + release.name + L"\\trace.txt"),
                      release.name == c.chosen)
                << base::ToUtf8(release.name);
        }
        EXPECT_EQ(installtest::ReadLevel(caseTarget + L"ReleaseInfo"), c.chosen.substr(1));
        EXPECT_EQ(caseView.events, std::vector<std::wstring>{L"exit"});
    }
}

TEST_F(ReleaseDeployTest, FailuresStopBeforeTheShortcutAndTheExitButton) {
    struct Case {
        const char* what;
        std::vector<ReleaseFolder> releases;
        std::wstring remove;  // relative to the distribution
        std::wstring recordVersion2;
        std::wstring message;
        bool scriptRan;
    } cases[] = {
        {"empty archive", {}, L"", L"", L"List index out of bounds (0)", false},
        {"date that is no number",
         {{L"R150320"}, {L"Rabcdef"}},
         L"",
         L"",
         L"'efcdab' is not a valid integer value",
         false},
        {"script missing", {{L"R150320"}}, L"backup\\R150320\\Install.cmd", L"", L"", false},
        {"record missing", {{L"R150320"}}, L"Updater\\ReleaseInfo", L"", L"Release info file does not exist", true},
        {"record of version 2",
         {{L"R150320"}},
         L"",
         L"2",
         L"Cannot get release information, error: unknown release file version",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseTmp;
        FakeView caseView;
        const std::wstring caseDist = caseTmp / L"dist\\", caseTarget = caseTmp / L"target\\";
        ASSERT_TRUE(CreateDirectoryW(caseDist.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(caseTarget.c_str(), nullptr));
        ASSERT_NO_FATAL_FAILURE(installtest::MakeDistribution(caseDist, c.releases));
        if (!c.remove.empty()) {
            SetFileAttributesW((caseDist + c.remove).c_str(), FILE_ATTRIBUTE_NORMAL);
            ASSERT_TRUE(DeleteFileW((caseDist + c.remove).c_str()));
        }
        if (!c.recordVersion2.empty()) {
            SetFileAttributesW((caseDist + L"Updater\\ReleaseInfo").c_str(), FILE_ATTRIBUTE_NORMAL);
            testsupport::WriteFile(caseDist + L"Updater\\ReleaseInfo",
                                   base::ToUtf8(installtest::ReleaseInfoXml(2, L"old")));
        }
        std::wstring message;
        {
            testsupport::CurrentFolderScope caseCwd;
            try {
                install::DeployRelease(caseView, caseTarget, caseDist, kStrings);
            } catch (const base::Error& e) {
                message = e.Message();
            }
        }
        const std::wstring expected =
            c.message.empty() ? L"не смог создать процесс: " + caseTarget + L"backup\\R150320\\Install.cmd" : c.message;
        EXPECT_EQ(message, expected);
        EXPECT_TRUE(caseView.events.empty()) << "no lines, no Exit button";
        EXPECT_EQ(base::FileExists(caseTarget + L"backup\\R150320\\trace.txt"), c.scriptRan);
        EXPECT_TRUE(base::FileExists(caseTarget + L"Updater.exe")) << "the updater is copied first";
        if (base::FileExists(caseTarget + L"ReleaseInfo")) {
            EXPECT_EQ(installtest::ReadLevel(caseTarget + L"ReleaseInfo"), L"old");
        }
        EXPECT_FALSE(base::FileExists(Link()));
    }
}

}  // namespace
