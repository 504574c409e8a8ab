// Converting the program's time stamps (microseconds since 1601-01-01 UTC,
// the Windows file-time epoch) into local calendar fields.
#pragma once

#include <cstdint>

struct LocalTimeFields {
  int32_t year = 0;
  int32_t month = 0;      // 1 to 12.
  int32_t dayOfWeek = 0;  // 0 (Sunday) to 6.
  int32_t day = 0;        // 1 to 31.
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t milliseconds = 0;
};

// The local time of the instant under the system's time-zone rules for that
// date.  All fields are zero when the instant cannot be converted: negative,
// too large for a file time, or outside what Windows can represent locally.
LocalTimeFields LocalTimeFromMicroseconds(int64_t microseconds);
