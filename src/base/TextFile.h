#pragma once
// Whole text files as lists of lines, keeping the file's encoding.
#include <string>
#include <vector>

namespace base {

enum class TextEncoding { Ansi, Utf8Bom, Utf16LE, Utf16BE };

struct TextLines {
    std::vector<std::wstring> lines;
    TextEncoding encoding = TextEncoding::Ansi;
};

// Splits text into lines: CR, LF and CR LF all end a line; a final line break adds no empty line.
std::vector<std::wstring> SplitLines(const std::wstring& text);
// Decodes bytes by their byte-order mark, else the system's ANSI code page.
TextLines DecodeText(const std::string& bytes);
std::string EncodeText(const std::vector<std::wstring>& lines, TextEncoding encoding);

// Raises base::Error "Cannot open file "%s". %s" when the file cannot be read.
TextLines LoadTextFile(const std::wstring& path);
// Writes every line followed by CR LF, with the encoding's byte-order mark (none for ANSI).
// Raises base::Error "Cannot create file "%s". %s" when the file cannot be written.
void SaveTextFile(const std::wstring& path, const std::vector<std::wstring>& lines, TextEncoding encoding);

// Whole-file byte access with the same errors.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

[[noreturn]] void RaiseOpenError(const std::wstring& path, unsigned long code);
[[noreturn]] void RaiseCreateError(const std::wstring& path, unsigned long code);

}  // namespace base
