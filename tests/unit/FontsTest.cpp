// Font helpers and the fonts step. The step writes the real fonts folder of the
// test prefix and the machine-wide font list; FontsSandbox takes back what a test adds.
#include <gtest/gtest.h>

#include <cstdint>

#include "InstallTestSupport.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Text.h"
#include "install/InstallFonts.h"
#include "sysops/Fonts.h"

namespace {

using installtest::FakeView;
using installtest::FontSources;
using installtest::FontsSandbox;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

const std::wstring kDejaVuSans = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

std::string U16(uint32_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}
std::string U32(uint32_t v) {
    return U16(v >> 16) + U16(v & 0xFFFF);
}

struct NameRecord {
    uint16_t platform, encoding, language, nameId;
    std::string bytes;
};

std::string Utf16BE(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += U16(c);
    return out;
}

// A minimal font file: the offset table, one table record and a 'name' table.
std::string MakeFont(const std::vector<NameRecord>& records) {
    std::string strings, table = U16(0) + U16(static_cast<uint32_t>(records.size())) +
                                 U16(static_cast<uint32_t>(6 + 12 * records.size()));
    for (const auto& r : records) {
        table += U16(r.platform) + U16(r.encoding) + U16(r.language) + U16(r.nameId) +
                 U16(static_cast<uint32_t>(r.bytes.size())) + U16(static_cast<uint32_t>(strings.size()));
        strings += r.bytes;
    }
    table += strings;
    return U32(0x00010000) + U16(1) + U16(0) + U16(0) + U16(0) + "name" + U32(0) + U32(28) +
           U32(static_cast<uint32_t>(table.size())) + table;
}

TEST(ReadFontFullName, RealFontsGiveTheirFullNames) {
    for (const auto& font : FontSources()) {
        const std::string bytes = ReadFile(L"Z:\\usr\\share\\fonts\\truetype\\" + font.file);
        EXPECT_EQ(sysops::ReadFontFullName(bytes), font.fullName);
    }
}

TEST(ReadFontFullName, PrefersWindowsNamesThenMacRomanAndSkipsWhatItCannotUse) {
    const NameRecord mac{1, 0, 0, 4, "Mac \x8A Name"};  // 0x8A: a-diaeresis in Mac Roman
    const NameRecord windows{3, 1, 0x0409, 4, Utf16BE(L"Windows Name")};
    const NameRecord windowsOther{3, 1, 0x0419, 4, Utf16BE(L"Имя шрифта")};
    const NameRecord family{3, 1, 0x0409, 1, Utf16BE(L"Family only")};
    struct Case {
        const char* what;
        std::vector<NameRecord> records;
        std::wstring expected;
    } cases[] = {
        {"windows over mac", {mac, windows}, L"Windows Name"},
        {"mac alone", {mac}, L"Mac \u00E4 Name"},
        {"us english first", {windowsOther, windows}, L"Windows Name"},
        {"other language", {windowsOther, family}, L"Имя шрифта"},
        {"no full name", {family}, L""},
        {"control characters dropped", {{3, 1, 0x0409, 4, Utf16BE(L" Bad\tName\x01 ")}}, L"BadName"},
        {"only blanks", {{3, 1, 0x0409, 4, Utf16BE(L"   ")}, mac}, L"Mac \u00E4 Name"},
        {"unknown platform", {{2, 0, 0, 4, "iso"}}, L""},
        {"empty table", {}, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(sysops::ReadFontFullName(MakeFont(c.records)), c.expected) << c.what;
}

// Untrusted bytes: any prefix of a real font, and fonts whose offsets and counts lie,
// give either the true name or "" and never read outside the buffer.
TEST(ReadFontFullName, TruncatedAndCorruptedFilesNeverCrash) {
    const std::string font = ReadFile(kDejaVuSans);
    ASSERT_GT(font.size(), 1000u);
    for (size_t length = 0; length < font.size(); length += length < 512 ? 1 : 997) {
        const std::wstring name = sysops::ReadFontFullName(font.substr(0, length));
        EXPECT_TRUE(name.empty() || name == L"DejaVu Sans") << length;
        if (length < 12) {
            EXPECT_EQ(name, L"") << length;
        }
    }

    const std::string good = MakeFont({{3, 1, 0x0409, 4, Utf16BE(L"Good")}});
    ASSERT_EQ(sysops::ReadFontFullName(good), L"Good");
    auto patch = [&](size_t offset, const std::string& bytes) {
        std::string s = good;
        s.replace(offset, bytes.size(), bytes);
        return s;
    };
    // Offsets in the minimal font: numTables 4, table offset 20, table length 24,
    // name count 30, string storage 32, record length 42, record offset 44.
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"many tables", patch(4, U16(0xFFFF))},
        {"table beyond the end", patch(20, U32(0xFFFFFFF0))},
        {"table length beyond the end", patch(24, U32(0x7FFFFFFF))},
        {"table offset wraps", patch(20, U32(0xFFFFFFFF))},
        {"name count beyond the table", patch(30, U16(0xFFFF))},
        {"storage beyond the table", patch(32, U16(0xFFFF))},
        {"string longer than the table", patch(42, U16(0xFFFF))},
        {"string offset beyond the table", patch(44, U16(0xFFF0))},
        {"odd string length", patch(42, U16(7))},
        {"collection header with a wild offset", "ttcf" + U32(0x00010000) + U32(1) + U32(0xFFFFFFF0)},
        {"collection without fonts", "ttcf" + U32(0x00010000) + U32(0) + U32(12)},
        {"collection cut short", "ttcf" + U32(0x00010000)},
        {"garbage", std::string(64, '\xFF')},
    };
    for (const auto& c : cases) {
        const std::wstring name = sysops::ReadFontFullName(c.bytes);
        EXPECT_TRUE(name.empty() || name == L"Goo" || name == L"Good") << c.what;
    }
    EXPECT_EQ(sysops::ReadFontFullName(patch(20, U32(0xFFFFFFF0))), L"");
    EXPECT_EQ(sysops::ReadFontFullName(patch(42, U16(0xFFFF))), L"");
    // A collection whose first font is the minimal one.
    const std::string collection = "ttcf" + U32(0x00010000) + U32(1) + U32(16) + good;
    std::string shifted = collection;
    shifted.replace(16 + 20, 4, U32(28 + 16));
    EXPECT_EQ(sysops::ReadFontFullName(shifted), L"Good");
}

TEST(FontHelpers, WindowsFolderEndsInASeparatorAndTitlesNeverComeOutEmpty) {
    wchar_t system[MAX_PATH];
    UINT n = GetWindowsDirectoryW(system, MAX_PATH);
    EXPECT_EQ(sysops::GetWindowsFolder(), base::IncludeTrailingBackslash(std::wstring(system, n)));

    TempDir tmp;
    WriteFile(tmp / L"ARIAL.TTF", "not a font at all");
    EXPECT_EQ(sysops::GetFontTitle(tmp / L"missing.TTF"), L"");
    EXPECT_EQ(sysops::FontRegistryTitle(kDejaVuSans), L"DejaVu Sans");
    EXPECT_EQ(sysops::FontRegistryTitle(tmp / L"ARIAL.TTF"), L"ARIAL");
    EXPECT_EQ(sysops::FontRegistryTitle(tmp / L"verdana.TTF"), L"verdana");
}

class InstallFontsTest : public ::testing::Test {
protected:
    TempDir tmp;
    FontsSandbox sandbox;
    FakeView view;

    void SetUp() override {
        if (sandbox.AnyListFontInstalled()) GTEST_SKIP() << "this system already holds fonts of the list";
        ASSERT_NO_FATAL_FAILURE(installtest::AddFonts(tmp.Path()));
    }
    std::wstring Line(const std::wstring& title) { return L"Шрифт <" + title + L"> уcтановлен"; }
};

TEST_F(InstallFontsTest, MissingFontsAreCopiedRegisteredAndReportedInListOrder) {
    install::InstallFonts(view, tmp.Path());
    std::vector<std::wstring> lines;
    std::map<std::wstring, std::wstring> values;
    for (const auto& font : FontSources()) {
        lines.push_back(Line(font.fullName));
        values[font.fullName + L" (TrueType)"] = font.listName;
        EXPECT_EQ(ReadFile(sandbox.FontsFolder() + font.listName), ReadFile(tmp / (L"fonts\\" + font.listName)));
    }
    EXPECT_EQ(view.lines, lines);
    EXPECT_EQ(sandbox.ChangedValues(), values);
    EXPECT_EQ(values[L"Liberation Sans (TrueType)"], L"verdana.TTF");
}

TEST_F(InstallFontsTest, PresentFilesAreLeftAloneWhateverTheRegistrySays) {
    for (const auto& font : FontSources())
        if (font.listName != L"TAHOMA.TTF") sandbox.Plant(font.listName);
    // Registered but without its file: installed again, its value written again.
    sandbox.SetValue(L"DejaVu Serif Bold (TrueType)", L"stale.TTF");
    install::InstallFonts(view, tmp.Path());
    EXPECT_EQ(view.lines, std::vector<std::wstring>{Line(L"DejaVu Serif Bold")});
    EXPECT_EQ(sandbox.ChangedValues(),
              (std::map<std::wstring, std::wstring>{{L"DejaVu Serif Bold (TrueType)", L"TAHOMA.TTF"}}));
    EXPECT_EQ(ReadFile(sandbox.FontsFolder() + L"ARIAL.TTF"), "planted");

    FakeView again;
    install::InstallFonts(again, tmp.Path());
    EXPECT_TRUE(again.lines.empty());
    EXPECT_TRUE(again.events.empty());
}

TEST_F(InstallFontsTest, FontMissingFromTheDistributionEndsTheStepThere) {
    ASSERT_TRUE(DeleteFileW((tmp / L"fonts\\COUR.TTF").c_str()));
    std::wstring error;
    try {
        install::InstallFonts(view, tmp.Path());
    } catch (const base::Error& e) {
        error = e.Message();
    }
    EXPECT_TRUE(error.starts_with(L"Cannot open file \"" + (tmp / L"fonts\\COUR.TTF") + L"\". "))
        << base::ToUtf8(error);
    EXPECT_EQ(view.lines, (std::vector<std::wstring>{Line(L"DejaVu Sans"), Line(L"DejaVu Sans Bold")}));
    EXPECT_EQ(sandbox.ChangedValues().size(), 2u);
    EXPECT_FALSE(base::FileExists(sandbox.FontsFolder() + L"COUR.TTF"));
    EXPECT_FALSE(base::FileExists(sandbox.FontsFolder() + L"MICROSS.TTF"));
}

// The system reports no title here (and may not elsewhere): the value is never the bare " (TrueType)".
TEST_F(InstallFontsTest, FontWithoutANameIsRegisteredUnderItsFileName) {
    WriteFile(tmp / L"fonts\\ARIAL.TTF", "no name table in here");
    install::InstallFonts(view, tmp.Path());
    ASSERT_FALSE(view.lines.empty());
    EXPECT_EQ(view.lines[0], Line(L"ARIAL"));
    const auto changed = sandbox.ChangedValues();
    EXPECT_EQ(changed.count(L" (TrueType)"), 0u);
    EXPECT_EQ(changed.at(L"ARIAL (TrueType)"), L"ARIAL.TTF");
}

}  // namespace
