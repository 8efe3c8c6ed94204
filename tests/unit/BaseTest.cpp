#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/DateTime.h"
#include "base/IniFile.h"
#include "base/Text.h"
#include "base/TextFile.h"

using namespace base;

TEST(Text, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(L" \t\r\n D:\\Data\\Holter \x01 "), L"D:\\Data\\Holter");
    EXPECT_EQ(Trim(L"   "), L"");
}

TEST(Text, ParseIntegerAcceptsDecimalAndBothHexForms) {
    struct Case {
        const wchar_t* text;
        std::optional<long long> value;
    } cases[] = {{L"0", 0},          {L"16", 16},           {L"0x10", 16},         {L"0X1f", 31},
                 {L"$FF", 255},      {L"-3", -3},           {L"true", std::nullopt}, {L"", std::nullopt},
                 {L"1,5", std::nullopt}, {L" 1", std::nullopt}, {L"0x", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << ToUtf8(c.text);
}

TEST(Text, PathHelpers) {
    EXPECT_EQ(ExtractFilePath(L"C:\\Holter\\Shell.exe"), L"C:\\Holter\\");
    EXPECT_EQ(ChangeFileExt(L"Readme.txt", L".lnk"), L"Readme.lnk");
    EXPECT_EQ(ChangeFileExt(L"C:\\a.b\\Shell", L".lnk"), L"C:\\a.b\\Shell.lnk");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\x"), L"C:\\x\\");
}

TEST(DateTime, DayCountEpochAndFraction) {
    SYSTEMTIME st{};
    st.wYear = 1899, st.wMonth = 12, st.wDay = 30;
    EXPECT_DOUBLE_EQ(SystemTimeToDayCount(st), 0.0);
    st = {};
    st.wYear = 2024, st.wMonth = 3, st.wDay = 5, st.wHour = 18;
    EXPECT_DOUBLE_EQ(SystemTimeToDayCount(st), 45356.75);
}

TEST(IniFile, KeepsOtherSectionsAndKeysAndEncoding) {
    testsupport::TempDir dir;
    std::wstring path = dir / L"holter.ini";
    testsupport::WriteFile(path, "\xEF\xBB\xBF[options]\r\nDebugPrint=1\r\nFilterType=7\r\n[other]\r\nx=y\r\n");
    MemIniFile ini(path);
    ini.WriteInteger(L"options", L"FilterType", 0);
    ini.WriteInteger(L"options", L"HardwareType", 1);
    ini.UpdateFile();
    EXPECT_EQ(testsupport::ReadFile(path),
              "\xEF\xBB\xBF[options]\r\nDebugPrint=1\r\nFilterType=0\r\nHardwareType=1\r\n\r\n[other]\r\nx=y\r\n\r\n");
}

TEST(IniFile, NewFileHoldsOnlyTheWrittenSection) {
    testsupport::TempDir dir;
    MemIniFile ini(dir / L"new.ini");
    ini.WriteInteger(L"options", L"FilterType", 0);
    ini.WriteInteger(L"options", L"HardwareType", 1);
    ini.UpdateFile();
    EXPECT_EQ(testsupport::ReadFile(dir / L"new.ini"), "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
}

TEST(TextFile, SplitsOnEveryLineEndAndKeepsUtf16) {
    EXPECT_EQ(SplitLines(L"a\rb\nc\r\nd\r\n").size(), 4u);
    testsupport::TempDir dir;
    SaveTextFile(dir / L"u.txt", {L"Привет"}, TextEncoding::Utf16LE);
    TextLines back = LoadTextFile(dir / L"u.txt");
    EXPECT_EQ(back.encoding, TextEncoding::Utf16LE);
    ASSERT_EQ(back.lines.size(), 1u);
    EXPECT_EQ(back.lines[0], L"Привет");
}
