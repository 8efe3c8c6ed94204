// A complete scripted installation against a realistic distribution (a 200 MB
// database, the engine files, a release archive of about 2,000 files and 100 MB),
// timed against a plain CopyFileW of the same bytes. Everything lives in a temporary
// folder removed afterwards; the desktop shortcut goes to a temporary desktop.
// Run by hand; not part of the tests.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "install/InstallRun.h"
#include "install/InstallSteps.h"

namespace {

constexpr size_t kKiB = 1024, kMiB = 1024 * kKiB;

using Clock = std::chrono::steady_clock;

// Answers Yes, shows nothing, and notes when the busy stretch (the single-file copies)
// ends and when the release deployment enables Exit.
class QuietView : public install::IInstallView {
public:
    int lines = 0;
    Clock::time_point copiesDone, deployed;
    void ClearLines() override { lines = 0; }
    int AddLine(const std::wstring&) override { return lines++; }
    void AppendToLine(int, const std::wstring&) override {}
    void RepaintLines() override {}
    void ShowError(const std::wstring& text) override { std::printf("error box: %s\n", base::ToUtf8(text).c_str()); }
    bool Confirm(const std::wstring&) override { return true; }  // the driver question; its installer is absent
    void ProcessMessages() override {}
    void SetBusy(bool busy) override {
        if (!busy) copiesDone = Clock::now();
    }
    void EnableExit() override { deployed = Clock::now(); }
    void ShowPage(install::Page) override {}
    void CloseWindow() override {}
};

uint64_t totalBytes = 0;
unsigned totalFiles = 0;

void WriteData(const std::wstring& path, size_t size, unsigned seed) {
    base::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw base::Error(L"cannot write " + path);
    std::vector<char> block(std::min(size, kMiB));
    uint32_t x = seed * 2654435761u + 1;
    for (size_t left = size; left > 0;) {
        for (size_t i = 0; i < block.size(); i += 4) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            std::memcpy(block.data() + i, &x, std::min<size_t>(4, block.size() - i));
        }
        DWORD piece = static_cast<DWORD>(std::min(left, block.size())), written = 0;
        if (!WriteFile(file.get(), block.data(), piece, &written, nullptr) || written != piece)
            throw base::Error(L"cannot write " + path);
        left -= piece;
    }
    totalBytes += size;
    ++totalFiles;
}

void WriteText(const std::wstring& path, const std::string& text) {
    base::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        throw base::Error(L"cannot write " + path);
    totalBytes += text.size();
    ++totalFiles;
}

void MakeDir(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
}

void MakeDistribution(const std::wstring& root) {
    struct Sized {
        const wchar_t* name;
        size_t size;
    };
    unsigned seed = 1;
    MakeDir(root + L"DTAfb");
    WriteData(root + L"DTAfb\\VLB.FDB", 200 * kMiB, seed++);
    const Sized engine[] = {
        {L"aliases.conf", 2 * kKiB},   {L"firebird.conf", 30 * kKiB}, {L"fbclient.Dll", 3500 * kKiB},
        {L"ib_util.Dll", 8 * kKiB},    {L"icudt30.Dll", 8600 * kKiB}, {L"icuin30.Dll", 1000 * kKiB},
        {L"icuuc30.Dll", 900 * kKiB},  {L"msvcp80.Dll", 550 * kKiB},  {L"msvcr80.Dll", 630 * kKiB},
        {L"firebird.msg", 100 * kKiB}, {L"gbak.exe", 300 * kKiB},     {L"gds32.dll", 350 * kKiB}};
    MakeDir(root + L"Firebird");
    for (const auto& f : engine) WriteData(root + L"Firebird\\" + f.name, f.size, seed++);
    MakeDir(root + L"Firebird\\intl");
    WriteData(root + L"Firebird\\intl\\fbintl.conf", 4 * kKiB, seed++);
    WriteData(root + L"Firebird\\intl\\fbintl.dll", 550 * kKiB, seed++);
    MakeDir(root + L"Firebird\\udf");
    for (auto name : {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql", L"ib_udf2.sql"})
        WriteData(root + L"Firebird\\udf\\" + name, 40 * kKiB, seed++);
    MakeDir(root + L"UDF");
    for (auto name : {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll", L"SDecision.Dll"})
        WriteData(root + L"UDF\\" + name, 1200 * kKiB, seed++);

    // Four releases of five folders of 100 files, about 50 KB each.
    MakeDir(root + L"backup");
    for (auto release : {L"R010120", L"R150619", L"R311219", L"R150320"}) {
        const std::wstring folder = root + L"backup\\" + release + L"\\";
        MakeDir(folder);
        // As a release does, the script puts the main program into the target folder.
        WriteText(folder + L"Install.cmd", "@copy /y Shell.exe ..\\..\\Shell.exe >nul\r\n");
        WriteData(folder + L"Shell.exe", 2 * kMiB, seed++);
        for (int sub = 0; sub < 5; ++sub) {
            const std::wstring subFolder = folder + L"part" + std::to_wstring(sub) + L"\\";
            MakeDir(subFolder);
            for (int i = 0; i < 100; ++i)
                WriteData(subFolder + L"file" + std::to_wstring(i) + L".bin", 40 * kKiB + (i % 20) * kKiB, seed++);
        }
    }
    MakeDir(root + L"Updater");
    WriteText(root + L"Updater\\ReleaseInfo",
              "<?xml version=\"1.0\"?>\r\n<ROOT><Version>1</Version><Level>old</Level></ROOT>\r\n");
    WriteText(root + L"Updater\\Updater.exe.cfg", "<configuration/>");
    WriteData(root + L"Updater\\Updater.exe", 1 * kMiB, seed++);
}

void CopyAll(const std::wstring& from, const std::wstring& to) {
    MakeDir(to);
    WIN32_FIND_DATAW fd;
    base::FindHandle find(FindFirstFileW((from + L"\\*").c_str(), &fd));
    if (!find) return;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyAll(from + L"\\" + name, to + L"\\" + name);
        else if (!CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE))
            throw base::Error(L"CopyFileW failed on " + name);
    } while (FindNextFileW(find.get(), &fd));
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    {
        base::FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &fd));
        if (find) do {
                const std::wstring name = fd.cFileName, full = path + L"\\" + name;
                if (name == L"." || name == L"..") continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(find.get(), &fd));
    }
    // A helper the shell starts for a new shortcut may still sit in a folder for a moment.
    for (int i = 0; i < 50 && !RemoveDirectoryW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND; ++i)
        Sleep(100);
}

// The shortcut must not land on the real desktop: point both shell-folder values elsewhere.
// Under Wine a new desktop link also starts a menu-building helper that stays in the run's
// current folder (the target) until this program ends; Windows has no such helper, so it
// is switched off ("" in the Wine DLL overrides) while the benchmark runs.
class DesktopRedirect {
public:
    explicit DesktopRedirect(const std::wstring& folder) {
        for (auto& s : saved_) {
            const std::wstring data = s.value == saved_[2].value ? std::wstring() : folder;
            base::RegKey key;
            RegCreateKeyExW(HKEY_CURRENT_USER, s.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
            DWORD size = 0;
            if (RegQueryValueExW(key.get(), s.value, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
                s.data.resize(size);
                s.had = RegQueryValueExW(key.get(), s.value, nullptr, &s.type, s.data.data(), &size) == ERROR_SUCCESS;
            }
            RegSetValueExW(key.get(), s.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        }
    }
    ~DesktopRedirect() {
        for (const auto& s : saved_) {
            base::RegKey key;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, s.key, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) continue;
            if (s.had)
                RegSetValueExW(key.get(), s.value, 0, s.type, s.data.data(), static_cast<DWORD>(s.data.size()));
            else
                RegDeleteValueW(key.get(), s.value);
        }
    }

private:
    struct Saved {
        const wchar_t* key;
        const wchar_t* value;
        bool had = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    } saved_[3] = {{L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Desktop"},
                   {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", L"Desktop"},
                   {L"Software\\Wine\\DllOverrides", L"winemenubuilder.exe"}};
};

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t temp[MAX_PATH], cwd[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring root = std::wstring(temp) + L"install-bench-" + std::to_wstring(GetCurrentProcessId());
    MakeDir(root);
    MakeDir(root + L"\\desktop");
    int rc = 0;
    try {
        DesktopRedirect redirect(root + L"\\desktop");
        const std::wstring dist = root + L"\\dist\\";
        MakeDir(dist);
        MakeDistribution(dist);
        std::printf("distribution: %u files, %.1f MB\n", totalFiles, totalBytes / double(kMiB));

        // Untimed warm-up: the first pass pays for writing back the freshly made distribution.
        CopyAll(base::ExcludeTrailingBackslash(dist), root + L"\\warmup");
        RemoveTree(root + L"\\warmup");

        std::vector<double> installs, copies;
        for (int round = 1; round <= 6; ++round) {
            const std::wstring target = root + L"\\target\\", copy = root + L"\\copy";
            auto installOnce = [&] {
                MakeDir(target);
                MakeDir(target + L"Settings");
                install::RunInputs in;
                in.pathText = target;
                in.sourceFolder = dist;
                in.productTitle = L"Bench";
                in.productDescription = L"Benchmark";
                in.mainProgram = L"Shell.exe";
                QuietView view;
                const auto start = Clock::now();
                installs.push_back(Seconds([&] { install::RunInstallation(view, in); }));
                const auto end = Clock::now();
                std::printf(
                    "  installation: copies %.2f s, fonts and driver step and release deployment %.2f s, rest %.2f s\n",
                    std::chrono::duration<double>(view.copiesDone - start).count(),
                    std::chrono::duration<double>(view.deployed - view.copiesDone).count(),
                    std::chrono::duration<double>(end - view.deployed).count());
                SetCurrentDirectoryW(cwd);
                RemoveTree(base::ExcludeTrailingBackslash(target));
            };
            auto copyOnce = [&] {
                copies.push_back(Seconds([&] { CopyAll(base::ExcludeTrailingBackslash(dist), copy); }));
                RemoveTree(copy);
            };
            // Alternating order, so that neither side always follows the other's writes.
            if (round % 2) {
                installOnce();
                copyOnce();
            } else {
                copyOnce();
                installOnce();
            }
            std::printf("round %d: installation %.2f s, CopyFileW %.2f s\n", round, installs.back(), copies.back());
        }
        auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
        };
        const double install = median(installs), plain = median(copies);
        std::printf("median: installation %.2f s, CopyFileW %.2f s, ratio %.2f (goal <= 1.2)\n", install, plain,
                    install / plain);
    } catch (const base::Error& e) {
        std::printf("error: %s\n", e.what());
        rc = 1;
    }
    SetCurrentDirectoryW(cwd);
    RemoveTree(root);
    CoUninitialize();
    return rc;
}
