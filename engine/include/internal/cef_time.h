// A calendar time in UTC, and its conversions.
#pragma once

#include <time.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _cef_time_t {
  int year;          // Four digits, as in 2015.
  int month;         // 1 (January) to 12.
  int day_of_week;   // 0 (Sunday) to 6; ignored on input.
  int day_of_month;  // 1 to 31.
  int hour;          // 0 to 23.
  int minute;        // 0 to 59.
  int second;        // 0 to 59 (60 is read as 59).
  int millisecond;   // 0 to 999.
} cef_time_t;

// Each returns 1 on success and 0, leaving its output alone, when the time
// lies outside what the platform's calendar holds (before 1601).
int cef_time_to_timet(const cef_time_t* cef_time, time_t* time);
int cef_time_from_timet(time_t time, cef_time_t* cef_time);
// Seconds since 1970-01-01 00:00 UTC, with a fraction.
int cef_time_to_doublet(const cef_time_t* cef_time, double* time);
int cef_time_from_doublet(double time, cef_time_t* cef_time);
int cef_time_now(cef_time_t* cef_time);
// cef_time2 - cef_time1, in milliseconds.
int cef_time_delta(const cef_time_t* cef_time1, const cef_time_t* cef_time2, long long* delta);

#ifdef __cplusplus
}
#endif
