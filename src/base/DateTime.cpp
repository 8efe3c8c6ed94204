#include "base/DateTime.h"

namespace base {

namespace {
// Days from 1 January 0001 (proleptic Gregorian) to the given date.
long long DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe);
}
}  // namespace

double SystemTimeToDayCount(const SYSTEMTIME& st) {
    const long long days = DaysFromCivil(st.wYear, st.wMonth, st.wDay) - DaysFromCivil(1899, 12, 30);
    const double ms = ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond) * 1000.0 + st.wMilliseconds;
    return static_cast<double>(days) + ms / 86400000.0;
}

double NowDayCount() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return SystemTimeToDayCount(st);
}

}  // namespace base
