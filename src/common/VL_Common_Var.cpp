#include "common/VL_Common_Var.h"

#include "base/Error.h"
#include "base/Text.h"
#include "common/VL_Common_Proc.h"
#include "common/unitMyLog.h"

namespace common {

TSettings CommonSettings;
std::wstring ProgramFolder;
std::wstring LanguageFile;
std::wstring LanguageCode;
std::wstring CustomerName;
std::wstring AtesInFolder;
std::wstring AtesOutFolder;

void LoadCommonSettings() {
    LoadCommonSettings(base::ExeFolder());
}

void LoadCommonSettings(const std::wstring& programFolder) {
    ProgramFolder = programFolder;
    ReadHolterOptions();
    LanguageFile.clear();
    LanguageCode = L"RUS";
    if (CommonSettings.LanguageSetting == L"ENG") {
        LanguageFile = ProgramFolder + L"Settings\\EngView.lng";
        LanguageCode = L"ENG";
    }
    CustomerName = base::Trim(ReadCustomerName(ProgramFolder + L"Settings\\holter.ini"));
    AtesInFolder = ProgramFolder + L"AtesIn\\";
    AtesOutFolder = ProgramFolder + L"AtesOut\\";
}

void InitializeSharedUnits() {
    try {
        MyLog = std::make_unique<TMyLog>();
    } catch (const base::Error&) {
        MyLog = TMyLog::InMemoryOnly();
    }
    LoadCommonSettings();
    try {
        MyLog->AddMessage(L"VL_Common_VAR_INIT", false);
    } catch (const base::Error&) {
        // A distribution on a read-only medium cannot keep a log beside the
        // program; the entry is still in memory and in the system event log.
    }
    LoadTermDictionary();
}

void FinalizeSharedUnits() {
    MyLog.reset();
}

}  // namespace common
