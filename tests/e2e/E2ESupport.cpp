#include "E2ESupport.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "base/Handles.h"
#include "base/Text.h"

namespace e2e {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

std::wstring EnvVar(const wchar_t* name) {
    wchar_t buffer[2048] = {};
    DWORD length = GetEnvironmentVariableW(name, buffer, 2048);
    return length > 0 && length < 2048 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

std::wstring SampleDistribution() {
    std::wstring dist = EnvVar(L"HOLTER_SAMPLE_DIST");
    if (dist.empty()) dist = base::ExeFolder() + L"..\\sample-distribution";
    return base::IncludeTrailingBackslash(dist);
}

std::wstring FixtureFolder() {
    std::wstring folder = EnvVar(L"HOLTER_E2E_FIXTURES");
    return folder.empty() ? folder : base::IncludeTrailingBackslash(folder);
}

Workspace::Workspace() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = base::IncludeTrailingBackslash(temp) + L"holter-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter) + L"\\";
    if (!CreateDirectoryW(root_.c_str(), nullptr)) throw std::runtime_error("cannot create the temporary folder");
    std::wstring source = SampleDistribution();
    if (!FileExists(source + L"Install.exe"))
        throw std::runtime_error("no sample distribution at " + base::ToUtf8(source) +
                                 " (set HOLTER_SAMPLE_DIST or run tools/make-sample-distribution)");
    CopyTree(source, Dist());
}

Workspace::~Workspace() { RemoveTree(root_); }

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    base::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    base::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) throw std::runtime_error("cannot write " + base::ToUtf8(path));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    base::FindHandle find(FindFirstFileW((base::IncludeTrailingBackslash(folder) + L"*").c_str(), &data));
    if (!find) return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

void CopyTree(const std::wstring& from, const std::wstring& to) {
    std::wstring source = base::IncludeTrailingBackslash(from), dest = base::IncludeTrailingBackslash(to);
    CreateDirectoryW(dest.c_str(), nullptr);
    for (const std::wstring& name : FolderEntries(source)) {
        if (DirExists(source + name)) {
            CopyTree(source + name, dest + name);
        } else if (!CopyFileW((source + name).c_str(), (dest + name).c_str(), FALSE)) {
            throw std::runtime_error("cannot copy " + base::ToUtf8(source + name));
        }
    }
}

void RemoveTree(const std::wstring& path) {
    std::wstring folder = base::IncludeTrailingBackslash(path);
    for (const std::wstring& name : FolderEntries(folder)) {
        std::wstring item = folder + name;
        SetFileAttributesW(item.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DirExists(item)) {
            RemoveTree(item);
        } else {
            DeleteFileW(item.c_str());
        }
    }
    RemoveDirectoryW(base::ExcludeTrailingBackslash(folder).c_str());
}

std::optional<FILETIME> LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data.ftLastWriteTime;
}

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

std::wstring WithoutTrailingNewlines(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

const char* PageName(Page page) {
    switch (page) {
        case Page::Welcome: return "welcome";
        case Page::Path: return "path";
        case Page::Options: return "options";
        case Page::Progress: return "progress";
        case Page::Cancel: return "cancel";
        case Page::FontSize: return "font-size";
        case Page::Unknown: break;
    }
    return "unknown";
}

Page CurrentPage(const UiDriver& ui) {
    if (ui.Button(L"Начать установку")) return Page::Options;
    if (ui.Button(L"Выбрать")) return Page::Path;
    if (ui.Button(L"Изменить настройки")) return Page::FontSize;
    if (HWND list = ui.ProgressList(); list && IsWindowVisible(list)) return Page::Progress;
    if (ui.FindControlStartingWith(L"Edit", L"Установка комплекса ")) return Page::Cancel;
    if (ui.FindControlStartingWith(L"Edit", L"Добро пожаловать")) return Page::Welcome;
    return Page::Unknown;
}

bool WaitPage(const UiDriver& ui, Page page, DWORD timeoutMs) {
    return WaitFor([&] { return CurrentPage(ui) == page; }, timeoutMs);
}

testing::AssertionResult GoToPathPage(UiDriver& ui) {
    if (!WaitPage(ui, Page::Welcome)) return testing::AssertionFailure() << "the welcome page is not shown";
    if (!ui.ClickButton(L"Далее")) return testing::AssertionFailure() << "no Next button on the welcome page";
    if (!WaitPage(ui, Page::Path))
        return testing::AssertionFailure() << "Next led to the " << PageName(CurrentPage(ui)) << " page";
    return testing::AssertionSuccess();
}

testing::AssertionResult SubmitPath(UiDriver& ui, const std::wstring& text) {
    HWND field = ui.PathField();
    if (!field || !IsWindowVisible(field)) return testing::AssertionFailure() << "no path field shown";
    UiDriver::SetText(field, text);
    if (UiDriver::Text(field) != text) return testing::AssertionFailure() << "the path field does not take the text";
    if (!ui.ClickButton(L"Далее")) return testing::AssertionFailure() << "no Next button on the path page";
    return testing::AssertionSuccess();
}

testing::AssertionResult CloseNotice(UiDriver& ui) {
    HWND notice = ui.WaitNotice();
    if (!notice) return testing::AssertionFailure() << "the driver notice did not appear";
    for (HWND child : Descendants(notice)) {
        if (base::SameText(ClassName(child), L"Button") && WithoutAccelerators(UiDriver::Text(child)) == L"OK") {
            UiDriver::Click(child);
            if (!UiDriver::WaitGone(notice)) return testing::AssertionFailure() << "the notice stays after OK";
            return testing::AssertionSuccess();
        }
    }
    return testing::AssertionFailure() << "the notice has no OK button";
}

testing::AssertionResult GoToOptions(UiDriver& ui, const std::wstring& target) {
    if (auto r = GoToPathPage(ui); !r) return r;
    if (auto r = SubmitPath(ui, target); !r) return r;
    if (auto r = CloseNotice(ui); !r) return r;
    if (!WaitPage(ui, Page::Options))
        return testing::AssertionFailure() << "after the notice: the " << PageName(CurrentPage(ui)) << " page";
    return testing::AssertionSuccess();
}

testing::AssertionResult AnswerDialog(UiDriver& ui, const std::wstring& caption, const std::wstring& text,
                                      const std::wstring& button, DWORD timeoutMs) {
    auto dialog = ui.WaitDialog(timeoutMs);
    if (!dialog)
        return testing::AssertionFailure() << "no message box \"" << base::ToUtf8(text) << "\" appeared";
    if (dialog->caption != caption || dialog->text != text)
        return testing::AssertionFailure() << "message box \"" << base::ToUtf8(dialog->caption) << "\": \""
                                           << base::ToUtf8(dialog->text) << "\", expected \""
                                           << base::ToUtf8(caption) << "\": \"" << base::ToUtf8(text) << "\"";
    if (!UiDriver::Answer(*dialog, button))
        return testing::AssertionFailure() << "the message box has no " << base::ToUtf8(button) << " button";
    if (!UiDriver::WaitGone(dialog->window)) return testing::AssertionFailure() << "the message box stays";
    return testing::AssertionSuccess();
}

std::wstring NormalisedText(HWND memo) {
    std::wstring text = UiDriver::Text(memo), out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            out += L'\n';
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            out += text[i];
        }
    }
    return WithoutTrailingNewlines(out);
}

ScopedLogPixels::ScopedLogPixels(DWORD dpi) {
    base::RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr))
        throw std::runtime_error("cannot open HKCU\\Control Panel\\Desktop");
    DWORD value = 0, type = 0, size = sizeof(value);
    if (RegQueryValueExW(key.get(), L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD)
        previous_ = value;
    RegSetValueExW(key.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
}

ScopedLogPixels::~ScopedLogPixels() {
    base::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_ALL_ACCESS, key.put())) return;
    if (previous_) {
        RegSetValueExW(key.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*previous_),
                       sizeof(DWORD));
    } else {
        RegDeleteValueW(key.get(), L"LogPixels");
    }
}

std::optional<std::wstring> RegText(HKEY root, const std::wstring& key, const std::wstring& name) {
    base::RegKey handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.put())) return std::nullopt;
    wchar_t data[2048] = {};
    DWORD type = 0, size = sizeof(data) - sizeof(wchar_t);
    if (RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size))
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    return std::wstring(data);
}

std::wstring DesktopFolder() {
    return RegText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   L"Desktop")
        .value_or(L"");
}

std::wstring FontsFolder() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return base::IncludeTrailingBackslash(windows) + L"fonts\\";
}

void RemoveFonts(const std::vector<std::wstring>& fileNames) {
    for (const std::wstring& name : fileNames) {
        RemoveFontResourceW((FontsFolder() + name).c_str());
        SetFileAttributesW((FontsFolder() + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((FontsFolder() + name).c_str());
    }
    base::RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS, key.put())) return;
    std::vector<std::wstring> doomed;
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[512];
        wchar_t data[1024] = {};
        DWORD nameLength = 512, size = sizeof(data) - sizeof(wchar_t), type = 0;
        LONG rc = RegEnumValueW(key.get(), i, valueName, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
        for (const std::wstring& name : fileNames) {
            if (base::SameText(data, name)) doomed.emplace_back(valueName, nameLength);
        }
    }
    for (const std::wstring& valueName : doomed) RegDeleteValueW(key.get(), valueName.c_str());
}

std::optional<ShortcutInfo> ReadShortcut(const std::wstring& lnkPath) {
    base::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return std::nullopt;
    base::ComPtr<IPersistFile> file;
    if (FAILED(link.As(file)) || FAILED(file->Load(lnkPath.c_str(), STGM_READ))) return std::nullopt;
    ShortcutInfo info;
    wchar_t buffer[INFOTIPSIZE] = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) info.path = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetArguments(buffer, INFOTIPSIZE))) info.arguments = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) info.workingFolder = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetDescription(buffer, INFOTIPSIZE))) info.description = buffer;
    return info;
}

}  // namespace e2e
