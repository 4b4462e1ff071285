#include "scriptlib/date_text.h"

#include <cstdio>

#include "scriptlib/date_time.h"

namespace kw {

namespace {

const char* const kShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
const char* const kShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonthNames[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};

void AppendNumber(std::string& out, int value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", digits, value);
  out += buf;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (Lower(text[pos + i]) != word[i]) return false;
  return true;
}

size_t RunLength(std::string_view text, size_t pos, char lowerLetter, size_t most) {
  size_t n = 0;
  while (pos + n < text.size() && n < most && Lower(text[pos + n]) == lowerLetter) ++n;
  return n;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

// Reads 1..maxDigits decimal digits at pos.
bool ReadField(std::string_view t, size_t& pos, int maxDigits, int& value, int* digitsRead = nullptr) {
  int n = 0;
  value = 0;
  while (pos < t.size() && n < maxDigits && t[pos] >= '0' && t[pos] <= '9') {
    value = value * 10 + (t[pos] - '0');
    ++pos;
    ++n;
  }
  if (digitsRead) *digitsRead = n;
  return n > 0;
}

// The pattern writer, with what it knows of the value being written.
struct TPatternWriter {
  TCivilDate date;
  TClockTime time;
  int64_t day = 0;
  int64_t ms = 0;
  bool twelveHour = false;
  std::string& out;

  void Write(std::string_view p) {
    bool afterHour = false;
    size_t i = 0;
    while (i < p.size()) {
      char c = p[i];
      char l = Lower(c);
      if (c == '\'' || c == '"') {
        size_t end = p.find(c, i + 1);
        if (end == std::string_view::npos) end = p.size();
        out.append(p.substr(i + 1, end - i - 1));
        i = end < p.size() ? end + 1 : end;
        continue;
      }
      switch (l) {
        case 'c':
          Write("ddddd");
          if (ms != 0) Write(" tt");
          ++i;
          afterHour = false;
          continue;
        case 'd': {
          size_t n = RunLength(p, i, 'd', 6);
          if (n == 1) AppendNumber(out, date.Day, 1);
          else if (n == 2) AppendNumber(out, date.Day, 2);
          else if (n == 3) out += kShortDayNames[DayOfWeekOfDay(day) - 1];
          else if (n == 4) out += kLongDayNames[DayOfWeekOfDay(day) - 1];
          else if (n == 5) Write("dd/mm/yyyy");
          else Write("d mmmm yyyy");
          i += n;
          afterHour = false;
          continue;
        }
        case 'm': {
          size_t n = RunLength(p, i, 'm', 4);
          if (afterHour && n <= 2) {
            AppendNumber(out, time.Minute, int(n));
          } else if (n <= 2) {
            AppendNumber(out, date.Month, int(n));
          } else {
            out += (n == 3 ? kShortMonthNames : kLongMonthNames)[date.Month - 1];
          }
          i += n;
          afterHour = false;
          continue;
        }
        case 'y': {
          size_t n = RunLength(p, i, 'y', std::string_view::npos);
          if (n <= 2) AppendNumber(out, date.Year % 100, 2);
          else AppendNumber(out, date.Year, 4);
          i += n;
          afterHour = false;
          continue;
        }
        case 'h': {
          size_t n = RunLength(p, i, 'h', 2);
          int hour = time.Hour;
          if (twelveHour) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          AppendNumber(out, hour, int(n));
          i += n;
          afterHour = true;
          continue;
        }
        case 'n': {
          size_t n = RunLength(p, i, 'n', 2);
          AppendNumber(out, time.Minute, int(n));
          i += n;
          afterHour = false;
          continue;
        }
        case 's': {
          size_t n = RunLength(p, i, 's', 2);
          AppendNumber(out, time.Second, int(n));
          i += n;
          afterHour = false;
          continue;
        }
        case 'z': {
          size_t n = RunLength(p, i, 'z', 3);
          AppendNumber(out, time.Msec, n == 1 ? 1 : 3);
          i += n;
          afterHour = false;
          continue;
        }
        case 't': {
          size_t n = RunLength(p, i, 't', 2);
          Write(n == 1 ? "hh:nn" : "hh:nn:ss");
          i += n;
          afterHour = false;
          continue;
        }
        case 'a': {
          bool pm = time.Hour >= 12;
          if (StartsWithNoCase(p, i, "am/pm")) {
            // The letters keep the case the pattern gave them.
            std::string_view word = p.substr(pm ? i + 3 : i, 2);
            out.append(word);
            i += 5;
          } else if (StartsWithNoCase(p, i, "a/p")) {
            out += p[pm ? i + 2 : i];
            i += 3;
          } else if (StartsWithNoCase(p, i, "ampm")) {
            out += pm ? "PM" : "AM";
            i += 4;
          } else {
            out += c;
            ++i;
          }
          continue;
        }
        case '/':
          out += kDateSeparator;
          ++i;
          continue;
        case ':':
          out += kTimeSeparator;
          ++i;
          continue;
        default:
          out += c;
          ++i;
          continue;
      }
    }
  }
};

// Whether a pattern asks for the 12-hour clock (am/pm, a/p or ampm outside
// quoted text).
bool UsesTwelveHours(std::string_view p) {
  for (size_t i = 0; i < p.size(); ++i) {
    char c = p[i];
    if (c == '\'' || c == '"') {
      size_t end = p.find(c, i + 1);
      if (end == std::string_view::npos) return false;
      i = end;
      continue;
    }
    if (Lower(c) == 'a' &&
        (StartsWithNoCase(p, i, "am/pm") || StartsWithNoCase(p, i, "a/p") || StartsWithNoCase(p, i, "ampm")))
      return true;
  }
  return false;
}

}  // namespace

bool FormatDateTimeText(std::string_view pattern, double dateTime, std::string& out) {
  TDayTime dt;
  TPatternWriter w{{}, {}, 0, 0, false, out};
  if (!SplitDateTime(dateTime, dt) || !DateOfDay(dt.Day, w.date)) return false;
  w.time = TimeOfMs(dt.Ms);
  w.day = dt.Day;
  w.ms = dt.Ms;
  w.twelveHour = UsesTwelveHours(pattern);
  out.clear();
  w.Write(pattern);
  return true;
}

bool DateToText(double dateTime, std::string& out) { return FormatDateTimeText("ddddd", dateTime, out); }

bool TimeToText(double dateTime, std::string& out) { return FormatDateTimeText("tt", dateTime, out); }

bool ParseDate(std::string_view text, double& out) {
  std::string_view t = Trimmed(text);
  size_t pos = 0;
  int day, month, year, yearDigits;
  auto separator = [&](char& sep) {
    if (pos >= t.size()) return false;
    char c = t[pos];
    if (c != kDateSeparator && c != '/' && c != '-') return false;
    sep = c;
    ++pos;
    return true;
  };
  char sep1 = 0, sep2 = 0;
  if (!ReadField(t, pos, 2, day) || !separator(sep1) || !ReadField(t, pos, 2, month) || !separator(sep2) ||
      sep1 != sep2 || !ReadField(t, pos, 4, year, &yearDigits) || pos != t.size())
    return false;
  if (yearDigits <= 2) year += year < 50 ? 2000 : 1900;
  if (!IsValidDate(year, month, day)) return false;
  out = double(DayNumber(year, month, day));
  return true;
}

bool ParseTime(std::string_view text, double& out) {
  std::string_view t = Trimmed(text);
  size_t pos = 0;
  int hour, minute, second = 0, msec = 0, msDigits = 0;
  if (!ReadField(t, pos, 2, hour) || pos >= t.size() || t[pos++] != kTimeSeparator ||
      !ReadField(t, pos, 2, minute))
    return false;
  if (pos < t.size()) {
    if (t[pos++] != kTimeSeparator || !ReadField(t, pos, 2, second)) return false;
    if (pos < t.size()) {
      if (t[pos++] != '.' || !ReadField(t, pos, 3, msec, &msDigits)) return false;
      for (int d = msDigits; d < 3; ++d) msec *= 10;  // ".5" is half a second
    }
  }
  int64_t ms;
  if (pos != t.size() || !EncodeTimeMs(hour, minute, second, msec, ms)) return false;
  out = double(ms) / double(kMsPerDay);
  return true;
}

}  // namespace kw
