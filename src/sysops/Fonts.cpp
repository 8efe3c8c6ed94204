#include "sysops/Fonts.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "base/Error.h"
#include "base/Text.h"
#include "base/TextFile.h"

namespace sysops {

namespace {

using GetFontResourceInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD*, LPVOID, DWORD);
constexpr DWORD kQueryDescription = 1;

// Big-endian readers over untrusted bytes: every read is bounds-checked.
class ByteView {
public:
    explicit ByteView(const std::string& bytes) : data_(bytes.data()), size_(bytes.size()) {}
    size_t Size() const { return size_; }
    bool Has(size_t offset, size_t length) const { return offset <= size_ && length <= size_ - offset; }
    std::optional<uint32_t> U16(size_t offset) const {
        if (!Has(offset, 2)) return std::nullopt;
        return static_cast<uint32_t>(Byte(offset) << 8 | Byte(offset + 1));
    }
    std::optional<uint32_t> U32(size_t offset) const {
        if (!Has(offset, 4)) return std::nullopt;
        return static_cast<uint32_t>(Byte(offset)) << 24 | Byte(offset + 1) << 16 | Byte(offset + 2) << 8 |
               Byte(offset + 3);
    }
    uint32_t Byte(size_t offset) const { return static_cast<unsigned char>(data_[offset]); }
    std::string Slice(size_t offset, size_t length) const { return std::string(data_ + offset, length); }

private:
    const char* data_;
    size_t size_;
};

constexpr uint32_t Tag(char a, char b, char c, char d) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(b) << 16 | static_cast<uint32_t>(c) << 8 |
           static_cast<uint32_t>(d);
}

struct Range {
    size_t offset = 0, length = 0;
};

// The 'name' table of the font at fontOffset (a single font, or the first of a collection).
std::optional<Range> FindNameTable(const ByteView& b) {
    size_t fontOffset = 0;
    auto version = b.U32(0);
    if (!version) return std::nullopt;
    if (*version == Tag('t', 't', 'c', 'f')) {
        auto count = b.U32(8);
        auto first = b.U32(12);
        if (!count || !first || *count == 0) return std::nullopt;
        fontOffset = *first;
    }
    auto numTables = b.U16(fontOffset + 4);
    if (!numTables) return std::nullopt;
    for (uint32_t i = 0; i < *numTables; ++i) {
        size_t record = fontOffset + 12 + static_cast<size_t>(i) * 16;
        auto tag = b.U32(record);
        auto offset = b.U32(record + 8);
        auto length = b.U32(record + 12);
        if (!tag || !offset || !length) return std::nullopt;
        if (*tag != Tag('n', 'a', 'm', 'e')) continue;
        if (!b.Has(*offset, *length)) return std::nullopt;
        return Range{*offset, *length};
    }
    return std::nullopt;
}

std::wstring DecodeUtf16BE(const std::string& raw) {
    std::wstring text;
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
        text.push_back(
            static_cast<wchar_t>(static_cast<unsigned char>(raw[i]) << 8 | static_cast<unsigned char>(raw[i + 1])));
    return text;
}

std::wstring DecodeMacRoman(const std::string& raw) {
    std::wstring text = base::FromCodePage(raw, 10000);
    if (text.empty() && !raw.empty())
        for (char c : raw) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

// A name fit for a registry value and a progress line: no control characters, trimmed, bounded.
std::wstring CleanName(const std::wstring& raw) {
    constexpr size_t kMaxName = 255;
    std::wstring text;
    for (wchar_t c : raw) {
        if (c == L'\0') break;
        if (c >= L' ' && c != 0x7F) text.push_back(c);
    }
    text = base::Trim(text);
    return text.size() > kMaxName ? std::wstring() : text;
}

enum class NameKind { Windows, Unicode, MacRoman };

std::optional<NameKind> KindOf(uint32_t platform, uint32_t encoding) {
    if (platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10)) return NameKind::Windows;
    if (platform == 0) return NameKind::Unicode;
    if (platform == 1 && encoding == 0) return NameKind::MacRoman;
    return std::nullopt;
}

}  // namespace

std::wstring GetWindowsFolder() {
    wchar_t buffer[MAX_PATH];
    UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return base::IncludeTrailingBackslash(std::wstring(buffer, length));
}

std::wstring GetFontTitle(const std::wstring& file) {
    HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    auto query = gdi ? reinterpret_cast<GetFontResourceInfoFn>(
                           reinterpret_cast<void (*)()>(GetProcAddress(gdi, "GetFontResourceInfoW")))
                     : nullptr;
    if (!query) return {};
    if (AddFontResourceW(file.c_str()) == 0) return {};
    std::wstring title;
    DWORD size = 0;
    if (query(file.c_str(), &size, nullptr, kQueryDescription) && size > 0) {
        // Room for a terminating NUL whatever the reported byte count.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
        DWORD bytes = size;
        if (query(file.c_str(), &bytes, buffer.data(), kQueryDescription)) title = buffer.data();
    }
    (void)RemoveFontResourceW(file.c_str());
    return title;
}

std::wstring ReadFontFullName(const std::string& fileBytes) {
    constexpr uint32_t kFullName = 4;
    constexpr uint32_t kEnglishUs = 0x0409;
    const ByteView b(fileBytes);
    auto table = FindNameTable(b);
    if (!table) return {};
    const size_t end = table->offset + table->length;
    auto count = b.U16(table->offset + 2);
    auto storage = b.U16(table->offset + 4);
    if (!count || !storage) return {};

    // Best candidate: Windows (US English first), then Unicode, then Mac Roman.
    int bestRank = 0;
    std::wstring best;
    for (uint32_t i = 0; i < *count; ++i) {
        size_t record = table->offset + 6 + static_cast<size_t>(i) * 12;
        if (record + 12 > end) break;
        auto platform = b.U16(record), encoding = b.U16(record + 2), language = b.U16(record + 4);
        auto nameId = b.U16(record + 6), length = b.U16(record + 8), offset = b.U16(record + 10);
        if (!platform || !encoding || !language || !nameId || !length || !offset) break;
        if (*nameId != kFullName) continue;
        auto kind = KindOf(*platform, *encoding);
        if (!kind) continue;
        int rank = *kind == NameKind::Windows ? (*language == kEnglishUs ? 4 : 3) : *kind == NameKind::Unicode ? 2 : 1;
        if (rank <= bestRank) continue;
        size_t start = table->offset + *storage + *offset;
        if (start > end || *length > end - start) continue;
        std::string raw = b.Slice(start, *length);
        std::wstring name = CleanName(*kind == NameKind::MacRoman ? DecodeMacRoman(raw) : DecodeUtf16BE(raw));
        if (name.empty()) continue;
        bestRank = rank;
        best = name;
    }
    return best;
}

std::wstring FontRegistryTitle(const std::wstring& file) {
    std::wstring title = GetFontTitle(file);
    if (!title.empty()) return title;
    try {
        title = ReadFontFullName(base::ReadFileBytes(file));
    } catch (const base::Error&) {
        // An unreadable file has no name of its own; the file name stands in.
    }
    if (!title.empty()) return title;
    std::wstring name = base::ExtractFileName(file);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace sysops
