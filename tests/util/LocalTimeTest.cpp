#include "util/LocalTime.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr int64_t kMicrosecondsPerMinute = 60LL * 1000 * 1000;
constexpr int64_t kLargestAccepted = std::numeric_limits<int64_t>::max() / 10;

bool AllZero(const LocalTimeFields& f) {
  return f.year == 0 && f.month == 0 && f.dayOfWeek == 0 && f.day == 0 && f.hour == 0 &&
         f.minute == 0 && f.second == 0 && f.milliseconds == 0;
}

testing::Message Describe(const LocalTimeFields& f) {
  return testing::Message() << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":"
                            << f.minute << ":" << f.second << "." << f.milliseconds << " weekday "
                            << f.dayOfWeek;
}

// The fields as microseconds since 1601 on the local clock, by a calendar
// calculation that knows nothing of time zones; -1 when they are no date.
int64_t FieldsToMicroseconds(const LocalTimeFields& f) {
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(f.year);
  time.wMonth = static_cast<WORD>(f.month);
  time.wDay = static_cast<WORD>(f.day);
  time.wHour = static_cast<WORD>(f.hour);
  time.wMinute = static_cast<WORD>(f.minute);
  time.wSecond = static_cast<WORD>(f.second);
  time.wMilliseconds = static_cast<WORD>(f.milliseconds);
  FILETIME fileTime;
  if (!::SystemTimeToFileTime(&time, &fileTime)) return -1;
  const uint64_t units =
      (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  return static_cast<int64_t>(units / 10);
}

// The weekday of a Gregorian date (0 is Sunday), by Sakamoto's method.
int DayOfWeek(int year, int month, int day) {
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

// The offsets from UTC (local minus UTC, in minutes) the current zone can
// give: its standard offset, and its summer offset when it has one.
std::vector<int64_t> ZoneOffsets() {
  TIME_ZONE_INFORMATION zone = {};
  const DWORD kind = ::GetTimeZoneInformation(&zone);
  std::vector<int64_t> offsets;
  offsets.reserve(2);
  offsets.push_back(-(static_cast<int64_t>(zone.Bias) + zone.StandardBias));
  if (kind != TIME_ZONE_ID_INVALID && zone.StandardDate.wMonth != 0) {
    offsets.push_back(-(static_cast<int64_t>(zone.Bias) + zone.DaylightBias));
  }
  return offsets;
}

// The calendar fields down to the minute are those expected.
void ExpectSameClock(const LocalTimeFields& local, const LocalTimeFields& expected) {
  EXPECT_EQ(local.year, expected.year);
  EXPECT_EQ(local.month, expected.month);
  EXPECT_EQ(local.dayOfWeek, expected.dayOfWeek);
  EXPECT_EQ(local.day, expected.day);
  EXPECT_EQ(local.hour, expected.hour);
  EXPECT_EQ(local.minute, expected.minute);
}

struct Instant {
  const char* name;
  int64_t microseconds;
  // The instant in UTC, worked out independently of Windows.
  LocalTimeFields utc;
  // Set for the ends of the range, which a zone offset may push out of what
  // Windows can represent: -1 when only zones at or west of UTC can show
  // the instant, +1 when only zones at or east of it can.
  int needsOffsetSign;
};

// Checks a conversion of a known instant in whatever zone the machine is
// set to: the local fields must be the instant shifted by one of the zone's
// offsets, whole minutes, with a weekday that matches the date.  In a zone
// with no offset (the usual set-up of the test machines) the fields must be
// exactly the UTC ones.
void ExpectLocalInstant(const Instant& instant) {
  const LocalTimeFields local = LocalTimeFromMicroseconds(instant.microseconds);
  SCOPED_TRACE(Describe(local));
  ASSERT_FALSE(AllZero(local));
  const int64_t localMicroseconds = FieldsToMicroseconds(local);
  ASSERT_GE(localMicroseconds, 0) << "fields are not a valid date";
  // Only whole milliseconds are kept.
  const int64_t offset = localMicroseconds - instant.microseconds / 1000 * 1000;
  ASSERT_EQ(offset % kMicrosecondsPerMinute, 0) << "offset " << offset << " microseconds";
  const std::vector<int64_t> offsets = ZoneOffsets();
  bool known = false;
  for (int64_t minutes : offsets) known = known || offset == minutes * kMicrosecondsPerMinute;
  EXPECT_TRUE(known) << "offset " << offset / kMicrosecondsPerMinute
                     << " minutes is none of the zone's";
  EXPECT_EQ(local.second, instant.utc.second);
  EXPECT_EQ(local.milliseconds, instant.utc.milliseconds);
  EXPECT_EQ(local.dayOfWeek, DayOfWeek(local.year, local.month, local.day));
  if (offset == 0) ExpectSameClock(local, instant.utc);
}

TEST(LocalTimeFromMicroseconds, ConvertsKnownInstants) {
  const Instant instants[] = {
      {"second day of the epoch", 86400000000LL, {1601, 1, 2, 2, 0, 0, 0, 0}, 0},
      {"Unix epoch", 11644473600000000LL, {1970, 1, 4, 1, 0, 0, 0, 0}, 0},
      {"leap day", 12596301296789000LL, {2000, 2, 2, 29, 12, 34, 56, 789}, 0},
      {"microseconds are cut, not rounded",
       13354968605123999LL,
       {2024, 3, 5, 15, 9, 30, 5, 123},
       0},
      {"northern summer", 13364308800000000LL, {2024, 7, 1, 1, 12, 0, 0, 0}, 0},
      {"end of 32-bit Unix time", 13791957247999999LL, {2038, 1, 2, 19, 3, 14, 7, 999}, 0},
      {"last moment of year 9999", 265046774399999999LL, {9999, 12, 5, 31, 23, 59, 59, 999}, 0},
      {"a day before the largest accepted value",
       kLargestAccepted - 86400000000LL,
       {30828, 9, 3, 13, 2, 48, 5, 477},
       0},
      {"the epoch itself", 0, {1601, 1, 1, 1, 0, 0, 0, 0}, +1},
      {"the largest accepted value", kLargestAccepted, {30828, 9, 4, 14, 2, 48, 5, 477}, -1},
  };
  const std::vector<int64_t> offsets = ZoneOffsets();
  for (const Instant& instant : instants) {
    SCOPED_TRACE(instant.name);
    bool representable = true;
    for (int64_t minutes : offsets) {
      if (minutes * instant.needsOffsetSign < 0) representable = false;
    }
    if (!representable) {
      // In this zone the local time lies outside the file-time range.
      continue;
    }
    ExpectLocalInstant(instant);
  }
}

TEST(LocalTimeFromMicroseconds, MatchesTheLocalClock) {
  // The three readings are taken back to back, so the converted instant must
  // lie between the two local clock readings.  The two seconds of slack
  // cover the clocks' millisecond truncation and Wine computing
  // GetLocalTime through its own cached zone bias; any real fault (a wrong
  // zone offset, a wrong unit) is off by at least fifteen minutes.
  const int64_t slack = 2 * 1000 * 1000;
  SYSTEMTIME before;
  ::GetLocalTime(&before);
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  SYSTEMTIME after;
  ::GetLocalTime(&after);
  const uint64_t units = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const LocalTimeFields local = LocalTimeFromMicroseconds(static_cast<int64_t>(units / 10));
  SCOPED_TRACE(Describe(local));
  ASSERT_FALSE(AllZero(local));

  const auto toFields = [](const SYSTEMTIME& time) {
    LocalTimeFields fields;
    fields.year = time.wYear;
    fields.month = time.wMonth;
    fields.day = time.wDay;
    fields.hour = time.wHour;
    fields.minute = time.wMinute;
    fields.second = time.wSecond;
    fields.milliseconds = time.wMilliseconds;
    return fields;
  };
  const int64_t result = FieldsToMicroseconds(local);
  EXPECT_GE(result, FieldsToMicroseconds(toFields(before)) - slack);
  EXPECT_LE(result, FieldsToMicroseconds(toFields(after)) + slack);
  EXPECT_EQ(local.dayOfWeek, DayOfWeek(local.year, local.month, local.day));
}

TEST(LocalTimeFromMicroseconds, ShowsTheClockOfTheZoneNotUtc) {
  // The tests run in China's zone (UTC+8, no summer time; set for the test
  // program), so that local time and UTC differ by whole hours and a
  // date.
  TIME_ZONE_INFORMATION zone = {};
  ::GetTimeZoneInformation(&zone);
  ASSERT_EQ(zone.Bias, -480) << "the test program runs in another zone than UTC+8";
  // Each instant with the fields of China's clock where the others have
  // those of UTC.
  const Instant instants[] = {
      {"Unix epoch", 11644473600000000LL, {1970, 1, 4, 1, 8, 0, 0, 0}, 0},
      // 20:30 UTC on Tuesday 5 March 2024 is already Wednesday in China.
      {"next day", 13354144200000000LL, {2024, 3, 3, 6, 4, 30, 0, 0}, 0},
  };
  for (const Instant& instant : instants) {
    SCOPED_TRACE(instant.name);
    const LocalTimeFields local = LocalTimeFromMicroseconds(instant.microseconds);
    SCOPED_TRACE(Describe(local));
    ExpectSameClock(local, instant.utc);
  }
}

TEST(LocalTimeFromMicroseconds, GivesZerosForValuesOutOfRange) {
  const int64_t values[] = {
      -1,
      -1000000,
      std::numeric_limits<int64_t>::min(),
      // One more would overflow the conversion to 100-nanosecond units.
      kLargestAccepted + 1,
      std::numeric_limits<int64_t>::max() / 2,
      std::numeric_limits<int64_t>::max(),
  };
  for (int64_t value : values) {
    SCOPED_TRACE(testing::Message() << value);
    const LocalTimeFields fields = LocalTimeFromMicroseconds(value);
    EXPECT_TRUE(AllZero(fields)) << Describe(fields);
  }
}

}  // namespace
