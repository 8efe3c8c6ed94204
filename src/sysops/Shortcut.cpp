#include "sysops/Shortcut.h"

#include <windows.h>
// windows.h first: the shell headers depend on it.
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <iterator>

#include "base/ComError.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"

namespace sysops {
namespace {

struct ShellFolderKey {
    const wchar_t* key;
    const wchar_t* subKey;
    const wchar_t* value;
};

// Indexed by location code; the key texts are kept as the program has always written them.
constexpr ShellFolderKey kShellFolders[] = {
    {L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer", L"Shell Folders", L"Desktop"},
    {L"Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv", L"MapGroups", L"Quick Launch"},
    {L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer", L"Shell Folders", L"SendTo"},
    {L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer", L"Shell Folders", L"Start Menu"},
};

[[noreturn]] void RaiseRegistryTypeError(const wchar_t* valueName) {
    throw base::Error(L"Invalid data type for '" + std::wstring(valueName) + L"'");
}

// A text value of the key; missing key or value gives "", a value of another type raises.
std::wstring ReadRegistryText(HKEY key, const wchar_t* valueName) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistryTypeError(valueName);
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return {};
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

// Opening the main key for full access creates it when missing (left behind empty).
std::wstring ReadShellFolder(const ShellFolderKey& entry) {
    base::RegKey main;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, entry.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, main.put(), nullptr) !=
        ERROR_SUCCESS)
        return {};
    base::RegKey sub;
    if (RegOpenKeyExW(main.get(), entry.subKey, 0, KEY_QUERY_VALUE, sub.put()) != ERROR_SUCCESS) return {};
    return ReadRegistryText(sub.get(), entry.value);
}

std::wstring BaseFolder(uint8_t location, const std::wstring& folder) {
    if (location < std::size(kShellFolders)) return ReadShellFolder(kShellFolders[location]);
    if (location == GivenFolder) return folder;
    return {};
}

}  // namespace

std::wstring CreateShortcut(const std::wstring& target, uint8_t location, const std::wstring& folder,
                            const std::wstring& workingFolder, const std::wstring& arguments,
                            const std::wstring& description, const std::wstring& linkName) {
    base::ComPtr<IShellLinkW> link;
    base::CheckCom(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()));
    base::ComPtr<IPersistFile> file;
    base::CheckCom(link.As(file));

    (void)link->SetPath(target.c_str());
    (void)link->SetArguments(arguments.c_str());
    (void)link->SetDescription(description.c_str());

    const std::wstring fileName =
        base::ExtractFileName(base::ChangeFileExt(linkName.empty() ? target : linkName, L".lnk"));
    const std::wstring baseFolder = BaseFolder(location, folder);
    if (baseFolder.empty()) return {};

    const bool intoSubFolder = location < GivenFolder && !folder.empty();
    const std::wstring linkPath =
        intoSubFolder ? baseFolder + L"\\" + folder + L"\\" + fileName : baseFolder + L"\\" + fileName;

    const std::wstring workIn = workingFolder.empty() ? base::ExtractFilePath(target) : workingFolder;
    (void)link->SetWorkingDirectory(workIn.c_str());
    // Missing folders are not created and a failed save is not reported.
    (void)file->Save(linkPath.c_str(), FALSE);
    return linkPath;
}

}  // namespace sysops
