#pragma once
// The event log shared by the complex's programs: a text file of time-stamped
// entries, newest first and capped at LogMaxSize lines, an optional additional
// file kept the same way, and a copy of every entry in the Windows event log.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "base/TextFile.h"

namespace common {

using TLogBlock = std::array<std::uint8_t, 32768>;

class TMyLog {
public:
    // Logs to "ReziDozure.log" beside the running program; raises base::Error
    // when that file exists but cannot be read.
    TMyLog();
    TMyLog(const TMyLog&) = delete;
    TMyLog& operator=(const TMyLog&) = delete;

    void SetLogFileName(const std::wstring& value);
    void SetAddLogFileName(const std::wstring& value);
    // Raises base::Error when a file cannot be written; the entry then stays in
    // the in-memory list and still goes to the system event log.
    void AddMessage(const std::wstring& Message, bool OnlyAddLogfile = false);
    // Logs Message followed by the whole block as "XX " per byte.
    void AddByteArray(const std::wstring& Message, const TLogBlock& BA);

    const std::wstring& FileName() const { return LogFileName; }

    std::uint8_t LogType = 0;

    // A log that names no main file and keeps its entries in memory (and in
    // the system event log) only: the start-up's stand-in when the log file
    // exists but cannot be read, so that file is never overwritten blind.
    static std::unique_ptr<TMyLog> InMemoryOnly();

private:
    struct NoFile {};
    explicit TMyLog(NoFile) {}

    void TrimList();
    void TrimAddList();

    std::mutex Lock;
    std::wstring LogFileName;
    std::wstring AddLogFilename;
    std::int32_t LogMaxSize = 1000;
    base::TextLines List;
    std::optional<base::TextLines> AddList;
};

extern std::unique_ptr<TMyLog> MyLog;

// "DD/MM/YYYY HH:NN:SS" with the user's regional date and time separators.
std::wstring LogTimeStamp(const SYSTEMTIME& time);
// The text of the system event-log copy of an entry.
std::wstring EventLogText(const std::wstring& message);

}  // namespace common
