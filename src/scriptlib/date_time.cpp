#include "scriptlib/date_time.h"

#include <cmath>
#include <utility>

namespace kw {

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil), exact for every year handled here.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = int64_t(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

const int64_t kEpoch = DaysFromCivil(1899, 12, 30);
const int64_t kFirstDay = DaysFromCivil(1, 1, 1) - kEpoch;       // -693593
const int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kEpoch;   // 2958465

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int64_t DayNumber(int year, int month, int day) {
  return DaysFromCivil(year, unsigned(month), unsigned(day)) - kEpoch;
}

bool DateOfDay(int64_t day, TCivilDate& out) {
  if (day < kFirstDay || day > kLastDay) return false;
  int64_t y;
  unsigned m, d;
  CivilFromDays(day + kEpoch, y, m, d);
  out = {int(y), int(m), int(d)};
  return true;
}

bool SplitDateTime(double dateTime, TDayTime& out) {
  if (!std::isfinite(dateTime) || dateTime < double(kFirstDay) - 1 || dateTime > double(kLastDay) + 1)
    return false;
  double whole = std::trunc(dateTime);
  int64_t day = int64_t(whole);
  int64_t ms = std::llround(std::fabs(dateTime - whole) * double(kMsPerDay));
  if (ms >= kMsPerDay) {  // rounds up to the next midnight
    ms -= kMsPerDay;
    day += 1;
  }
  if (day < kFirstDay || day > kLastDay) return false;
  out = {day, ms};
  return true;
}

double JoinDateTime(int64_t day, int64_t ms) {
  double t = double(ms) / double(kMsPerDay);
  return day >= 0 ? double(day) + t : double(day) - t;
}

TClockTime TimeOfMs(int64_t ms) {
  TClockTime t;
  t.Hour = int(ms / 3600000);
  t.Minute = int(ms / 60000 % 60);
  t.Second = int(ms / 1000 % 60);
  t.Msec = int(ms % 1000);
  return t;
}

bool DecodeDateTime(double dateTime, TCivilDate& date, TClockTime& time) {
  TDayTime dt;
  if (!SplitDateTime(dateTime, dt) || !DateOfDay(dt.Day, date)) return false;
  time = TimeOfMs(dt.Ms);
  return true;
}

bool EncodeTimeMs(int hour, int minute, int second, int msec, int64_t& ms) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    return false;
  ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + msec;
  return true;
}

int DayOfWeekOfDay(int64_t day) {
  // Day 0 (30 December 1899) was a Saturday.
  int64_t r = (day + 6) % 7;
  if (r < 0) r += 7;
  return int(r) + 1;
}

bool AddMonths(double dateTime, int64_t months, double& out) {
  TDayTime dt;
  TCivilDate date;
  if (!SplitDateTime(dateTime, dt) || !DateOfDay(dt.Day, date)) return false;
  int64_t index = int64_t(date.Year) * 12 + (date.Month - 1) + months;
  if (index < 12 || index > 9999 * 12 + 11) return false;
  int year = int(index / 12);
  int month = int(index % 12) + 1;
  int day = date.Day;
  if (day > DaysInMonth(year, month)) day = DaysInMonth(year, month);
  out = JoinDateTime(DayNumber(year, month, day), dt.Ms);
  return true;
}

bool YearFraction(double from, double to, double& out) {
  TDayTime a, b;
  TCivilDate da, db;
  if (!SplitDateTime(from, a) || !SplitDateTime(to, b) || !DateOfDay(a.Day, da) || !DateOfDay(b.Day, db))
    return false;
  // Positions on one straight time line (calendar day plus time of day).
  double x = double(a.Day) + double(a.Ms) / double(kMsPerDay);
  double y = double(b.Day) + double(b.Ms) / double(kMsPerDay);
  if (x > y) {
    std::swap(x, y);
    std::swap(da, db);
  }
  double sum = 0;
  for (int year = da.Year; year <= db.Year; ++year) {
    double start = year == da.Year ? x : double(DayNumber(year, 1, 1));
    double end = year == db.Year ? y : double(DayNumber(year + 1, 1, 1));
    sum += (end - start) / (IsLeapYear(year) ? 366.0 : 365.0);
  }
  out = sum;
  return true;
}

}  // namespace kw
