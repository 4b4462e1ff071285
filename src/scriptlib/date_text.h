// Date and time as text. The player has one fixed format, whatever the
// machine's regional settings, so that a game's texts and its saved strings
// read the same everywhere:
//   short date  dd.mm.yyyy        25.12.2026
//   long date   d mmmm yyyy       25 December 2026
//   short time  hh:nn             09:05
//   long time   hh:nn:ss          09:05:03
// Reading accepts what writing gives, and a little more (see ParseDate and
// ParseTime).
#pragma once

#include <string>
#include <string_view>

namespace kw {

constexpr char kDateSeparator = '.';
constexpr char kTimeSeparator = ':';

// The date part in the short date format; false for a date-time outside
// the years 1..9999.
bool DateToText(double dateTime, std::string& out);
// The time part in the long time format.
bool TimeToText(double dateTime, std::string& out);

// "d.m.y": day and month of one or two digits, a year of one to four
// digits (two-digit years 00-49 are 2000-2049, 50-99 are 1950-1999); "/"
// and "-" serve as separators too; blanks around are ignored. Gives the
// date at 0:00.
bool ParseDate(std::string_view text, double& out);
// "h:n", "h:n:s" or "h:n:s.z": hours 0-23, minutes and seconds 0-59 of one
// or two digits, milliseconds of one to three digits; blanks around are
// ignored. Gives the time with day 0.
bool ParseTime(std::string_view text, double& out);

// `dateTime` written with a pattern of the usual date-time letters (in any
// letter case): c, d, dd, ddd, dddd, ddddd, dddddd, m, mm, mmm, mmmm, yy,
// yyyy, h, hh, n, nn, s, ss, z, zzz, t, tt, am/pm, a/p, ampm, "/" (the date
// separator), ":" (the time separator), and text in single or double quotes
// copied as it stands. m and mm right after an hour give minutes. Other
// bytes are copied. False for a date-time outside the years 1..9999.
bool FormatDateTimeText(std::string_view pattern, double dateTime, std::string& out);

}  // namespace kw
