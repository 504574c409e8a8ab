#include "util/LocalTime.h"

#include <windows.h>

#include <limits>

LocalTimeFields LocalTimeFromMicroseconds(int64_t microseconds) {
  const LocalTimeFields none;
  // File times count 100-nanosecond units.  Values whose conversion would
  // overflow a signed 64-bit count are refused here: multiplying them would
  // be undefined behaviour, and the wrapped result would name a wrong date
  // rather than no date.
  if (microseconds < 0 || microseconds > std::numeric_limits<int64_t>::max() / 10) return none;
  const uint64_t units = static_cast<uint64_t>(microseconds) * 10;

  FILETIME fileTime;
  fileTime.dwLowDateTime = static_cast<DWORD>(units & 0xFFFFFFFFu);
  fileTime.dwHighDateTime = static_cast<DWORD>(units >> 32);
  SYSTEMTIME universal;
  if (!::FileTimeToSystemTime(&fileTime, &universal)) return none;
  // With no zone given, the current zone's rules for the instant's own date
  // apply, so a summer date is shown in summer time even in winter.
  SYSTEMTIME local;
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) return none;

  LocalTimeFields fields;
  fields.year = local.wYear;
  fields.month = local.wMonth;
  fields.dayOfWeek = local.wDayOfWeek;
  fields.day = local.wDay;
  fields.hour = local.wHour;
  fields.minute = local.wMinute;
  fields.second = local.wSecond;
  fields.milliseconds = local.wMilliseconds;
  return fields;
}
