#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "sysops/FileOps.h"

using namespace sysops;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

void MakeFolder(const std::wstring& path, DWORD attributes = 0) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << base::ToUtf8(path);
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    }
}

void MakeFile(const std::wstring& path, const std::string& bytes, DWORD attributes = 0) {
    WriteFile(path, bytes);
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    }
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD Attributes(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

std::wstring ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const base::Error& e) {
        return e.Message();
    }
    return L"(nothing raised)";
}

FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return data.ftLastWriteTime;
}

FILETIME LocalToFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
    SYSTEMTIME st{year, month, 0, day, hour, minute, second, ms};
    FILETIME local{}, utc{};
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919) >> 3);
    return bytes;
}

}  // namespace

TEST(EnsureFolder, CreatesOneLevelOnlyAndLeavesExistingFoldersAlone) {
    TempDir tmp;
    EnsureFolder(tmp / L"new");
    EXPECT_TRUE(Exists(tmp / L"new"));

    EnsureFolder(tmp / L"missing\\child");
    EXPECT_FALSE(Exists(tmp / L"missing"));

    MakeFile(tmp / L"new\\keep.txt", "x");
    EnsureFolder(tmp / L"new\\");
    EnsureFolder(tmp / L"new");
    EXPECT_EQ(ReadFile(tmp / L"new\\keep.txt"), "x");
}

TEST(ListSubfolders, TakesVisibleFoldersExceptTheExactReservedNameAfterExistingEntries) {
    TempDir tmp;
    MakeFolder(tmp / L"A");
    MakeFolder(tmp / L"WithOutAnswer");
    MakeFolder(tmp / L"Hidden", FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(tmp / L"System", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(tmp / L"file.txt", "x");
    MakeFile(tmp / L"R010120", "a file named like a release");
    // Same name in other letter case: on a case-insensitive disk it lives in a folder of its own.
    TempDir other;
    MakeFolder(other / L"withoutanswer");
    MakeFolder(other / L"WithOutAnswer2");

    std::vector<std::wstring> list{L"earlier"};
    ListSubfolders(tmp.Path(), list);
    ListSubfolders(other.Path(), list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], L"earlier");
    EXPECT_EQ(list[1], tmp / L"A");
    std::sort(list.begin() + 2, list.end());
    EXPECT_EQ(list[2], other / L"WithOutAnswer2");
    EXPECT_EQ(list[3], other / L"withoutanswer");

    ListSubfolders(tmp / L"missing\\", list);
    EXPECT_EQ(list.size(), 4u);
}

TEST(CopyTree, MissingSourceStillCreatesTheDestinationWithItsParents) {
    TempDir tmp;
    CopyTree(tmp / L"nothing", tmp / L"a\\b\\c");
    EXPECT_TRUE(Exists(tmp / L"a\\b\\c"));
    std::vector<std::wstring> list;
    ListSubfolders(tmp / L"a\\b\\c\\", list);
    EXPECT_TRUE(list.empty());
}

TEST(CopyTree, CopiesHiddenAndSystemFilesButNotHiddenOrSystemFolders) {
    TempDir tmp;
    const std::wstring src = tmp / L"src", dst = tmp / L"out\\dst";
    MakeFolder(src);
    MakeFile(src + L"\\plain.txt", "plain");
    MakeFile(src + L"\\hidden.txt", "hidden", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(src + L"\\system.txt", "system", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(src + L"\\sub");
    MakeFile(src + L"\\sub\\inner.txt", "inner");
    MakeFolder(src + L"\\sub\\WithOutAnswer");
    MakeFile(src + L"\\sub\\WithOutAnswer\\deep.txt", "deep");
    MakeFolder(src + L"\\HiddenSub", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(src + L"\\HiddenSub\\x.txt", "x");
    MakeFolder(src + L"\\SystemSub", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(src + L"\\SystemSub\\y.txt", "y");

    CopyTree(src, dst);

    EXPECT_EQ(ReadFile(dst + L"\\plain.txt"), "plain");
    EXPECT_EQ(ReadFile(dst + L"\\hidden.txt"), "hidden");
    EXPECT_EQ(ReadFile(dst + L"\\system.txt"), "system");
    EXPECT_TRUE(Attributes(dst + L"\\hidden.txt") & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadFile(dst + L"\\sub\\inner.txt"), "inner");
    EXPECT_EQ(ReadFile(dst + L"\\sub\\WithOutAnswer\\deep.txt"), "deep");
    EXPECT_FALSE(Exists(dst + L"\\HiddenSub"));
    EXPECT_FALSE(Exists(dst + L"\\SystemSub"));
}

TEST(CopyTree, ReplacesExistingFiles) {
    TempDir tmp;
    MakeFolder(tmp / L"src");
    MakeFolder(tmp / L"dst");
    MakeFile(tmp / L"src\\a.txt", "new");
    MakeFile(tmp / L"dst\\a.txt", "old and longer");
    MakeFile(tmp / L"dst\\other.txt", "kept");
    CopyTree(tmp / L"src", tmp / L"dst");
    EXPECT_EQ(ReadFile(tmp / L"dst\\a.txt"), "new");
    EXPECT_EQ(ReadFile(tmp / L"dst\\other.txt"), "kept");
}

TEST(CopyTree, LeavesReadOnlyDestinationFilesUnchangedAndGoesOn) {
    SKIP_ON_WINE("root may overwrite a read-only file under Wine; Windows refuses");
    TempDir tmp;
    MakeFolder(tmp / L"src");
    MakeFolder(tmp / L"dst");
    MakeFile(tmp / L"src\\a.txt", "new");
    MakeFile(tmp / L"src\\b.txt", "new");
    MakeFile(tmp / L"dst\\a.txt", "old", FILE_ATTRIBUTE_READONLY);
    CopyTree(tmp / L"src", tmp / L"dst");
    EXPECT_EQ(ReadFile(tmp / L"dst\\a.txt"), "old");
    EXPECT_EQ(ReadFile(tmp / L"dst\\b.txt"), "new");
}

TEST(CopyOneFile, EmptySourceGivesEmptyDestinationWithTimeToTheEvenSecond) {
    TempDir tmp;
    MakeFile(tmp / L"empty", "");
    {
        base::FileHandle f(
            CreateFileW((tmp / L"empty").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(f);
        FILETIME odd = LocalToFileTime(2021, 6, 15, 10, 20, 31, 700);
        ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &odd));
    }
    EXPECT_TRUE(CopyOneFile(tmp / L"empty", tmp / L"copy"));
    EXPECT_EQ(ReadFile(tmp / L"copy"), "");
    FILETIME expected = LocalToFileTime(2021, 6, 15, 10, 20, 30, 0), actual = LastWriteTime(tmp / L"copy");
    EXPECT_EQ(CompareFileTime(&expected, &actual), 0);
}

TEST(CopyOneFile, CopiesContentAcrossPiecesAndTruncatesAnExistingDestination) {
    TempDir tmp;
    const std::string content = Pattern((3 << 20) + 12345);
    MakeFile(tmp / L"big.bin", content);
    MakeFile(tmp / L"dest.bin", Pattern(5 << 20));
    EXPECT_TRUE(CopyOneFile(tmp / L"big.bin", tmp / L"dest.bin"));
    EXPECT_TRUE(ReadFile(tmp / L"dest.bin") == content);
}

TEST(CopyOneFile, SourceThatCannotBeOpenedRaisesAndCreatesNothing) {
    TempDir tmp;
    MakeFile(tmp / L"busy.txt", "x");
    base::FileHandle holder(
        CreateFileW((tmp / L"busy.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    struct Case {
        std::wstring source;
        DWORD code;
    } cases[] = {{tmp / L"missing.txt", ERROR_FILE_NOT_FOUND}, {tmp / L"busy.txt", ERROR_SHARING_VIOLATION}};
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorText([&] { CopyOneFile(c.source, tmp / L"out.txt"); }),
                  L"Cannot open file \"" + c.source + L"\". " + base::SysErrorMessage(c.code));
        EXPECT_FALSE(Exists(tmp / L"out.txt"));
    }
}

TEST(CopyOneFile, DestinationThatCannotBeCreatedRaisesAndReleasesTheSource) {
    TempDir tmp;
    MakeFile(tmp / L"src.txt", "x");
    const std::wstring dest = tmp / L"no such folder\\out.txt";
    EXPECT_EQ(ErrorText([&] { CopyOneFile(tmp / L"src.txt", dest); }),
              L"Cannot create file \"" + dest + L"\". " + base::SysErrorMessage(ERROR_PATH_NOT_FOUND));
    base::FileHandle exclusive(
        CreateFileW((tmp / L"src.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(exclusive) << "the source must be closed after the error";
}

TEST(CopyOneFile, ReadOnlyDestinationRaises) {
    SKIP_ON_WINE("root may overwrite a read-only file under Wine; Windows refuses");
    TempDir tmp;
    MakeFile(tmp / L"src.txt", "new");
    MakeFile(tmp / L"ro.txt", "old", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ErrorText([&] { CopyOneFile(tmp / L"src.txt", tmp / L"ro.txt"); }),
              L"Cannot create file \"" + (tmp / L"ro.txt") + L"\". " + base::SysErrorMessage(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFile(tmp / L"ro.txt"), "old");
}

// A named pipe is a source whose read fails part way: the server writes a little, waits until
// it has been read, then goes away, so the next read breaks.
TEST(CopyOneFile, FailedContentCopyReturnsFalseAndKeepsThePartialFile) {
    TempDir tmp;
    const std::wstring pipeName = L"\\\\.\\pipe\\holter-copy-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount64());
    base::FileHandle server(CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                             1 << 16, 1 << 16, 0, nullptr));
    ASSERT_TRUE(server);
    const std::string partial = "first part of the content";
    std::thread writer([&partial, pipe = std::move(server)] {
        if (!ConnectNamedPipe(pipe.get(), nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) return;
        DWORD written = 0;
        ::WriteFile(pipe.get(), partial.data(), static_cast<DWORD>(partial.size()), &written, nullptr);
        FlushFileBuffers(pipe.get());
    });
    bool result = true;
    std::wstring error;
    try {
        result = CopyOneFile(pipeName, tmp / L"partial.bin");
    } catch (const base::Error& e) {
        error = e.Message();
        // CopyOneFile never connected: let the writer go before reporting.
        base::FileHandle unblock(CreateFileW(pipeName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    writer.join();
    ASSERT_EQ(error, L"");
    EXPECT_FALSE(result);
    EXPECT_EQ(ReadFile(tmp / L"partial.bin"), partial);
}

TEST(SetReadOnly, ChangesOnlyTheReadOnlyBit) {
    TempDir tmp;
    SetReadOnly(tmp / L"missing.txt", false);
    EXPECT_FALSE(Exists(tmp / L"missing.txt"));

    MakeFile(tmp / L"f.txt", "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetReadOnly(tmp / L"f.txt", false);
    EXPECT_EQ(Attributes(tmp / L"f.txt") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), FILE_ATTRIBUTE_HIDDEN);
    base::FileHandle writable(
        CreateFileW((tmp / L"f.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(writable);
    writable.reset();

    SetReadOnly(tmp / L"f.txt", true);
    EXPECT_EQ(Attributes(tmp / L"f.txt") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    MakeFile(tmp / L"plain.txt", "x", FILE_ATTRIBUTE_READONLY);
    SetReadOnly(tmp / L"plain.txt", false);
    EXPECT_FALSE(Attributes(tmp / L"plain.txt") & FILE_ATTRIBUTE_READONLY);
}

// Each copy goes to a fresh destination: the shell asks before it replaces anything.
TEST(ShellCopy, TrailingSeparatorsOnEitherSideMakeNoDifference) {
    TempDir tmp;
    MakeFolder(tmp / L"Driver");
    MakeFile(tmp / L"Driver\\setup.txt", "driver");
    struct Case {
        const wchar_t* source;
        const wchar_t* destination;
    } cases[] = {{L"Driver", L"out1"}, {L"Driver\\", L"out2"}, {L"Driver", L"out3\\"}, {L"Driver\\", L"out4\\"}};
    for (const auto& c : cases) {
        EXPECT_TRUE(ShellCopy(tmp / c.source, tmp / c.destination)) << base::ToUtf8(c.destination);
        EXPECT_EQ(ReadFile(tmp / (base::ExcludeTrailingBackslash(c.destination) + L"\\setup.txt")), "driver")
            << base::ToUtf8(c.destination);
    }
}
