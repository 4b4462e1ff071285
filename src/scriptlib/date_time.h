// Calendar arithmetic on script date-times: a float counting days from
// 30 December 1899, the fraction being the time of day. As in the game
// maker's own run-time, a negative value keeps its time as the absolute
// fraction: -1.25 is 29 December 1899, 6:00. Years run from 1 to 9999.
#pragma once

#include <cstdint>

namespace kw {

constexpr int64_t kMsPerDay = 86400000;

struct TCivilDate {
  int Year = 0;
  int Month = 0;  // 1..12
  int Day = 0;    // 1..31
};

struct TClockTime {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Msec = 0;
};

// A date-time split into its calendar day (days since 30 December 1899,
// counting the calendar: -1 is 29 December) and the milliseconds of that
// day (0..86399999), the time rounded to the nearest millisecond.
struct TDayTime {
  int64_t Day = 0;
  int64_t Ms = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// False for a date outside 1-1-1 .. 31-12-9999 or a day the month lacks.
bool IsValidDate(int year, int month, int day);
// Day number of a valid date (see IsValidDate).
int64_t DayNumber(int year, int month, int day);
// The date of a day number; false outside the years 1..9999.
bool DateOfDay(int64_t day, TCivilDate& out);

// False for NaN, infinities and values beyond the years 1..9999.
bool SplitDateTime(double dateTime, TDayTime& out);
// The date-time of a calendar day and a time of day (the inverse of
// SplitDateTime, negative days keeping their time as the absolute fraction).
double JoinDateTime(int64_t day, int64_t ms);

bool DecodeDateTime(double dateTime, TCivilDate& date, TClockTime& time);
TClockTime TimeOfMs(int64_t ms);
// False unless 0 <= hour < 24, minute and second < 60, msec < 1000.
bool EncodeTimeMs(int hour, int minute, int second, int msec, int64_t& ms);

// 1 for Sunday to 7 for Saturday.
int DayOfWeekOfDay(int64_t day);

// The date-time moved by `months` months, the day of month cut to the
// length of the month reached, the time of day kept. False when the result
// leaves the years 1..9999.
bool AddMonths(double dateTime, int64_t months, double& out);

// The covered parts of the calendar years from `from` to `to` (in either
// order), each divided by the length of its year, summed.
bool YearFraction(double from, double to, double& out);

}  // namespace kw
