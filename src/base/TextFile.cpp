#include "base/TextFile.h"

#include <windows.h>

#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"

namespace base {

void RaiseOpenError(const std::wstring& path, unsigned long code) {
    throw Error(L"Cannot open file \"" + path + L"\". " + SysErrorMessage(code));
}

void RaiseCreateError(const std::wstring& path, unsigned long code) {
    throw Error(L"Cannot create file \"" + path + L"\". " + SysErrorMessage(code));
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines.emplace_back(text, start, i - start);
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text, start, std::wstring::npos);
    return lines;
}

TextLines DecodeText(const std::string& bytes) {
    TextLines result;
    std::wstring text;
    auto u8 = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && u8(0) == 0xEF && u8(1) == 0xBB && u8(2) == 0xBF) {
        result.encoding = TextEncoding::Utf8Bom;
        text = FromUtf8(std::string_view(bytes).substr(3));
    } else if (bytes.size() >= 2 && (u8(0) == 0xFF && u8(1) == 0xFE)) {
        result.encoding = TextEncoding::Utf16LE;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<wchar_t>(u8(i) | (u8(i + 1) << 8));
    } else if (bytes.size() >= 2 && (u8(0) == 0xFE && u8(1) == 0xFF)) {
        result.encoding = TextEncoding::Utf16BE;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<wchar_t>((u8(i) << 8) | u8(i + 1));
    } else {
        text = FromCodePage(bytes, CP_ACP);
    }
    result.lines = SplitLines(text);
    return result;
}

std::string EncodeText(const std::vector<std::wstring>& lines, TextEncoding encoding) {
    std::wstring text;
    for (const auto& line : lines) text += line + L"\r\n";
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            return "\xEF\xBB\xBF" + ToUtf8(text);
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE: {
            const bool le = encoding == TextEncoding::Utf16LE;
            std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
            for (wchar_t c : text) {
                char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>((c >> 8) & 0xFF);
                out += le ? lo : hi;
                out += le ? hi : lo;
            }
            return out;
        }
        case TextEncoding::Ansi:
            break;
    }
    return ToCodePage(text, CP_ACP);
}

std::string ReadFileBytes(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseOpenError(path, GetLastError());
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24)), got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr))
            throw Error(L"Read error on file \"" + path + L"\". " + SysErrorMessage(GetLastError()));
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseCreateError(path, GetLastError());
    DWORD written = 0;
    if (!bytes.empty() && (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                           written != bytes.size()))
        throw Error(L"Write error on file \"" + path + L"\". " + SysErrorMessage(GetLastError()));
}

TextLines LoadTextFile(const std::wstring& path) { return DecodeText(ReadFileBytes(path)); }

void SaveTextFile(const std::wstring& path, const std::vector<std::wstring>& lines, TextEncoding encoding) {
    WriteFileBytes(path, EncodeText(lines, encoding));
}

}  // namespace base
