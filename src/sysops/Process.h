#pragma once
// Starting other programs and waiting for them.
#include <cstdint>
#include <string>

namespace sysops {

// Runs "program" parameters in the program's own folder, waits, returns the exit code.
// The program path is quoted. Raises base::Error "не смог создать процесс: " + program.
uint32_t RunAndWait(const std::wstring& program, const std::wstring& parameters, uint16_t show);
// Runs a ready-made command line in the current folder; -1 when it cannot start.
int32_t RunProgram(const std::wstring& commandLine, uint16_t show, bool wait);
// Quotes a program path for a command line ("C:\Program Files\x.exe" -> "\"C:\...\"").
std::wstring QuotePath(const std::wstring& path);

}  // namespace sysops
