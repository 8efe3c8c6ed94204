#pragma once
// Date and time as a day count: days since 30 December 1899, the time of day
// as the fraction (the layout the complex's files store).
#include <windows.h>

namespace base {

double SystemTimeToDayCount(const SYSTEMTIME& st);
double NowDayCount();  // local time, to the millisecond

}  // namespace base
