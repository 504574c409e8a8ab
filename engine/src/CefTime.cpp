#include "include/internal/cef_time.h"

#include <windows.h>

#include <cmath>

namespace {

// 100-nanosecond intervals between 1601-01-01 (the platform's epoch) and
// 1970-01-01.
constexpr long long kUnixEpochInFileTime = 116444736000000000LL;
constexpr long long kFileTimePerMillisecond = 10000;

bool ToFileTime(const cef_time_t* time, long long* ticks) {
  if (time == nullptr || time->year < 1601 || time->year > 30827) return false;
  SYSTEMTIME system = {};
  system.wYear = static_cast<WORD>(time->year);
  system.wMonth = static_cast<WORD>(time->month);
  system.wDay = static_cast<WORD>(time->day_of_month);
  system.wHour = static_cast<WORD>(time->hour);
  system.wMinute = static_cast<WORD>(time->minute);
  system.wSecond = static_cast<WORD>(time->second > 59 ? 59 : time->second);
  system.wMilliseconds = static_cast<WORD>(time->millisecond);
  FILETIME file = {};
  if (!::SystemTimeToFileTime(&system, &file)) return false;
  *ticks = static_cast<long long>((static_cast<unsigned long long>(file.dwHighDateTime) << 32) |
                                  file.dwLowDateTime);
  return true;
}

bool FromFileTime(long long ticks, cef_time_t* time) {
  if (time == nullptr || ticks < 0) return false;
  FILETIME file = {};
  file.dwLowDateTime = static_cast<DWORD>(static_cast<unsigned long long>(ticks) & 0xFFFFFFFFu);
  file.dwHighDateTime = static_cast<DWORD>(static_cast<unsigned long long>(ticks) >> 32);
  SYSTEMTIME system = {};
  if (!::FileTimeToSystemTime(&file, &system)) return false;
  time->year = system.wYear;
  time->month = system.wMonth;
  time->day_of_week = system.wDayOfWeek;
  time->day_of_month = system.wDay;
  time->hour = system.wHour;
  time->minute = system.wMinute;
  time->second = system.wSecond;
  time->millisecond = system.wMilliseconds;
  return true;
}

}  // namespace

extern "C" {

int cef_time_to_timet(const cef_time_t* cef_time, time_t* time) {
  long long ticks = 0;
  if (time == nullptr || !ToFileTime(cef_time, &ticks)) return 0;
  *time = static_cast<time_t>((ticks - kUnixEpochInFileTime) / (kFileTimePerMillisecond * 1000));
  return 1;
}

int cef_time_from_timet(time_t time, cef_time_t* cef_time) {
  const long long seconds = static_cast<long long>(time);
  // Beyond this the tick count would overflow; the platform's calendar ends
  // long before.
  if (seconds > 900000000000LL || seconds < -kUnixEpochInFileTime / 10000000) return 0;
  return FromFileTime(seconds * 10000000 + kUnixEpochInFileTime, cef_time) ? 1 : 0;
}

int cef_time_to_doublet(const cef_time_t* cef_time, double* time) {
  long long ticks = 0;
  if (time == nullptr || !ToFileTime(cef_time, &ticks)) return 0;
  *time = static_cast<double>(ticks - kUnixEpochInFileTime) / 10000000.0;
  return 1;
}

int cef_time_from_doublet(double time, cef_time_t* cef_time) {
  if (!std::isfinite(time) || time > 9.0e11 || time < -1.16444736e10) return 0;
  // Whole milliseconds, rounded down, as the calendar structure holds them.
  const long long milliseconds = static_cast<long long>(std::floor(time * 1000.0));
  return FromFileTime(milliseconds * kFileTimePerMillisecond + kUnixEpochInFileTime, cef_time) ? 1
                                                                                               : 0;
}

int cef_time_now(cef_time_t* cef_time) {
  if (cef_time == nullptr) return 0;
  FILETIME file = {};
  ::GetSystemTimeAsFileTime(&file);
  const long long ticks = static_cast<long long>(
      (static_cast<unsigned long long>(file.dwHighDateTime) << 32) | file.dwLowDateTime);
  return FromFileTime(ticks, cef_time) ? 1 : 0;
}

int cef_time_delta(const cef_time_t* cef_time1, const cef_time_t* cef_time2, long long* delta) {
  long long ticks1 = 0;
  long long ticks2 = 0;
  if (delta == nullptr || !ToFileTime(cef_time1, &ticks1) || !ToFileTime(cef_time2, &ticks2))
    return 0;
  *delta = (ticks2 - ticks1) / kFileTimePerMillisecond;
  return 1;
}

}  // extern "C"
