#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <locale>
#include <ostream>
#include <sstream>

#include "TestSupport.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "common/VL_Common_Const.h"
#include "common/VL_Common_Proc.h"
#include "common/VL_Common_Var.h"
#include "common/unitMyLog.h"

namespace common {
// Readable failure output for whole records.
void PrintTo(const TSettings& s, std::ostream* os) {
    *os << "{forGE " << s.forGE << " FilterType " << int(s.FilterType) << " DefaultRegType " << int(s.DefaultRegType)
        << " doformshow " << s.doformshow << " DebugPrint " << s.DebugPrint << " DebugMy " << s.DebugMy
        << " MinmVEnabled " << s.MinmVEnabled << " PoverkaView " << s.PoverkaView << " HviewDebug " << s.HviewDebug
        << " ECGAtRestWork " << s.ECGAtRestWork << " OnlyDecode " << s.OnlyDecode << " SaveSwap " << s.SaveSwap
        << " Customer '" << base::ToUtf8(s.Customer) << "' ChannelGain " << s.ChannelGain << " ChannelGain12 "
        << s.ChannelGain12 << " GroupProcess " << s.GroupProcess << " EnabledScrining " << s.EnabledScrining
        << " HardwareType " << s.HardwareType << " LanguageSetting '" << base::ToUtf8(s.LanguageSetting) << "' New_Reg "
        << int(s.New_Reg) << " NurseMode " << s.NurseMode << " DoctorMode " << s.DoctorMode << " EMIAS "
        << s.EMIASTESTINGMODE << s.EMIASEMULATINGMODE << " RegEmulating " << s.RegEmulating << " Ariadna "
        << s.AriadnaSearchTesting << " UserIsMS " << s.UserIsMS << " Praktika " << s.PraktikaSearchTesting
        << s.PraktikaTesting << " forMVD " << s.forMVD << " Person " << int(s.Person) << " HViewType "
        << int(s.HViewType) << " CorrectProbeli " << s.CorrectProbeli << "}";
}
}  // namespace common

using namespace common;
using testsupport::TempDir;

namespace {

// Every shared variable is put back after each test: other tests and the
// program's own start-up rely on them.
class CommonSettingsTest : public ::testing::Test {
protected:
    void TearDown() override {
        CommonSettings = settings_;
        ProgramFolder = programFolder_;
        LanguageFile = languageFile_;
        LanguageCode = languageCode_;
        CustomerName = customerName_;
        AtesInFolder = atesIn_;
        AtesOutFolder = atesOut_;
    }

    // A program folder whose "Settings\holter.ini" holds the given bytes.
    static void WriteHolterIni(const TempDir& dir, const std::string& bytes) {
        ASSERT_TRUE(base::ForceDirectories(dir / L"Settings"));
        testsupport::WriteFile(dir / L"Settings\\holter.ini", bytes);
    }
    static std::string Utf16File(const std::wstring& text) {
        return base::EncodeText(base::SplitLines(text), base::TextEncoding::Utf16LE);
    }

    static TSettings Defaults() {
        TSettings s;
        s.doformshow = s.NurseMode = s.DoctorMode = true;
        s.ChannelGain = s.ChannelGain12 = 1.0;
        s.HardwareType = 1;
        return s;
    }

private:
    TSettings settings_ = CommonSettings;
    std::wstring programFolder_ = ProgramFolder, languageFile_ = LanguageFile, languageCode_ = LanguageCode,
                 customerName_ = CustomerName, atesIn_ = AtesInFolder, atesOut_ = AtesOutFolder;
};

TEST_F(CommonSettingsTest, NoSettingsFileGivesEveryDefault) {
    TempDir dir;
    CommonSettings.DebugPrint = true;  // a stale value must not survive a load
    LoadCommonSettings(dir.Path());
    EXPECT_EQ(CommonSettings, Defaults());
    EXPECT_EQ(ProgramFolder, dir.Path());
    EXPECT_EQ(LanguageCode, L"RUS");
    EXPECT_EQ(LanguageFile, L"");
    EXPECT_EQ(CustomerName, L"");
    EXPECT_EQ(AtesInFolder, dir.Path() + L"AtesIn\\");
    EXPECT_EQ(AtesOutFolder, dir.Path() + L"AtesOut\\");
    EXPECT_FALSE(base::DirectoryExists(AtesInFolder)) << "the folders are named, not created";
}

TEST_F(CommonSettingsTest, EveryKeyFillsItsOwnField) {
    TempDir dir;
    WriteHolterIni(dir,
                   "[other]\r\nFilterType=99\r\n"
                   "[options]\r\nforGE=1\r\nFilterType=3\r\nDefaultRegType=4\r\ndoformshow=0\r\nDebugPrint=1\r\n"
                   "DebugMy=1\r\nMinmVEnabled=1\r\nPoverkaView=1\r\nHviewDebug=1\r\nECGAtRestWork=1\r\n"
                   "onlydecode=1\r\nsaveswap=1\r\nChannel1Gain=2.5\r\nChannel2Gain=0.75\r\nGroupProcess=1\r\n"
                   "EnabledScrining=1\r\nHardwareType=7\r\nLanguageSetting=Deutsch\r\nnew_reg=9\r\nNurseMode=0\r\n"
                   "DoctorMode=0\r\nEMIASTESTINGMODE=1\r\nEMIASEMULATINGMODE=1\r\nRegEmulating=1\r\n"
                   "AriadnaSearchTesting=1\r\nUserIsMS=1\r\nPraktikaSearchTesting=1\r\nPraktikaTesting=1\r\n"
                   "HViewType=3\r\nCorrectProbeli=1\r\n");
    LoadCommonSettings(dir.Path());
    TSettings expected;
    expected.forGE = expected.DebugPrint = expected.DebugMy = expected.MinmVEnabled = expected.PoverkaView = true;
    expected.HviewDebug = expected.ECGAtRestWork = expected.OnlyDecode = expected.SaveSwap = true;
    expected.GroupProcess = expected.EnabledScrining = expected.EMIASTESTINGMODE = expected.EMIASEMULATINGMODE = true;
    expected.RegEmulating = expected.AriadnaSearchTesting = expected.UserIsMS = true;
    expected.PraktikaSearchTesting = expected.PraktikaTesting = true;
    expected.FilterType = 3;
    expected.DefaultRegType = rtVelton12BT;
    expected.ChannelGain = 2.5;
    expected.ChannelGain12 = 0.75;
    expected.HardwareType = 7;
    expected.LanguageSetting = L"Deutsch";
    expected.New_Reg = 9;
    EXPECT_EQ(CommonSettings, expected) << "HViewType and CorrectProbeli are never loaded";
}

template <auto Field>
double Get(const TSettings& s) {
    return static_cast<double>(s.*Field);
}

TEST_F(CommonSettingsTest, ValueTable) {
    const struct Case {
        const char* line;
        double (*field)(const TSettings&);
        double expected;
    } cases[] = {
        {"DebugPrint=true", Get<&TSettings::DebugPrint>, 0},
        {"DebugPrint=2", Get<&TSettings::DebugPrint>, 1},
        {"DebugPrint=0x1", Get<&TSettings::DebugPrint>, 1},
        {"DebugPrint=$0", Get<&TSettings::DebugPrint>, 0},
        {"DebugPrint=", Get<&TSettings::DebugPrint>, 0},
        {"debugprint=1", Get<&TSettings::DebugPrint>, 1},  // keys ignore case
        {"NurseMode=-1", Get<&TSettings::NurseMode>, 1},
        {"doformshow=0", Get<&TSettings::doformshow>, 0},
        {"doformshow=no", Get<&TSettings::doformshow>, 1},
        {"DoctorMode=1.0", Get<&TSettings::DoctorMode>, 1},
        {"Channel1Gain=1.5", Get<&TSettings::ChannelGain>, 1.5},
        {"Channel1Gain=1,5", Get<&TSettings::ChannelGain>, 1.0},
        {"Channel1Gain=-2.5E-1", Get<&TSettings::ChannelGain>, -0.25},
        {"Channel1Gain=1e999", Get<&TSettings::ChannelGain>, 1.0},
        {"Channel1Gain=abc", Get<&TSettings::ChannelGain>, 1.0},
        {"Channel2Gain=", Get<&TSettings::ChannelGain12>, 1.0},
        {"Channel2Gain=3", Get<&TSettings::ChannelGain12>, 3.0},
        {"FilterType=0x10", Get<&TSettings::FilterType>, 16},
        {"FilterType=$FF", Get<&TSettings::FilterType>, 255},
        {"FilterType=256", Get<&TSettings::FilterType>, 0},
        {"FilterType=-1", Get<&TSettings::FilterType>, 0},
        {"new_reg=255", Get<&TSettings::New_Reg>, 255},
        {"new_reg=300", Get<&TSettings::New_Reg>, 0},
        {"HardwareType=abc", Get<&TSettings::HardwareType>, 1},
        {"HardwareType=-5", Get<&TSettings::HardwareType>, -5},
        {"HardwareType=0", Get<&TSettings::HardwareType>, 0},
        {"HardwareType=2147483648", Get<&TSettings::HardwareType>, 1},
        {"HardwareType=1 2", Get<&TSettings::HardwareType>, 1},
        {"DefaultRegType=7", Get<&TSettings::DefaultRegType>, 7},
        {"DefaultRegType=8", Get<&TSettings::DefaultRegType>, 8},
        {"DefaultRegType=-1", Get<&TSettings::DefaultRegType>, 0},
        {"forMVD=1", Get<&TSettings::forMVD>, 0},
        {"Person=5", Get<&TSettings::Person>, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TempDir dir;  // a fresh file per case: the platform may cache a profile file
        WriteHolterIni(dir, std::string("[options]\r\n") + c.line + "\r\n");
        CommonSettings.forMVD = true;
        CommonSettings.Person = 9;
        ReadHolterOptions(dir / L"Settings\\holter.ini");
        EXPECT_EQ(c.field(CommonSettings), c.expected);
    }
}

TEST_F(CommonSettingsTest, LongValueIsCutAt2047Characters) {
    TempDir dir;
    WriteHolterIni(dir, "[options]\r\nLanguageSetting=" + std::string(3000, 'x') + "\r\nFilterType=5\r\n");
    ReadHolterOptions(dir / L"Settings\\holter.ini");
    EXPECT_EQ(CommonSettings.LanguageSetting, std::wstring(2047, L'x'));
    EXPECT_EQ(CommonSettings.FilterType, 5);
}

TEST_F(CommonSettingsTest, OnlyExactEngSelectsTheEnglishFile) {
    const struct {
        const char* value;
        bool english;
    } cases[] = {{"ENG", true}, {"eng", false}, {"Eng", false}, {"ENGL", false}, {"RUS", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        TempDir dir;
        WriteHolterIni(dir, std::string("[options]\r\nLanguageSetting=") + c.value + "\r\n");
        LoadCommonSettings(dir.Path());
        EXPECT_EQ(LanguageCode, c.english ? L"ENG" : L"RUS");
        // Chosen whether or not the file is there.
        EXPECT_EQ(LanguageFile, c.english ? dir.Path() + L"Settings\\EngView.lng" : L"");
    }
}

TEST_F(CommonSettingsTest, CustomerNameIsTrimmedOnlyInTheSharedVariable) {
    TempDir dir;
    // Quotes keep the blanks through the platform's profile reading.
    WriteHolterIni(dir, Utf16File(L"[options]\r\nFilterType=1\r\n[Customer]\r\nCustomerName=\"  Клиника №1\t \"\r\n"));
    LoadCommonSettings(dir.Path());
    EXPECT_EQ(CommonSettings.Customer, L"  Клиника №1\t ");
    EXPECT_EQ(CustomerName, L"Клиника №1");
    EXPECT_EQ(CommonSettings.FilterType, 1);

    TempDir none;
    WriteHolterIni(none, "[options]\r\nCustomerName=not here\r\n");
    LoadCommonSettings(none.Path());
    EXPECT_EQ(CommonSettings.Customer, L"");
    EXPECT_EQ(CustomerName, L"");
}

TEST_F(CommonSettingsTest, FileWrittenByTheInstallationRunReadsBack) {
    TempDir dir;
    WriteHolterIni(dir, "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
    CommonSettings.FilterType = 7;
    CommonSettings.HardwareType = 7;
    LoadCommonSettings(dir.Path());
    EXPECT_EQ(CommonSettings, Defaults());
}

TEST_F(CommonSettingsTest, BadFilesGiveDefaultsWithoutCrashing) {
    std::string garbage;
    for (int i = 0; i < 8192; ++i) garbage += static_cast<char>((i * 7919 + 13) & 0xFF);
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string bytes;
        int filterType;  // -1: whatever the platform makes of it, as long as nothing breaks
    } cases[] = {
        {"binary garbage", garbage, -1},
        {"one 1 MB line", "[options]\r\nLanguageSetting=" + std::string(1 << 20, 'y') + "\r\nFilterType=5\r\n", 5},
        {"no sections", "FilterType=5\r\nHardwareType=9\r\n", 0},
        {"NUL bytes", "[options]\r\nFilter\0Type=5\r\n\0\0\0\r\nHardwareType=\0\r\n"s, -1},
        {"UTF-16 with BOM", Utf16File(L"[options]\r\nFilterType=5\r\n"), 5},
        {"UTF-16 without BOM", Utf16File(L"[options]\r\nFilterType=5\r\n").substr(2), -1},
        {"empty", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteHolterIni(dir, c.bytes);
        LoadCommonSettings(dir.Path());
        if (c.filterType >= 0) {
            EXPECT_EQ(CommonSettings.FilterType, c.filterType);
        }
        EXPECT_FALSE(CommonSettings.forMVD);
    }
}

TEST_F(CommonSettingsTest, NumberFormatUsesPointAndBlank) {
    // Start from a comma locale where the runtime has one, to see the load change it.
    (void)std::setlocale(LC_NUMERIC, "Russian_Russia.1251");
    TempDir dir;
    ReadHolterOptions(dir / L"Settings\\holter.ini");

    wchar_t printed[32];
    swprintf(printed, 32, L"%.2f", 1234.5);
    EXPECT_STREQ(printed, L"1234.50");
    EXPECT_EQ(wcstod(L"2.25", nullptr), 2.25);
    const auto& punct = std::use_facet<std::numpunct<wchar_t>>(std::locale());
    EXPECT_EQ(punct.decimal_point(), L'.');
    EXPECT_EQ(punct.thousands_sep(), L' ');
    std::wostringstream stream;
    stream << 1234567.5 << L' ' << 1234567;
    EXPECT_EQ(stream.str(), L"1.23457e+06 1234567") << "numbers are not grouped unless asked";
}

// The start-up step against the test program's own folder, with its log put back afterwards.
class SharedUnitsStartup : public CommonSettingsTest {
protected:
    void SetUp() override {
        hadLog_ = base::FileExists(logPath_);
        if (hadLog_) savedLog_ = testsupport::ReadFile(logPath_);
        (void)DeleteFileW(logPath_.c_str());
    }
    void TearDown() override {
        FinalizeSharedUnits();
        (void)RemoveDirectoryW(logPath_.c_str());
        (void)DeleteFileW(logPath_.c_str());
        if (hadLog_) testsupport::WriteFile(logPath_, savedLog_);
        LoadTermDictionary(L"");
        CommonSettingsTest::TearDown();
    }

    const std::wstring logPath_ = testsupport::BinFolder() + L"ReziDozure.log";
    bool hadLog_ = false;
    std::string savedLog_;
};

TEST_F(SharedUnitsStartup, CreatesTheLogLoadsSettingsAndLogsOnce) {
    ASSERT_FALSE(base::FileExists(testsupport::BinFolder() + L"Settings\\holter.ini"));
    InitializeSharedUnits();
    ASSERT_TRUE(MyLog);
    EXPECT_EQ(ProgramFolder, testsupport::BinFolder());
    EXPECT_EQ(LanguageCode, L"RUS");
    const std::vector<std::wstring> lines = base::LoadTextFile(logPath_).lines;
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with(L": VL_Common_VAR_INIT"));
    FinalizeSharedUnits();
    EXPECT_FALSE(MyLog);
}

TEST_F(SharedUnitsStartup, UnwritableLogDoesNotStopTheStartUp) {
    // A folder in the file's place refuses every write, as a read-only medium does.
    ASSERT_TRUE(CreateDirectoryW(logPath_.c_str(), nullptr));
    DiagnosisNames[3] = L"stale";
    EXPECT_NO_THROW(InitializeSharedUnits());
    ASSERT_TRUE(MyLog);
    EXPECT_EQ(DiagnosisNames[3], L"ИБС") << "the dictionary still loads after the failed entry";
}

TEST_F(SharedUnitsStartup, UnreadableLogIsLeftUntouched) {
    testsupport::WriteFile(logPath_, "written by another program\r\n");
    {
        base::FileHandle busy(
            CreateFileW(logPath_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(busy);
        EXPECT_NO_THROW(InitializeSharedUnits());
        ASSERT_TRUE(MyLog);
        EXPECT_NO_THROW(MyLog->AddMessage(L"later", false));
    }
    EXPECT_EQ(testsupport::ReadFile(logPath_), "written by another program\r\n");
}

}  // namespace
