#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "base/FileSystem.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "common/VL_Common_Const.h"
#include "common/VL_Common_Proc.h"
#include "common/VL_Common_Var.h"

using namespace common;
using testsupport::TempDir;

namespace {

// The dictionary is program-wide: every test leaves it Russian again.
class TermDictionaryTest : public ::testing::Test {
protected:
    void TearDown() override {
        LoadTermDictionary(L"");
        LanguageFile = savedLanguageFile_;
        CommonSettings = savedSettings_;
        ProgramFolder = savedProgramFolder_;
        LanguageCode = savedLanguageCode_;
        CustomerName = savedCustomerName_;
    }

    // "EN <code>" for every coded entry and marker word, each in its own
    // section, keys upper-cased (they are matched without regard to case);
    // the codes in `skip` left out, those in `empty` present with no value.
    static std::wstring EnglishFile(const std::set<std::wstring>& skip = {}, const std::set<std::wstring>& empty = {}) {
        auto line = [&](const wchar_t* code) -> std::wstring {
            if (skip.count(code)) return L"";
            return base::UpperCase(code) + L"=" + (empty.count(code) ? L"" : L"EN " + std::wstring(code)) + L"\r\n";
        };
        std::wstring text = L"[VL_Messages]\r\n";
        for (const TTermTable& table : TermTables())
            for (const TTerm& term : table.Terms)
                if (term.Code) text += line(term.Code);
        text += L"[VL_Common_Proc]\r\n";
        for (const TMarkerWord& marker : MarkerWords()) text += line(marker.Term.Code);
        return text;
    }
    std::wstring WriteLanguageFile(const std::wstring& text) {
        const std::wstring path = dir_ / L"EngView.lng";
        testsupport::WriteFile(path, base::ToCodePage(text, CP_ACP));
        return path;
    }

    // Every entry as loaded: coded ones translated unless listed in `russian`.
    static void ExpectEnglishExcept(const std::set<std::wstring>& russian) {
        for (const TTermTable& table : TermTables())
            for (size_t i = 0; i < table.Terms.size(); ++i) {
                const TTerm& term = table.Terms[i];
                const bool stays = !term.Code || russian.count(term.Code);
                EXPECT_EQ(table.Names[i], stays ? std::wstring(term.Russian) : L"EN " + std::wstring(term.Code))
                    << base::ToUtf8(term.Russian);
            }
        for (const TMarkerWord& marker : MarkerWords()) {
            const bool stays = russian.count(marker.Term.Code) > 0;
            EXPECT_EQ(*marker.Word,
                      stays ? std::wstring(marker.Term.Russian) : L"EN " + std::wstring(marker.Term.Code));
        }
    }
    static std::set<std::wstring> AllCodes() {
        std::set<std::wstring> codes;
        for (const TTermTable& table : TermTables())
            for (const TTerm& term : table.Terms)
                if (term.Code) codes.insert(term.Code);
        for (const TMarkerWord& marker : MarkerWords()) codes.insert(marker.Term.Code);
        return codes;
    }

    TempDir dir_;

private:
    std::wstring savedLanguageFile_ = LanguageFile, savedProgramFolder_ = ProgramFolder,
                 savedLanguageCode_ = LanguageCode, savedCustomerName_ = CustomerName;
    TSettings savedSettings_ = CommonSettings;
};

TEST_F(TermDictionaryTest, TablesHoldTheirRussianTextsAndDistinctCodes) {
    EXPECT_EQ(ConstitutionNames.size(), 3u);
    EXPECT_EQ(DiagnosisNames.size(), 22u);
    EXPECT_EQ(MedicationNames.size(), 9u);
    EXPECT_EQ(ConductionNames.size(), 5u);

    LoadTermDictionary(L"");
    EXPECT_EQ(ConstitutionNames[0], L"Нормостеник");
    EXPECT_EQ(DiagnosisNames[3], L"ИБС");
    EXPECT_EQ(DiagnosisNames[15], L"Дефект межпредсердной перегородки");
    EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
    EXPECT_EQ(MedicationNames[5], L"Антогонисты Ca");
    EXPECT_EQ(ConductionNames[3], L"WPW");
    EXPECT_EQ(ConductionNames[4], L"Не определен");
    EXPECT_EQ(FaultWord, L"СБОЙ");
    EXPECT_EQ(MarkWord, L"МЕТКА");
    EXPECT_EQ(LetterN, L"н");
    EXPECT_EQ(LetterS, L"с");
    ExpectEnglishExcept(AllCodes());

    // Codes are looked up without regard to case, so no two may differ only in case.
    std::set<std::wstring> upper;
    for (const std::wstring& code : AllCodes())
        EXPECT_TRUE(upper.insert(base::UpperCase(code)).second) << base::ToUtf8(code);
    EXPECT_EQ(upper.size(), 41u);
}

TEST_F(TermDictionaryTest, CompleteEnglishFileTranslatesEveryCodedEntry) {
    LoadTermDictionary(WriteLanguageFile(EnglishFile()));
    ExpectEnglishExcept({});
    EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
    EXPECT_EQ(ConductionNames[3], L"WPW");
}

TEST_F(TermDictionaryTest, MissingKeyKeepsRussianAndEmptyValueGivesEmptyEntry) {
    LoadTermDictionary(WriteLanguageFile(EnglishFile({L"IBS"}, {L"Normo", L"nnn"})));
    EXPECT_EQ(DiagnosisNames[3], L"ИБС");
    EXPECT_EQ(DiagnosisNames[4], L"EN Ste");
    EXPECT_EQ(ConstitutionNames[0], L"");
    EXPECT_EQ(LetterN, L"");
    EXPECT_EQ(ConstitutionNames[1], L"EN Giper");
    EXPECT_EQ(FaultWord, L"EN Sbo");
}

TEST_F(TermDictionaryTest, KeysInTheWrongSectionAreNotFound) {
    LoadTermDictionary(
        WriteLanguageFile(L"[VL_Messages]\r\nSbo=Failure\r\nMet=Mark\r\n"
                          L"[VL_Common_Proc]\r\nNormo=Normosthenic\r\nIBS=CHD\r\n"
                          L"[Other]\r\nGip=Hypertension\r\n"));
    ExpectEnglishExcept(AllCodes());
}

TEST_F(TermDictionaryTest, EnglishChosenButFileMissingLeavesEverythingRussian) {
    LoadTermDictionary(WriteLanguageFile(EnglishFile()));  // a previous translation must not linger
    ASSERT_TRUE(base::ForceDirectories(dir_ / L"Settings"));
    testsupport::WriteFile(dir_ / L"Settings\\holter.ini", "[options]\r\nLanguageSetting=ENG\r\n");
    LoadCommonSettings(dir_.Path());
    ASSERT_EQ(LanguageFile, dir_.Path() + L"Settings\\EngView.lng");
    ASSERT_FALSE(base::FileExists(LanguageFile));
    LoadTermDictionary();
    ExpectEnglishExcept(AllCodes());
}

TEST_F(TermDictionaryTest, BadLanguageFilesNeverBreakTheLoad) {
    std::string garbage;
    for (int i = 0; i < 8192; ++i) garbage += static_cast<char>((i * 104729 + 7) & 0xFF);
    using namespace std::string_literals;
    const std::string utf16 = base::EncodeText(
        {L"[VL_Messages]", L"Normo=Normosthenic", L"[VL_Common_Proc]", L"Sbo=Ошибка"}, base::TextEncoding::Utf16LE);
    const struct {
        const char* name;
        std::string bytes;
        const wchar_t* normo;  // nullptr: whatever the platform makes of it
        size_t gipLength;      // 0: not checked
    } cases[] = {
        {"binary garbage", garbage, nullptr, 0},
        {"one 1 MB line", "[VL_Messages]\r\nGip=" + std::string(1 << 20, 'z') + "\r\nNormo=Normosthenic\r\n",
         L"Normosthenic", 2047},
        {"no sections", "Normo=Normosthenic\r\nSbo=Failure\r\n", L"Нормостеник", 0},
        {"NUL bytes", "[VL_Messages]\r\nNor\0mo=x\r\n\0\0\r\nGiper=\0y\r\n"s, nullptr, 0},
        {"UTF-16 with BOM", utf16, L"Normosthenic", 0},
        {"UTF-16 without BOM", utf16.substr(2), nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = dir_ / (base::FromUtf8(c.name) + L".lng");
        testsupport::WriteFile(path, c.bytes);
        LoadTermDictionary(path);
        if (c.normo) {
            EXPECT_EQ(ConstitutionNames[0], c.normo);
        }
        if (c.gipLength) {
            EXPECT_EQ(DiagnosisNames[0], std::wstring(c.gipLength, L'z'));
        }
        EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
    }
}

}  // namespace
