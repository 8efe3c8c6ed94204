#include "common/VL_Common_Proc.h"

#include <windows.h>

#include <climits>
#include <clocale>
#include <cstdint>
#include <locale>
#include <optional>
#include <type_traits>
#include <variant>

#include "base/Text.h"
#include "common/VL_Common_Const.h"
#include "common/VL_Common_Var.h"

namespace common {

namespace {

template <typename Char>
class ProcessNumpunct : public std::numpunct<Char> {
protected:
    Char do_decimal_point() const override { return static_cast<Char>(kDecimalSeparator); }
    Char do_thousands_sep() const override { return static_cast<Char>(kThousandSeparator); }
    std::string do_grouping() const override { return {}; }
};

// The platform's profile reading; values longer than 2047 characters are cut.
std::wstring ReadProfile(const std::wstring& path, const wchar_t* section, const wchar_t* key, const wchar_t* def) {
    wchar_t buffer[2048];
    DWORD n = GetPrivateProfileStringW(section, key, def, buffer, 2048, path.c_str());
    return std::wstring(buffer, n);
}

// The value of a key that is present, also when it is empty; nothing for a
// missing key, section or file. A missing key yields the default, so two
// different defaults tell it apart from a present one.
std::optional<std::wstring> ReadPresent(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    std::wstring first = ReadProfile(path, section, key, L"0");
    if (first != ReadProfile(path, section, key, L"1")) return std::nullopt;
    return first;
}

std::optional<long long> ReadInteger(const std::wstring& path, const wchar_t* key, long long min, long long max) {
    std::optional<long long> value = base::ParseInteger(ReadProfile(path, L"options", key, L""));
    if (value && (*value < min || *value > max)) return std::nullopt;
    return value;
}

using Field = std::variant<bool TSettings::*, std::uint8_t TSettings::*, Tregtype TSettings::*,
                           std::int32_t TSettings::*, double TSettings::*, std::wstring TSettings::*>;

struct OptionKey {
    const wchar_t* key;
    Field field;
    double def;  // text keys default to empty
};

// Section "options", in reading order.
const OptionKey kOptionKeys[] = {
    {L"forGE", &TSettings::forGE, 0},
    {L"FilterType", &TSettings::FilterType, 0},
    {L"DefaultRegType", &TSettings::DefaultRegType, 0},
    {L"doformshow", &TSettings::doformshow, 1},
    {L"DebugPrint", &TSettings::DebugPrint, 0},
    {L"DebugMy", &TSettings::DebugMy, 0},
    {L"MinmVEnabled", &TSettings::MinmVEnabled, 0},
    {L"PoverkaView", &TSettings::PoverkaView, 0},
    {L"HviewDebug", &TSettings::HviewDebug, 0},
    {L"ECGAtRestWork", &TSettings::ECGAtRestWork, 0},
    {L"onlydecode", &TSettings::OnlyDecode, 0},
    {L"saveswap", &TSettings::SaveSwap, 0},
    {L"Channel1Gain", &TSettings::ChannelGain, 1.0},
    {L"Channel2Gain", &TSettings::ChannelGain12, 1.0},
    {L"GroupProcess", &TSettings::GroupProcess, 0},
    {L"EnabledScrining", &TSettings::EnabledScrining, 0},
    {L"HardwareType", &TSettings::HardwareType, 1},
    {L"LanguageSetting", &TSettings::LanguageSetting, 0},
    {L"new_reg", &TSettings::New_Reg, 0},
    {L"NurseMode", &TSettings::NurseMode, 1},
    {L"DoctorMode", &TSettings::DoctorMode, 1},
    {L"EMIASTESTINGMODE", &TSettings::EMIASTESTINGMODE, 0},
    {L"EMIASEMULATINGMODE", &TSettings::EMIASEMULATINGMODE, 0},
    {L"RegEmulating", &TSettings::RegEmulating, 0},
    {L"AriadnaSearchTesting", &TSettings::AriadnaSearchTesting, 0},
    {L"UserIsMS", &TSettings::UserIsMS, 0},
    {L"PraktikaSearchTesting", &TSettings::PraktikaSearchTesting, 0},
    {L"PraktikaTesting", &TSettings::PraktikaTesting, 0},
};

// Booleans hold any integer; the byte-sized and enumerated keys only values
// that fit, anything else gives the key's default.
void ReadOption(const std::wstring& path, const OptionKey& option, TSettings& settings) {
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(settings.*member)>;
            T& field = settings.*member;
            if constexpr (std::is_same_v<T, bool>) {
                auto v = ReadInteger(path, option.key, LLONG_MIN, LLONG_MAX);
                field = v ? *v != 0 : option.def != 0;
            } else if constexpr (std::is_same_v<T, std::uint8_t>) {
                field =
                    static_cast<T>(ReadInteger(path, option.key, 0, 255).value_or(static_cast<long long>(option.def)));
            } else if constexpr (std::is_same_v<T, Tregtype>) {
                // Stored as read, as long as it fits the byte: the monitoring programs
                // that consume it judge the recorder type themselves.
                field = static_cast<T>(ReadInteger(path, option.key, 0, 255).value_or(static_cast<long long>(option.def)));
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                field = static_cast<T>(
                    ReadInteger(path, option.key, INT32_MIN, INT32_MAX).value_or(static_cast<long long>(option.def)));
            } else if constexpr (std::is_same_v<T, double>) {
                field = base::ParseReal(ReadProfile(path, L"options", option.key, L"")).value_or(option.def);
            } else {
                field = ReadProfile(path, L"options", option.key, L"");
            }
        },
        option.field);
}

}  // namespace

void SetProcessNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
    std::locale numbers(std::locale(std::locale::classic(), new ProcessNumpunct<char>), new ProcessNumpunct<wchar_t>);
    std::locale::global(numbers);
}

void ReadHolterOptions() {
    ReadHolterOptions(ProgramFolder + L"Settings\\holter.ini");
}

void ReadHolterOptions(const std::wstring& iniPath) {
    SetProcessNumberFormat();
    for (const OptionKey& option : kOptionKeys) ReadOption(iniPath, option, CommonSettings);
    CommonSettings.Customer = ReadCustomerName(iniPath);
    // Neither is a setting of this installation, whatever the file says.
    CommonSettings.forMVD = false;
    CommonSettings.Person = 0;
}

std::wstring ReadCustomerName(const std::wstring& iniPath) {
    return ReadProfile(iniPath, L"Customer", L"CustomerName", L"");
}

void LoadTermDictionary() {
    LoadTermDictionary(LanguageFile);
}

void LoadTermDictionary(const std::wstring& languageFile) {
    auto translate = [&](const wchar_t* section, const TTerm& term, std::wstring& text) {
        std::optional<std::wstring> value;
        if (!languageFile.empty()) value = ReadPresent(languageFile, section, term.Code);
        text = value ? *value : term.Russian;
    };
    for (const TTermTable& table : TermTables())
        for (size_t i = 0; i < table.Terms.size(); ++i)
            if (table.Terms[i].Code) translate(L"VL_Messages", table.Terms[i], table.Names[i]);
    for (const TMarkerWord& marker : MarkerWords()) translate(L"VL_Common_Proc", marker.Term, *marker.Word);
}

}  // namespace common
