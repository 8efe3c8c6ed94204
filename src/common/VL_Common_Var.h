#pragma once
// Shared variables of the complex's programs: the options record loaded from
// "Settings\holter.ini" beside the program, the program's folder, the
// interface language and the customer name that prefixes every log entry.
// Filled once at start-up, read-only afterwards.
#include <cstdint>
#include <string>

namespace common {

enum THViewType : std::uint8_t {
    hvtStandart,
    hvtFragment,
    hvtOnline,
    hvtTest,
    hvtSaveSkr,
    hvtSaveDin,
    hvtAD,
    hvtNone,
};

// Recorder models; "DefaultRegType" in holter.ini holds the ordinal.
enum Tregtype : std::uint8_t {
    rtVelton2,
    rtVelton3,
    rtVelton3BT,
    rtVelton12,
    rtVelton12BT,
    rtVeltonAD,
    rtVeltonCombi,
    rtVeltonMini,
};
inline constexpr int kRegTypeCount = 8;

struct TSettings {
    THViewType HViewType = hvtStandart;
    bool DebugPrint = false;
    bool DebugMy = false;
    bool PoverkaView = false;
    bool HviewDebug = false;
    bool GroupProcess = false;
    bool doformshow = false;
    bool EnabledScrining = false;
    bool ECGAtRestWork = false;
    bool OnlyDecode = false;
    bool SaveSwap = false;
    bool MinmVEnabled = false;
    std::wstring Customer;  // as read, blanks kept
    double ChannelGain = 0.0;
    double ChannelGain12 = 0.0;
    std::int32_t HardwareType = 0;
    std::uint8_t FilterType = 0;
    bool CorrectProbeli = false;
    bool forMVD = false;
    bool forGE = false;
    std::uint8_t Person = 0;
    std::wstring LanguageSetting;
    std::uint8_t New_Reg = 0;
    Tregtype DefaultRegType = rtVelton2;
    bool NurseMode = false;
    bool DoctorMode = false;
    bool EMIASTESTINGMODE = false;
    bool EMIASEMULATINGMODE = false;
    bool RegEmulating = false;
    bool AriadnaSearchTesting = false;
    bool UserIsMS = false;
    bool PraktikaSearchTesting = false;
    bool PraktikaTesting = false;

    bool operator==(const TSettings&) const = default;
};

extern TSettings CommonSettings;
extern std::wstring ProgramFolder;  // with trailing backslash
extern std::wstring LanguageFile;   // empty for the Russian interface
extern std::wstring LanguageCode;   // "ENG" or "RUS"
extern std::wstring CustomerName;   // trimmed; may be empty
extern std::wstring AtesInFolder;
extern std::wstring AtesOutFolder;

// Fills every shared variable from the running program's folder.
void LoadCommonSettings();
// The same for a given program folder (with trailing backslash); tests use it.
void LoadCommonSettings(const std::wstring& programFolder);

// Start-up of the shared units, in their fixed order: the log object, the
// settings with the entry "VL_Common_VAR_INIT", the term dictionary. A log file
// that cannot be read or written (a distribution on a read-only medium) does
// not stop the start-up: the entry stays in memory and in the system event log.
void InitializeSharedUnits();
// Releases the log object; the program calls it after its message loop.
void FinalizeSharedUnits();

}  // namespace common
