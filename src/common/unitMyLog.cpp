#include "common/unitMyLog.h"

#include "base/FileSystem.h"
#include "base/Text.h"
#include "common/VL_Common_Var.h"

namespace common {

std::unique_ptr<TMyLog> MyLog;

namespace {

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[16] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16) <= 1) return fallback;
    return buffer;
}

std::wstring TwoDigits(unsigned value) {
    return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10 % 10)) + static_cast<wchar_t>(L'0' + value % 10);
}

std::wstring NewEntry(const std::wstring& message) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return CustomerName + LogTimeStamp(now) + L": " + message;
}

void LoadIfExists(base::TextLines& list, const std::wstring& path) {
    list = {};
    if (base::FileExists(path)) list = base::LoadTextFile(path);
}

void CutToSize(base::TextLines& list, std::int32_t maxSize) {
    if (list.lines.size() > static_cast<size_t>(maxSize)) list.lines.resize(static_cast<size_t>(maxSize));
}

// Failures are deliberately ignored: the copy in the system log is a courtesy.
void ReportToEventLog(const std::wstring& message) noexcept {
    try {
        std::wstring text = EventLogText(message);
        HANDLE source = RegisterEventSourceW(nullptr, L"Velton-Holter");
        if (!source) return;
        const wchar_t* strings[] = {text.c_str()};
        (void)ReportEventW(source, EVENTLOG_INFORMATION_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
        (void)DeregisterEventSource(source);
    } catch (...) {
    }
}

}  // namespace

std::wstring LogTimeStamp(const SYSTEMTIME& t) {
    const std::wstring date = LocaleText(LOCALE_SDATE, L"/");
    const std::wstring time = LocaleText(LOCALE_STIME, L":");
    std::wstring year = std::to_wstring(t.wYear);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, L'0');
    return TwoDigits(t.wDay) + date + TwoDigits(t.wMonth) + date + year + L' ' + TwoDigits(t.wHour) + time +
           TwoDigits(t.wMinute) + time + TwoDigits(t.wSecond);
}

std::wstring EventLogText(const std::wstring& message) {
    return CustomerName + L": " + message;
}

TMyLog::TMyLog() {
    SetLogFileName(base::ExeFolder() + L"ReziDozure.log");
}

std::unique_ptr<TMyLog> TMyLog::InMemoryOnly() {
    return std::unique_ptr<TMyLog>(new TMyLog(NoFile{}));
}

void TMyLog::SetLogFileName(const std::wstring& value) {
    LogFileName = value;
    LogMaxSize = 1000;
    LoadIfExists(List, value);
}

void TMyLog::SetAddLogFileName(const std::wstring& value) {
    AddLogFilename = value;
    if (!AddList) AddList.emplace();
    LoadIfExists(*AddList, value);
}

void TMyLog::AddMessage(const std::wstring& Message, bool OnlyAddLogfile) {
    try {
        std::lock_guard<std::mutex> guard(Lock);
        if (!OnlyAddLogfile) {
            List.lines.insert(List.lines.begin(), NewEntry(Message));
            TrimList();
            if (!LogFileName.empty()) base::SaveTextFile(LogFileName, List.lines, List.encoding);
        }
        if (!AddLogFilename.empty()) {
            AddList->lines.insert(AddList->lines.begin(), NewEntry(Message));
            TrimAddList();
            base::SaveTextFile(AddLogFilename, AddList->lines, AddList->encoding);
        }
    } catch (...) {
        // The system copy is made also when a file could not be written.
        ReportToEventLog(Message);
        throw;
    }
    ReportToEventLog(Message);
}

void TMyLog::AddByteArray(const std::wstring& Message, const TLogBlock& BA) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring text = Message;
    text.reserve(Message.size() + BA.size() * 3);
    for (std::uint8_t b : BA) {
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
        text += L' ';
    }
    AddMessage(text, false);
}

void TMyLog::TrimList() {
    CutToSize(List, LogMaxSize);
}

void TMyLog::TrimAddList() {
    if (AddList) CutToSize(*AddList, LogMaxSize);
}

}  // namespace common
