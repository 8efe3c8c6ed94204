#pragma once
// In-memory INI file: the whole file is read at construction, changed in
// memory and written back whole by UpdateFile, in the encoding it was read in
// (a new file gets the system's ANSI code page). Other sections and keys stay.
#include <string>
#include <vector>

#include "base/TextFile.h"

namespace base {

class MemIniFile {
public:
    // A missing file is an empty document; an unreadable one raises base::Error.
    explicit MemIniFile(std::wstring path);

    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& def) const;
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, long long value);
    // Writes every section: "[name]", its "key=value" lines, one empty line; CR LF endings.
    void UpdateFile() const;
    std::vector<std::wstring> Lines() const;

private:
    struct Entry {
        std::wstring key, value;
    };
    struct Section {
        std::wstring name;
        std::vector<Entry> entries;
    };
    Section* FindSection(const std::wstring& name);
    const Section* FindSection(const std::wstring& name) const;

    std::wstring path_;
    TextEncoding encoding_ = TextEncoding::Ansi;
    std::vector<Section> sections_;
};

}  // namespace base
