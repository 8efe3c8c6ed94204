#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Text.h"
#include "sysops/Process.h"

using namespace sysops;
using testsupport::BinFolder;
using testsupport::CurrentFolderScope;
using testsupport::TempDir;

namespace {

const std::wstring kRunError = L"не смог создать процесс: ";

// What the exit_after helper wrote: its current folder, its command line, the time it ended.
struct Trace {
    std::wstring folder, commandLine;
    unsigned long long endTicks = 0;
};

Trace ReadTrace(const std::wstring& path) {
    Trace t;
    std::wstring text = base::FromUtf8(testsupport::ReadFile(path));
    size_t a = text.find(L'\n'), b = text.find(L'\n', a + 1);
    EXPECT_NE(b, std::wstring::npos) << "trace: " << base::ToUtf8(text);
    if (b == std::wstring::npos) return t;
    t.folder = text.substr(0, a);
    t.commandLine = text.substr(a + 1, b - a - 1);
    t.endTicks = std::stoull(text.substr(b + 1));
    return t;
}

unsigned long long NowTicks() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// A program in a folder whose name holds a blank, and a decoy where an unquoted
// command line would be cut: "<tmp>\My Dir\real.exe" and "<tmp>\My.exe".
struct PlantedProgram {
    TempDir tmp;
    std::wstring folder = tmp / L"My Dir";
    std::wstring program = folder + L"\\real.exe";
    std::wstring trace = tmp / L"trace.txt";
    PlantedProgram() {
        CreateDirectoryW(folder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileW((BinFolder() + L"exit_after.exe").c_str(), program.c_str(), FALSE));
        EXPECT_TRUE(CopyFileW((BinFolder() + L"decoy.exe").c_str(), (tmp / L"My.exe").c_str(), FALSE));
    }
    bool DecoyRan() const { return GetFileAttributesW((tmp / L"decoy-ran.txt").c_str()) != INVALID_FILE_ATTRIBUTES; }
};

std::wstring RaisedText(const std::function<void()>& f) {
    try {
        f();
    } catch (const base::Error& e) {
        return e.Message();
    }
    return L"(nothing raised)";
}

}  // namespace

TEST(RunAndWait, QuotesTheProgramAndRunsItInItsOwnFolder) {
    PlantedProgram p;
    TempDir elsewhere;
    CurrentFolderScope cd(elsewhere.Path());
    const std::wstring parameters = L"0 5 \"" + p.trace + L"\"";
    EXPECT_EQ(RunAndWait(p.program, parameters, SW_HIDE), 5u);
    EXPECT_FALSE(p.DecoyRan()) << "an unquoted command line started the planted program";
    Trace t = ReadTrace(p.trace);
    EXPECT_TRUE(base::SameText(t.folder, p.folder)) << base::ToUtf8(t.folder);
    EXPECT_EQ(t.commandLine, QuotePath(p.program) + L" " + parameters);
}

// The installation runs a release's "Install.cmd" this way.
TEST(RunAndWait, RunsACommandScriptInItsFolder) {
    TempDir tmp;
    const std::wstring folder = tmp / L"R150320 release";
    CreateDirectoryW(folder.c_str(), nullptr);
    testsupport::WriteFile(folder + L"\\Install.cmd", "@echo off\r\necho ran> ran.txt\r\nexit /b 4\r\n");
    EXPECT_EQ(RunAndWait(folder + L"\\Install.cmd", L"", SW_HIDE), 4u);
    EXPECT_EQ(testsupport::ReadFile(folder + L"\\ran.txt"), "ran\r\n");
}

TEST(RunAndWait, EmptyParametersLeaveOneTrailingSpace) {
    PlantedProgram p;
    SetEnvironmentVariableW(L"HOLTER_TRACE", p.trace.c_str());
    const uint32_t code = RunAndWait(p.program, L"", SW_HIDE);
    SetEnvironmentVariableW(L"HOLTER_TRACE", nullptr);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadTrace(p.trace).commandLine, L"\"" + p.program + L"\" ");
}

TEST(RunAndWait, PassesLongCommandLinesWhole) {
    PlantedProgram p;
    const std::wstring parameters = L"0 0 \"" + p.trace + L"\" " + std::wstring(1500, L'x');
    EXPECT_EQ(RunAndWait(p.program, parameters, SW_HIDE), 0u);
    EXPECT_EQ(ReadTrace(p.trace).commandLine, QuotePath(p.program) + L" " + parameters);
}

TEST(RunAndWait, CommandLineTheSystemRefusesIsAFailedStart) {
    SKIP_ON_WINE("Wine accepts command lines beyond the 32767 characters Windows allows");
    PlantedProgram p;
    const std::wstring tooLong(40000, L'x');
    EXPECT_EQ(RaisedText([&] { RunAndWait(p.program, tooLong, SW_HIDE); }), kRunError + p.program);
    EXPECT_EQ(RunProgram(QuotePath(p.program) + L" " + tooLong, SW_HIDE, true), -1);
}

TEST(RunAndWait, MissingProgramRaisesWithItsPath) {
    TempDir tmp;
    for (const std::wstring& program : {tmp / L"missing.exe", tmp / L"no folder\\missing.exe"})
        EXPECT_EQ(RaisedText([&] { RunAndWait(program, L"", SW_HIDE); }), kRunError + program);
}

TEST(RunAndWait, ReturnsTheExitCodeAsSoonAsTheChildEnds) {
    PlantedProgram p;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAndWait(p.program, L"250 3 \"" + p.trace + L"\"", SW_HIDE), 3u);
    const unsigned long long returned = NowTicks();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    // One 100 ms wait slice at most, plus the child's own exit.
    const auto lagMs = (returned - ReadTrace(p.trace).endTicks) / 10000;
    EXPECT_LT(lagMs, 400u);
}

TEST(RunProgram, RunsInTheCurrentFolderAndReturnsTheExitCode) {
    PlantedProgram p;
    TempDir here;
    CurrentFolderScope cd(here.Path());
    EXPECT_EQ(RunProgram(QuotePath(p.program) + L" 0 7 \"" + p.trace + L"\"", SW_HIDE, true), 7);
    EXPECT_TRUE(base::SameText(ReadTrace(p.trace).folder, base::ExcludeTrailingBackslash(here.Path())));
}

TEST(RunProgram, FailedStartGivesMinusOne) {
    TempDir tmp;
    EXPECT_EQ(RunProgram(QuotePath(tmp / L"missing.exe"), SW_HIDE, true), -1);
    EXPECT_EQ(RunProgram(L"", SW_HIDE, true), -1);
}

TEST(QuotePath, WrapsOnceInDoubleQuotes) {
    EXPECT_EQ(QuotePath(L"C:\\Program Files\\x.exe"), L"\"C:\\Program Files\\x.exe\"");
    EXPECT_EQ(QuotePath(L"\"C:\\a b\\x.exe\""), L"\"C:\\a b\\x.exe\"");
}
