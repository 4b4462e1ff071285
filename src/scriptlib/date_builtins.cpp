// Date and time built-ins: Now, Date, Time, DateToStr, StrToDate,
// TimeToStr, StrToTime, FormatDateTime, DayOfWeek, IncMonth, DecodeDate,
// DecodeTime, EncodeDate, EncodeTime, YearDays and YearFrac.
#include <cmath>

#include "scriptlib/date_text.h"
#include "scriptlib/date_time.h"
#include "scriptlib/general_library.h"
#include "scriptlib/script_clock.h"

namespace kw {

namespace {

[[noreturn]] void BadDate(double d) { FailCall("Invalid date " + FormatFloat(d)); }

TDayTime SplitArg(TBuiltinCall& c, int i) {
  double d = c.Float(i);
  TDayTime dt;
  TCivilDate date;
  if (!SplitDateTime(d, dt) || !DateOfDay(dt.Day, date)) BadDate(d);
  return dt;
}

TCivilDate DateArg(TBuiltinCall& c, int i) {
  TCivilDate date;
  DateOfDay(SplitArg(c, i).Day, date);
  return date;
}

bool Now(TBuiltinCall& c) {
  c.Return(TValue::DateTime(ScriptNow()));
  return true;
}

bool Date(TBuiltinCall& c) {
  c.Return(TValue::DateTime(std::floor(ScriptNow())));
  return true;
}

bool Time(TBuiltinCall& c) {
  double now = ScriptNow();
  c.Return(TValue::DateTime(now - std::floor(now)));
  return true;
}

bool DateToStr(TBuiltinCall& c) {
  std::string s;
  if (!DateToText(c.Float(0), s)) BadDate(c.Float(0));
  c.Return(TValue::String(std::move(s)));
  return true;
}

bool TimeToStr(TBuiltinCall& c) {
  std::string s;
  if (!TimeToText(c.Float(0), s)) BadDate(c.Float(0));
  c.Return(TValue::String(std::move(s)));
  return true;
}

bool StrToDate(TBuiltinCall& c) {
  std::string s = c.String(0);
  double d;
  if (!ParseDate(s, d)) FailCall("'" + s + "' is not a valid date");
  c.Return(TValue::DateTime(d));
  return true;
}

bool StrToTime(TBuiltinCall& c) {
  std::string s = c.String(0);
  double d;
  if (!ParseTime(s, d)) FailCall("'" + s + "' is not a valid time");
  c.Return(TValue::DateTime(d));
  return true;
}

bool FormatDateTime(TBuiltinCall& c) {
  std::string s;
  if (!FormatDateTimeText(c.String(0), c.Float(1), s)) BadDate(c.Float(1));
  c.Return(TValue::String(std::move(s)));
  return true;
}

bool DayOfWeek(TBuiltinCall& c) {
  c.Return(TValue::Integer(DayOfWeekOfDay(SplitArg(c, 0).Day)));
  return true;
}

bool IncMonth(TBuiltinCall& c) {
  double d = c.Float(0), out;
  if (!AddMonths(d, c.Truncated(1), out)) BadDate(d);
  c.Return(TValue::DateTime(out));
  return true;
}

bool DecodeDate(TBuiltinCall& c) {
  TCivilDate date = DateArg(c, 0);
  c.ArgRef(1) = TValue::Integer(date.Year);
  c.ArgRef(2) = TValue::Integer(date.Month);
  c.ArgRef(3) = TValue::Integer(date.Day);
  c.Return(c.Arg(0));
  return true;
}

bool DecodeTime(TBuiltinCall& c) {
  TClockTime t = TimeOfMs(SplitArg(c, 0).Ms);
  c.ArgRef(1) = TValue::Integer(t.Hour);
  c.ArgRef(2) = TValue::Integer(t.Minute);
  c.ArgRef(3) = TValue::Integer(t.Second);
  c.ArgRef(4) = TValue::Integer(t.Msec);
  c.Return(c.Arg(0));
  return true;
}

bool EncodeDate(TBuiltinCall& c) {
  int y = c.Truncated(0), m = c.Truncated(1), d = c.Truncated(2);
  if (!IsValidDate(y, m, d)) FailCall("Invalid argument to date encode");
  c.Return(TValue::DateTime(double(DayNumber(y, m, d))));
  return true;
}

bool EncodeTime(TBuiltinCall& c) {
  int64_t ms;
  if (!EncodeTimeMs(c.Truncated(0), c.Truncated(1), c.Truncated(2), c.Truncated(3), ms))
    FailCall("Invalid argument to time encode");
  c.Return(TValue::DateTime(double(ms) / double(kMsPerDay)));
  return true;
}

bool YearDays(TBuiltinCall& c) {
  c.Return(TValue::Integer(IsLeapYear(DateArg(c, 0).Year) ? 366 : 365));
  return true;
}

bool YearFrac(TBuiltinCall& c) {
  double a = c.Float(0), b = c.Float(1), out;
  TDayTime probe;
  if (!YearFraction(a, b, out)) BadDate(SplitDateTime(a, probe) ? b : a);
  c.Return(TValue::Float(out));
  return true;
}

const TBuiltin kRows[] = {
    {"Now", Args(0), Now},
    {"Date", Args(0), Date},
    {"Time", Args(0), Time},
    {"DateToStr", Args(1), DateToStr},
    {"StrToDate", Args(1), StrToDate},
    {"TimeToStr", Args(1), TimeToStr},
    {"StrToTime", Args(1), StrToTime},
    {"FormatDateTime", Args(2), FormatDateTime},
    {"DayOfWeek", Args(1), DayOfWeek},
    {"IncMonth", Args(2), IncMonth},
    {"DecodeDate", Args(4, VarArg(1) | VarArg(2) | VarArg(3)), DecodeDate},
    {"DecodeTime", Args(5, VarArg(1) | VarArg(2) | VarArg(3) | VarArg(4)), DecodeTime},
    {"EncodeDate", Args(3), EncodeDate},
    {"EncodeTime", Args(4), EncodeTime},
    {"YearDays", Args(1), YearDays},
    {"YearFrac", Args(2), YearFrac},
};

}  // namespace

std::span<const TBuiltin> DateBuiltins() { return kRows; }

}  // namespace kw
