// The font-size check and the large-fonts switch. RestartWindows is never called
// here: it would end every process of the test prefix.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "ui/FontSize.h"

namespace {

using testsupport::BinFolder;

TEST(IsSmallFonts, FollowsTheScreensHorizontalResolution) {
    base::WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    EXPECT_EQ(ui::IsSmallFonts(), dpi < 100);
    if (testsupport::IsWine()) {
        EXPECT_TRUE(ui::IsSmallFonts()) << "the test prefix runs at 96 dpi, found " << dpi;
    }
}

bool SystemHasSetupLibrary() {
    wchar_t system[MAX_PATH];
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    return base::FileExists(std::wstring(system, n) + L"\\syssetup.dll");
}

// A library of that name beside the program is a planted one: the switch must only ever
// take the system's. The search order is opened up for the test so that a plain load
// by name would find the planted copy (the control below shows it does).
TEST(SwitchToLargeFonts, NeverLoadsASetupLibraryPlantedBesideTheProgram) {
    if (SystemHasSetupLibrary()) GTEST_SKIP() << "the real switch would change this machine's display settings";
    const std::wstring planted = BinFolder() + L"syssetup.dll", trace = planted + L".trace";
    ASSERT_TRUE(CopyFileW((BinFolder() + L"syssetup_dll.dll").c_str(), planted.c_str(), FALSE));
    DeleteFileW(trace.c_str());
    base::ScopeExit cleanup([&] {
        SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
        DeleteFileW(planted.c_str());
        DeleteFileW(trace.c_str());
    });
    ASSERT_TRUE(SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
    {
        base::Module control(LoadLibraryW(L"syssetup.dll"));
        ASSERT_TRUE(control) << "the planted copy should be found by name";
    }
    ASSERT_TRUE(base::FileExists(trace)) << "the planted copy leaves a trace when loaded";
    ASSERT_TRUE(DeleteFileW(trace.c_str()));

    ui::SwitchToLargeFonts();
    EXPECT_FALSE(base::FileExists(trace)) << "the planted syssetup.dll was loaded";
    EXPECT_EQ(GetModuleHandleW(L"syssetup.dll"), nullptr);
}

}  // namespace
