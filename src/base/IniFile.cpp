#include "base/IniFile.h"

#include "base/FileSystem.h"
#include "base/Text.h"

namespace base {

MemIniFile::MemIniFile(std::wstring path) : path_(std::move(path)) {
    if (!FileExists(path_)) return;
    TextLines text = LoadTextFile(path_);
    encoding_ = text.encoding;
    Section* current = nullptr;
    for (const auto& raw : text.lines) {
        std::wstring line = Trim(raw);
        if (line.empty() || line[0] == L';') continue;
        if (line.front() == L'[' && line.back() == L']') {
            std::wstring name = line.substr(1, line.size() - 2);
            current = FindSection(name);
            if (!current) current = &sections_.emplace_back(Section{name, {}});
            continue;
        }
        if (!current) continue;  // keys before the first section belong to no section
        size_t eq = line.find(L'=');
        std::wstring key = eq == std::wstring::npos ? line : Trim(line.substr(0, eq));
        std::wstring value = eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
        current->entries.push_back({key, value});
    }
}

MemIniFile::Section* MemIniFile::FindSection(const std::wstring& name) {
    for (auto& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

const MemIniFile::Section* MemIniFile::FindSection(const std::wstring& name) const {
    return const_cast<MemIniFile*>(this)->FindSection(name);
}

std::wstring MemIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& def) const {
    if (const Section* s = FindSection(section))
        for (const auto& e : s->entries)
            if (SameText(e.key, key)) return e.value;
    return def;
}

void MemIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    Section* s = FindSection(section);
    if (!s) s = &sections_.emplace_back(Section{section, {}});
    for (auto& e : s->entries)
        if (SameText(e.key, key)) {
            e.value = value;
            return;
        }
    s->entries.push_back({key, value});
}

void MemIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, long long value) {
    WriteString(section, key, std::to_wstring(value));
}

std::vector<std::wstring> MemIniFile::Lines() const {
    std::vector<std::wstring> lines;
    for (const auto& s : sections_) {
        lines.push_back(L"[" + s.name + L"]");
        for (const auto& e : s.entries) lines.push_back(e.key + L"=" + e.value);
        lines.emplace_back();
    }
    return lines;
}

void MemIniFile::UpdateFile() const { SaveTextFile(path_, Lines(), encoding_); }

}  // namespace base
