#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <map>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "common/VL_Common_Var.h"
#include "common/unitMyLog.h"

using common::CustomerName;
using common::TMyLog;
using testsupport::TempDir;
using namespace std::string_literals;

namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[16] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16);
    return buffer;
}

std::vector<std::wstring> FileLines(const std::wstring& path) {
    return base::LoadTextFile(path).lines;
}

std::vector<std::wstring> NumberedLines(const wchar_t* prefix, int count) {
    std::vector<std::wstring> lines;
    for (int i = 1; i <= count; ++i) lines.push_back(prefix + std::to_wstring(i));
    return lines;
}

class MyLogTest : public ::testing::Test {
protected:
    void SetUp() override { CustomerName.clear(); }
    void TearDown() override { CustomerName = savedCustomer_; }

    // Adds one entry and checks its whole text: customer, a time stamp of this
    // moment, ": ", the message.
    void AddAndExpectEntry(TMyLog& log, const std::wstring& path, const std::wstring& message) {
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        log.AddMessage(message, false);
        GetLocalTime(&after);
        const std::wstring line = FileLines(path).at(0);
        const std::wstring a = CustomerName + common::LogTimeStamp(before) + L": " + message;
        const std::wstring b = CustomerName + common::LogTimeStamp(after) + L": " + message;
        EXPECT_TRUE(line == a || line == b) << base::ToUtf8(line);
    }

    TempDir dir_;
    const std::wstring logPath_ = dir_ / L"ReziDozure.log";

private:
    std::wstring savedCustomer_ = CustomerName;
};

TEST(MyLogFormat, TimeStampUsesRegionalSeparatorsAndTwoDigitFields) {
    SYSTEMTIME t{};
    t.wYear = 2024, t.wMonth = 3, t.wDay = 5, t.wHour = 14, t.wMinute = 7, t.wSecond = 9;
    const std::wstring d = LocaleText(LOCALE_SDATE), s = LocaleText(LOCALE_STIME);
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(common::LogTimeStamp(t), L"05" + d + L"03" + d + L"2024 14" + s + L"07" + s + L"09");
}

TEST(MyLogFormat, DefaultFileIsBesideTheProgram) {
    TMyLog log;
    EXPECT_EQ(log.FileName(), testsupport::BinFolder() + L"ReziDozure.log");
    EXPECT_EQ(log.LogType, 0);
}

TEST_F(MyLogTest, FirstEntryCreatesAnAnsiFileWithOneLine) {
    TMyLog log;
    log.SetLogFileName(logPath_);
    EXPECT_FALSE(base::FileExists(logPath_)) << "naming the file must not create it";

    // Empty customer name: the line starts with the time stamp itself.
    AddAndExpectEntry(log, logPath_, L"VL_Common_VAR_INIT");
    const std::vector<std::wstring> lines = FileLines(logPath_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(iswdigit(lines[0][0]));
    EXPECT_EQ(testsupport::ReadFile(logPath_), base::ToCodePage(lines[0] + L"\r\n", CP_ACP)) << "no byte-order mark";

    CustomerName = L"City Clinic 7";
    AddAndExpectEntry(log, logPath_, L"second");
    EXPECT_EQ(FileLines(logPath_).size(), 2u);
}

TEST_F(MyLogTest, KeepsTheThousandNewestLines) {
    // An over-long file is loaded whole and cut only on the next write.
    for (int existing : {999, 1000, 1500}) {
        SCOPED_TRACE(existing);
        base::SaveTextFile(logPath_, NumberedLines(L"old ", existing), base::TextEncoding::Ansi);
        TMyLog log;
        log.SetLogFileName(logPath_);
        log.AddMessage(L"new", false);
        const std::vector<std::wstring> lines = FileLines(logPath_);
        ASSERT_EQ(lines.size(), static_cast<size_t>(std::min(existing + 1, 1000)));
        EXPECT_TRUE(lines.front().ends_with(L": new"));
        EXPECT_EQ(lines[1], L"old 1");
        EXPECT_EQ(lines.back(), L"old 999");
    }
}

TEST_F(MyLogTest, MessageWithLineBreakCountsAsSeveralLinesOnceReloaded) {
    TMyLog log;
    log.SetLogFileName(logPath_);
    log.AddMessage(L"first\r\nsecond", false);
    log.SetLogFileName(logPath_);
    log.AddMessage(L"third", false);
    const std::vector<std::wstring> lines = FileLines(logPath_);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(L": third"));
    EXPECT_TRUE(lines[1].ends_with(L": first"));
    EXPECT_EQ(lines[2], L"second");
}

TEST_F(MyLogTest, OnlyAddLogfileLeavesTheMainFileAlone) {
    base::SaveTextFile(logPath_, {L"kept"}, base::TextEncoding::Ansi);
    const std::string mainBefore = testsupport::ReadFile(logPath_);
    TMyLog log;
    log.SetLogFileName(logPath_);

    log.AddMessage(L"nowhere", true);  // no additional file named: neither file changes
    EXPECT_EQ(testsupport::ReadFile(logPath_), mainBefore);

    const std::wstring addPath = dir_ / L"additional.log";
    log.SetAddLogFileName(addPath);
    log.AddMessage(L"extra only", true);
    EXPECT_EQ(testsupport::ReadFile(logPath_), mainBefore);
    const std::vector<std::wstring> add = FileLines(addPath);
    ASSERT_EQ(add.size(), 1u);
    EXPECT_TRUE(add[0].ends_with(L": extra only"));
}

TEST_F(MyLogTest, AdditionalLogGetsEveryEntryOnTopOfItsOwnLines) {
    const std::wstring addPath = dir_ / L"additional.log";
    base::SaveTextFile(addPath, NumberedLines(L"add ", 1200), base::TextEncoding::Ansi);
    TMyLog log;
    log.SetLogFileName(logPath_);
    log.SetAddLogFileName(addPath);
    CustomerName = L"Clinic";
    log.AddMessage(L"both", false);

    const std::vector<std::wstring> main = FileLines(logPath_), add = FileLines(addPath);
    ASSERT_EQ(main.size(), 1u);
    ASSERT_EQ(add.size(), 1000u) << "the additional file has the same cap";
    for (const std::wstring& top : {main[0], add[0]}) {
        EXPECT_TRUE(top.starts_with(L"Clinic")) << base::ToUtf8(top);
        EXPECT_TRUE(top.ends_with(L": both"));
    }
    EXPECT_EQ(add[1], L"add 1");
}

TEST_F(MyLogTest, FileWithByteOrderMarkKeepsItsEncoding) {
    for (auto encoding : {base::TextEncoding::Utf8Bom, base::TextEncoding::Utf16LE, base::TextEncoding::Utf16BE}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        base::SaveTextFile(logPath_, {L"старая запись"}, encoding);
        TMyLog log;
        log.SetLogFileName(logPath_);
        CustomerName = L"Клиника №1";
        AddAndExpectEntry(log, logPath_, L"новая запись");

        const base::TextLines back = base::DecodeText(testsupport::ReadFile(logPath_));
        EXPECT_EQ(back.encoding, encoding);
        ASSERT_EQ(back.lines.size(), 2u);
        EXPECT_EQ(back.lines[1], L"старая запись");
    }
}

TEST_F(MyLogTest, ByteArrayDumpsTheWholeBlock) {
    auto block = std::make_unique<common::TLogBlock>();
    for (size_t i = 0; i < block->size(); ++i) (*block)[i] = static_cast<std::uint8_t>(i);
    TMyLog log;
    log.SetLogFileName(logPath_);
    log.AddByteArray(L"Block:", *block);

    const std::wstring line = FileLines(logPath_).at(0);
    const size_t start = line.find(L": Block:");
    ASSERT_NE(start, std::wstring::npos);
    const std::wstring dump = line.substr(start + 8);
    ASSERT_EQ(dump.size(), 98304u);
    EXPECT_EQ(dump.substr(0, 36), L"00 01 02 03 04 05 06 07 08 09 0A 0B ");
    EXPECT_EQ(dump.substr(dump.size() - 6), L"FE FF ") << "the last byte is followed by a blank too";
}

TEST_F(MyLogTest, ConcurrentMessagesAreNeitherLostNorInterleaved) {
    TMyLog log;
    log.SetLogFileName(logPath_);
    constexpr int kThreads = 8, kEach = 40;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kEach; ++i)
                log.AddMessage(L"thread " + std::to_wstring(t) + L" message " + std::to_wstring(i), false);
        });
    for (auto& th : threads) th.join();

    const std::vector<std::wstring> lines = FileLines(logPath_);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kEach));
    std::map<int, int> lastSeen;  // per thread, the message index met last reading downwards
    for (const std::wstring& line : lines) {
        int t = -1, i = -1;
        const size_t p = line.find(L": thread ");
        ASSERT_NE(p, std::wstring::npos) << base::ToUtf8(line);
        ASSERT_EQ(swscanf(line.c_str() + p, L": thread %d message %d", &t, &i), 2) << base::ToUtf8(line);
        ASSERT_TRUE(line.ends_with(L"message " + std::to_wstring(i))) << base::ToUtf8(line);
        // Newest first: each thread's own messages read downwards in falling order.
        if (lastSeen.count(t)) {
            EXPECT_EQ(i, lastSeen[t] - 1);
        }
        lastSeen[t] = i;
    }
    EXPECT_EQ(lastSeen.size(), static_cast<size_t>(kThreads));
    for (auto [t, i] : lastSeen) EXPECT_EQ(i, 0) << t;
}

TEST_F(MyLogTest, WriteFailureRaisesReleasesTheLockAndKeepsTheEntry) {
    const std::wstring folder = dir_ / L"not yet";
    const std::wstring path = folder + L"\\ReziDozure.log";
    TMyLog log;
    log.SetLogFileName(path);
    EXPECT_THROW(log.AddMessage(L"first", false), base::Error);
    EXPECT_THROW(log.AddMessage(L"second", false), base::Error) << "a held lock would hang here";

    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    log.AddMessage(L"third", false);
    const std::vector<std::wstring> lines = FileLines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(L": third"));
    EXPECT_TRUE(lines[2].ends_with(L": first"));
}

TEST_F(MyLogTest, UnreadableExistingFileRaisesOnRetarget) {
    base::SaveTextFile(logPath_, {L"busy"}, base::TextEncoding::Ansi);
    base::FileHandle exclusive(
        CreateFileW(logPath_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(exclusive);
    TMyLog log;
    EXPECT_THROW(log.SetLogFileName(logPath_), base::Error);
}

TEST_F(MyLogTest, BadExistingFileNeverStopsTheLog) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"binary garbage", garbage},
        {"one 1 MB line", std::string(1 << 20, 'x')},
        {"NUL bytes", "ab\0\0cd\r\n\0\r\nef"s},
        {"UTF-16 with BOM", "\xFF\xFEo\0l\0d\0\r\0\n\0"s},
        {"UTF-16 without BOM", "o\0l\0d\0\r\0\n\0"s},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WriteFile(logPath_, c.bytes);
        TMyLog log;
        log.SetLogFileName(logPath_);
        log.AddMessage(L"after", false);
        const std::vector<std::wstring> lines = FileLines(logPath_);
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines[0].ends_with(L": after"));
    }
}

// Wine answers ReportEventW with a stub that prints each string under
// WINEDEBUG=+eventlog on the process's own Unix stderr, which a Windows child
// shares with its parent. So the child runs from a Unix shell that sends that
// stream to a file, and the test reads the file.
std::string WineDebugString(const std::wstring& text) {
    std::string out = "L\"";
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != L'"' && c != L'\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\%04x", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out + "\"";
}

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string UnixPath(const std::wstring& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    std::string result = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs one test of this program in a child with the event-log trace on; returns the trace.
std::string RunChildWithEventLogTrace(const std::string& filter, const std::wstring& traceFile) {
    using Spawn = long(__cdecl*)(char* const*, int);
    auto spawn = reinterpret_cast<Spawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    const std::string exe = UnixPath(base::ExeFile()), trace = UnixPath(traceFile);
    if (!spawn || exe.empty() || trace.empty()) return {};
    std::string command = "WINEDEBUG=+eventlog exec \"${WINELOADER:-/usr/lib/wine/wine64}\" " + ShellQuote(exe) +
                          " --gtest_also_run_disabled_tests " + ShellQuote("--gtest_filter=" + filter) + " 2>" +
                          ShellQuote(trace) + " >/dev/null </dev/null";
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(), nullptr};
    if (spawn(argv, 1) != 0) return {};
    return base::FileExists(traceFile) ? testsupport::ReadFile(traceFile) : std::string();
}

// Started only as the child of the test below.
TEST_F(MyLogTest, DISABLED_EventLogChild) {
    TMyLog log;
    log.SetLogFileName(logPath_);
    CustomerName = L"Клиника №1";
    log.AddMessage(L"Проверка связи", false);
    CustomerName.clear();
    log.AddMessage(L"only the system log", true);
}

TEST_F(MyLogTest, EveryEntryIsCopiedToTheSystemEventLog) {
    if (!testsupport::IsWine()) GTEST_SKIP() << "the copy is read back through Wine's event-log trace";
    const std::string trace = RunChildWithEventLogTrace("MyLogTest.DISABLED_EventLogChild", dir_ / L"trace.txt");
    ASSERT_NE(trace.find("RegisterEventSourceW ((null),L\"Velton-Holter\")"), std::string::npos) << trace;
    EXPECT_NE(trace.find("ReportEventW ("), std::string::npos);
    EXPECT_NE(trace.find(",0x0004,0x0000,0x00000000,"), std::string::npos) << "information type, category 0, id 0";
    // Customer, ": ", message, no time stamp; an empty customer leaves ": " first.
    EXPECT_NE(trace.find("ReportEventW " + WineDebugString(L"Клиника №1: Проверка связи")), std::string::npos) << trace;
    EXPECT_NE(trace.find("ReportEventW " + WineDebugString(L": only the system log")), std::string::npos) << trace;
}

}  // namespace
