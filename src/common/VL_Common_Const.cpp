#include "common/VL_Common_Const.h"

#include <cstddef>

namespace common {

namespace {

constexpr TTerm kConstitutionTerms[] = {
    {L"Normo", L"Нормостеник"},
    {L"Giper", L"Гиперстеник"},
    {L"Asten", L"Астеник"},
};

constexpr TTerm kDiagnosisTerms[] = {
    {L"Gip", L"Гипертония"},
    {L"NIP", L"Нефрит или пиелонефрит"},
    {L"NMK", L"Нарушение мозгового кровообращения"},
    {L"IBS", L"ИБС"},
    {L"Ste", L"Стенокардия"},
    {L"PKa", L"Постинфарктный кардиосклероз"},
    {L"IPF", L"Инфаркт, подострая фаза"},
    {L"Rev", L"Ревматизм"},
    {L"NCD", L"НЦД"},
    {L"HNZ", L"Хрон. неспецифич. заболевания легких"},
    {L"BAs", L"Бронхиальная астма"},
    {L"IOF", L"Инфаркт, острая фаза"},
    {L"MSt", L"Митральный стеноз"},
    {L"API", L"Аортальный порок или митр. недостат"},
    {L"DMP", L"Дефект межжелудочковой перегородки"},
    {L"DMPP", L"Дефект межпредсердной перегородки"},
    {L"OAP", L"Общий артериальный проток"},
    {L"SAo", L"Стеноз аорты"},
    {L"KAo", L"Коарктация аорты"},
    {L"SLA", L"Стеноз лег. арт, тетр. и триада Фало"},
    {L"IVR", L"Искусственный водитель ритма"},
    {nullptr, L"Сахарный диабет"},
};

constexpr TTerm kMedicationTerms[] = {
    {L"SGl", L"сердечные гликозиды"},
    {L"Hin", L"хинидин"},
    {L"Kor", L"кордарон"},
    {L"PAn", L"пр. антиритмические"},
    {L"NPr", L"нитропрепараты"},
    {L"ACA", L"Антогонисты Ca"},
    {L"BBl", L"Б-блокаторы"},
    {L"Ant", L"антигипертензионные"},
    {L"Diu", L"диуретики"},
};

constexpr TTerm kConductionTerms[] = {
    {L"Norm", L"Норма"}, {L"BLN", L"БЛН"}, {L"BPN", L"БПН"}, {nullptr, L"WPW"}, {L"nOp", L"Не определен"},
};

constexpr TTerm kMarkerTerms[] = {
    {L"Sbo", L"СБОЙ"},
    {L"Met", L"МЕТКА"},
    {L"nnn", L"н"},
    {L"sss", L"с"},
};

template <std::size_t N>
std::array<std::wstring, N> RussianTexts(const TTerm (&terms)[N]) {
    std::array<std::wstring, N> names;
    for (std::size_t i = 0; i < N; ++i) names[i] = terms[i].Russian;
    return names;
}

}  // namespace

std::array<std::wstring, 3> ConstitutionNames = RussianTexts(kConstitutionTerms);
std::array<std::wstring, 22> DiagnosisNames = RussianTexts(kDiagnosisTerms);
std::array<std::wstring, 9> MedicationNames = RussianTexts(kMedicationTerms);
std::array<std::wstring, 5> ConductionNames = RussianTexts(kConductionTerms);

std::wstring FaultWord = kMarkerTerms[0].Russian;
std::wstring MarkWord = kMarkerTerms[1].Russian;
std::wstring LetterN = kMarkerTerms[2].Russian;
std::wstring LetterS = kMarkerTerms[3].Russian;

std::span<const TTermTable> TermTables() {
    static const TTermTable tables[] = {
        {kConstitutionTerms, ConstitutionNames},
        {kDiagnosisTerms, DiagnosisNames},
        {kMedicationTerms, MedicationNames},
        {kConductionTerms, ConductionNames},
    };
    return tables;
}

std::span<const TMarkerWord> MarkerWords() {
    static const TMarkerWord words[] = {
        {kMarkerTerms[0], &FaultWord},
        {kMarkerTerms[1], &MarkWord},
        {kMarkerTerms[2], &LetterN},
        {kMarkerTerms[3], &LetterS},
    };
    return words;
}

}  // namespace common
