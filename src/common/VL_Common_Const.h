#pragma once
// The clinical term dictionary: four fixed tables of patient and finding terms
// and four marker words. An entry's position is its identity; its code is only
// the key under which a language file may translate it. Every entry holds its
// Russian text from program start until LoadTermDictionary replaces it.
#include <array>
#include <span>
#include <string>

namespace common {

struct TTerm {
    const wchar_t* Code;  // nullptr: the entry is never translated
    const wchar_t* Russian;
};

extern std::array<std::wstring, 3> ConstitutionNames;  // body-build types
extern std::array<std::wstring, 22> DiagnosisNames;
extern std::array<std::wstring, 9> MedicationNames;  // medication groups
extern std::array<std::wstring, 5> ConductionNames;  // conduction findings

extern std::wstring FaultWord;
extern std::wstring MarkWord;
extern std::wstring LetterN;
extern std::wstring LetterS;

// A table's built-in entries beside the live texts they fill.
struct TTermTable {
    std::span<const TTerm> Terms;
    std::span<std::wstring> Names;
};
// The marker words' built-in entries beside their variables.
struct TMarkerWord {
    TTerm Term;
    std::wstring* Word;
};

// In load order: constitution, diagnoses, medications, conduction.
std::span<const TTermTable> TermTables();
// In load order: FaultWord, MarkWord, LetterN, LetterS.
std::span<const TMarkerWord> MarkerWords();

}  // namespace common
