#include "sysops/Process.h"

#include <windows.h>

#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"

namespace sysops {
namespace {

constexpr DWORD kCreationFlags = CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS;
constexpr DWORD kWaitSlice = 100;

struct StartedProcess {
    base::KernelHandle process;
    base::KernelHandle thread;
};

// The command line goes to the system whole: CreateProcessW may write into its buffer, so it gets
// its own copy, and a line the system refuses (too long, say) is simply a failed start.
bool Start(std::wstring commandLine, const wchar_t* workingFolder, uint16_t show, StartedProcess& started) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, kCreationFlags, nullptr, workingFolder,
                        &si, &pi))
        return false;
    started.process.reset(pi.hProcess);
    started.thread.reset(pi.hThread);
    return true;
}

// The folder of a program path without its trailing separator, except for a drive root ("C:\").
std::wstring ProgramFolder(const std::wstring& program) {
    std::wstring folder = base::ExtractFilePath(program);
    if (folder.size() > 1 && folder.back() == L'\\' && folder[folder.size() - 2] != L':' &&
        folder[folder.size() - 2] != L'\\')
        folder.pop_back();
    return folder;
}

}  // namespace

std::wstring QuotePath(const std::wstring& path) {
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') return path;
    return L"\"" + path + L"\"";
}

uint32_t RunAndWait(const std::wstring& program, const std::wstring& parameters, uint16_t show) {
    // Quoted, so "C:\Program Files\x.exe" cannot start a planted "C:\Program.exe".
    const std::wstring commandLine = QuotePath(program) + L" " + parameters;
    const std::wstring folder = ProgramFolder(program);
    StartedProcess child;
    if (!Start(commandLine, folder.empty() ? nullptr : folder.c_str(), show, child))
        throw base::Error(L"не смог создать процесс: " + program);
    while (WaitForSingleObject(child.process.get(), kWaitSlice) == WAIT_TIMEOUT) {
    }
    DWORD exitCode = 0;
    (void)GetExitCodeProcess(child.process.get(), &exitCode);
    return exitCode;
}

int32_t RunProgram(const std::wstring& commandLine, uint16_t show, bool wait) {
    StartedProcess child;
    if (!Start(commandLine, nullptr, show, child)) return -1;
    DWORD exitCode = 0;
    if (wait) {
        (void)WaitForSingleObject(child.process.get(), INFINITE);
        (void)GetExitCodeProcess(child.process.get(), &exitCode);
    }
    return static_cast<int32_t>(exitCode);
}

}  // namespace sysops
