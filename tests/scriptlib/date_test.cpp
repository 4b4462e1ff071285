#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "platform/clock.h"
#include "script_harness.h"
#include "scriptlib/date_text.h"
#include "scriptlib/date_time.h"
#include "scriptlib/script_clock.h"

namespace kw {
namespace {

// 25 December 2026 (a Friday), 09:05:03.007.
const double kChristmas = 46381 + (((9 * 60 + 5) * 60 + 3) * 1000 + 7) / 86400000.0;

TEST(Calendar, DayNumbersCountFromTheLastDaysOf1899) {
  EXPECT_EQ(DayNumber(1899, 12, 30), 0);
  EXPECT_EQ(DayNumber(1899, 12, 29), -1);
  EXPECT_EQ(DayNumber(1900, 1, 1), 2);
  EXPECT_EQ(DayNumber(1900, 3, 1), 61);  // 1900 is no leap year
  EXPECT_EQ(DayNumber(2000, 1, 1), 36526);
  EXPECT_EQ(DayNumber(2026, 12, 25), 46381);
  EXPECT_EQ(DayNumber(1, 1, 1), -693593);
  EXPECT_EQ(DayNumber(9999, 12, 31), 2958465);
}

TEST(Calendar, EveryDayOfTheRangeRoundTrips) {
  TCivilDate d;
  for (int64_t day = -693593; day <= 2958465; day += 97) {
    ASSERT_TRUE(DateOfDay(day, d));
    ASSERT_TRUE(IsValidDate(d.Year, d.Month, d.Day));
    ASSERT_EQ(DayNumber(d.Year, d.Month, d.Day), day);
  }
  EXPECT_FALSE(DateOfDay(-693594, d));
  EXPECT_FALSE(DateOfDay(2958466, d));
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  EXPECT_FALSE(IsValidDate(2023, 2, 29));
  EXPECT_FALSE(IsValidDate(0, 1, 1));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
  EXPECT_FALSE(IsValidDate(2023, 4, 31));
  EXPECT_FALSE(IsValidDate(2023, 4, 0));
}

TEST(Calendar, NegativeValuesKeepTheirTimeAsTheAbsoluteFraction) {
  TDayTime dt;
  ASSERT_TRUE(SplitDateTime(-1.25, dt));
  EXPECT_EQ(dt.Day, -1);
  EXPECT_EQ(dt.Ms, 6 * 3600000);
  EXPECT_DOUBLE_EQ(JoinDateTime(-1, 6 * 3600000), -1.25);
  ASSERT_TRUE(SplitDateTime(-0.5, dt));  // 30 December 1899 at noon
  EXPECT_EQ(dt.Day, 0);
  EXPECT_EQ(dt.Ms, 12 * 3600000);
  // A time a hair before midnight rounds to the next day.
  ASSERT_TRUE(SplitDateTime(1.9999999999, dt));
  EXPECT_EQ(dt.Day, 2);
  EXPECT_EQ(dt.Ms, 0);
  EXPECT_FALSE(SplitDateTime(NAN, dt));
  EXPECT_FALSE(SplitDateTime(INFINITY, dt));
  EXPECT_FALSE(SplitDateTime(1e10, dt));
}

TEST(Calendar, DayOfWeekRunsFromSunday) {
  EXPECT_EQ(DayOfWeekOfDay(0), 7);  // Saturday
  EXPECT_EQ(DayOfWeekOfDay(1), 1);
  EXPECT_EQ(DayOfWeekOfDay(-1), 6);
  EXPECT_EQ(DayOfWeekOfDay(-7), 7);
  EXPECT_EQ(DayOfWeekOfDay(46381), 6);  // a Friday
}

TEST(Calendar, AddMonthsCutsTheDayToTheMonthReached) {
  struct {
    int y, m, d, months, ey, em, ed;
  } cases[] = {
      {2024, 1, 31, 1, 2024, 2, 29},  {2023, 1, 31, 1, 2023, 2, 28},  {2023, 3, 31, -1, 2023, 2, 28},
      {2000, 1, 15, 12, 2001, 1, 15}, {2000, 1, 15, -13, 1998, 12, 15}, {2020, 5, 31, 0, 2020, 5, 31},
      {2020, 12, 31, 2, 2021, 2, 28}, {1, 1, 1, 119987, 9999, 12, 1},
  };
  for (const auto& c : cases) {
    double out;
    const int64_t sixAm = 6 * 3600000;
    ASSERT_TRUE(AddMonths(JoinDateTime(DayNumber(c.y, c.m, c.d), sixAm), c.months, out));
    EXPECT_DOUBLE_EQ(out, JoinDateTime(DayNumber(c.ey, c.em, c.ed), sixAm)) << c.y << "-" << c.m << "-" << c.d;
  }
  double out;
  EXPECT_FALSE(AddMonths(double(DayNumber(9999, 12, 1)), 1, out));
  EXPECT_FALSE(AddMonths(double(DayNumber(1, 1, 1)), -1, out));
  EXPECT_FALSE(AddMonths(0, int64_t(1) << 40, out));
}

TEST(Calendar, YearFractionSumsTheCoveredPartsOfEachYear) {
  double f;
  ASSERT_TRUE(YearFraction(double(DayNumber(2020, 7, 1)), double(DayNumber(2021, 7, 1)), f));
  EXPECT_DOUBLE_EQ(f, 184.0 / 366 + 181.0 / 365);
  ASSERT_TRUE(YearFraction(double(DayNumber(2021, 7, 1)), double(DayNumber(2020, 7, 1)), f));
  EXPECT_DOUBLE_EQ(f, 184.0 / 366 + 181.0 / 365);
  ASSERT_TRUE(YearFraction(1000, 1000, f));
  EXPECT_EQ(f, 0);
  ASSERT_TRUE(YearFraction(double(DayNumber(2021, 1, 1)), double(DayNumber(2022, 1, 1)), f));
  EXPECT_DOUBLE_EQ(f, 1);
  ASSERT_TRUE(YearFraction(double(DayNumber(2023, 3, 1)), double(DayNumber(2023, 3, 1)) + 36.5, f));
  EXPECT_DOUBLE_EQ(f, 0.1);
  ASSERT_TRUE(YearFraction(double(DayNumber(2019, 1, 1)), double(DayNumber(2023, 1, 1)), f));
  EXPECT_DOUBLE_EQ(f, 4);
  EXPECT_FALSE(YearFraction(0, 1e9, f));
}

struct TPatternCase {
  const char* pattern;
  const char* expected;
};

class DateTimePatterns : public ::testing::TestWithParam<TPatternCase> {};

TEST_P(DateTimePatterns, WriteTheDate) {
  std::string out;
  ASSERT_TRUE(FormatDateTimeText(GetParam().pattern, kChristmas, out));
  EXPECT_EQ(out, GetParam().expected);
}

void PrintTo(const TPatternCase& c, std::ostream* os) { *os << c.pattern; }

const TPatternCase kPatterns[] = {
    {"yyyy-mm-dd hh:nn:ss.zzz", "2026-12-25 09:05:03.007"},
    {"YYYY-MM-DD HH:NN:SS", "2026-12-25 09:05:03"},
    {"d/m/yy", "25.12.26"},
    {"y", "26"},
    {"yyy", "2026"},
    {"ddd dddd", "Fri Friday"},
    {"DDDD", "Friday"},
    {"mmm mmmm", "Dec December"},
    {"m mm", "12 12"},
    {"h:m", "9:5"},
    {"hh:mm", "09:05"},
    {"hh mm", "09 05"},
    {"n nn s ss z zzz", "5 05 3 03 7 007"},
    {"c", "25.12.2026 09:05:03"},
    {"ddddd", "25.12.2026"},
    {"dddddd", "25 December 2026"},
    {"t", "09:05"},
    {"tt", "09:05:03"},
    {"h am/pm", "9 am"},
    {"h AM/PM", "9 AM"},
    {"hh a/p", "09 a"},
    {"hh A/P", "09 A"},
    {"h ampm", "9 AM"},
    {"'yyyy' yyyy", "yyyy 2026"},
    {"\"d\"d", "d25"},
    {"'unfinished", "unfinished"},
    {"Q, x; w!", "Q, x; w!"},
    {"", ""},
    {"dddddddd", "25 December 202625"},  // six, then two
};
INSTANTIATE_TEST_SUITE_P(Cases, DateTimePatterns, ::testing::ValuesIn(kPatterns));

TEST(DateTimePatternsAt, TwelveHourClockAndDatesWithoutTime) {
  std::string out;
  ASSERT_TRUE(FormatDateTimeText("h:nn am/pm", 46381 + 0.5 / 24, out));  // 0:30
  EXPECT_EQ(out, "12:30 am");
  ASSERT_TRUE(FormatDateTimeText("h:nn AM/PM", 46381 + 21.0 / 24, out));
  EXPECT_EQ(out, "9:00 PM");
  ASSERT_TRUE(FormatDateTimeText("hh", 46381 + 12.0 / 24, out));
  EXPECT_EQ(out, "12");
  ASSERT_TRUE(FormatDateTimeText("h a/p", 46381 + 12.0 / 24, out));
  EXPECT_EQ(out, "12 p");
  ASSERT_TRUE(FormatDateTimeText("c", 46381, out));
  EXPECT_EQ(out, "25.12.2026");
  ASSERT_TRUE(FormatDateTimeText("d.m", double(DayNumber(2026, 3, 5)), out));
  EXPECT_EQ(out, "5.3");
  ASSERT_TRUE(FormatDateTimeText("ddddd", double(DayNumber(1, 1, 1)), out));
  EXPECT_EQ(out, "01.01.0001");
  EXPECT_FALSE(FormatDateTimeText("d", 1e10, out));
}

TEST(DateText, TheFixedFormatsReadBackWhatTheyWrite) {
  std::string s;
  ASSERT_TRUE(DateToText(kChristmas, s));
  EXPECT_EQ(s, "25.12.2026");
  ASSERT_TRUE(TimeToText(kChristmas, s));
  EXPECT_EQ(s, "09:05:03");
  const double samples[] = {0, 1.5, 36526.75, kChristmas, -693593.0, 2958465.999, -1.25, 45000.123456};
  for (double d : samples) {
    double back;
    ASSERT_TRUE(DateToText(d, s));
    ASSERT_TRUE(ParseDate(s, back)) << s;
    TDayTime split;
    ASSERT_TRUE(SplitDateTime(d, split));
    EXPECT_EQ(back, double(split.Day)) << s;
    ASSERT_TRUE(TimeToText(d, s));
    ASSERT_TRUE(ParseTime(s, back)) << s;
    EXPECT_EQ(std::llround(back * 86400), split.Ms / 1000) << s;
  }
}

TEST(DateText, ReadingDates) {
  struct {
    const char* text;
    int y, m, d;  // y 0: refused
  } cases[] = {
      {"25.12.2026", 2026, 12, 25}, {"1.2.2003", 2003, 2, 1},   {" 5.6.2007 ", 2007, 6, 5},
      {"25/12/2026", 2026, 12, 25}, {"25-12-2026", 2026, 12, 25}, {"25.12.26", 2026, 12, 25},
      {"1.1.49", 2049, 1, 1},       {"1.1.75", 1975, 1, 1},     {"1.1.0075", 75, 1, 1},
      {"29.02.2024", 2024, 2, 29},  {"01.01.0001", 1, 1, 1},    {"29.02.2023", 0, 0, 0},
      {"31.04.2020", 0, 0, 0},      {"25.12/2026", 0, 0, 0},    {"5.6", 0, 0, 0},
      {"", 0, 0, 0},                {"aa", 0, 0, 0},            {"1.1.20201", 0, 0, 0},
      {"123.1.2020", 0, 0, 0},      {"1.1.2020 12:00", 0, 0, 0}, {"0.1.2020", 0, 0, 0},
      {"-1.1.2020", 0, 0, 0},       {"1..2020", 0, 0, 0},
  };
  for (const auto& c : cases) {
    double d;
    bool ok = ParseDate(c.text, d);
    EXPECT_EQ(ok, c.y != 0) << c.text;
    if (ok && c.y) {
      EXPECT_EQ(d, double(DayNumber(c.y, c.m, c.d))) << c.text;
    }
  }
}

TEST(DateText, ReadingTimes) {
  struct {
    const char* text;
    int64_t ms;  // -1: refused
  } cases[] = {
      {"9:05", (9 * 60 + 5) * 60000},
      {"09:05:03", ((9 * 60 + 5) * 60 + 3) * 1000},
      {"23:59:59.999", 86399999},
      {"12:00:00.5", 12 * 3600000 + 500},
      {"12:00:00.05", 12 * 3600000 + 50},
      {" 0:00 ", 0},
      {"24:00", -1},
      {"12:60", -1},
      {"12:00:60", -1},
      {"12", -1},
      {"12:", -1},
      {"12:00:", -1},
      {"12:00:00.", -1},
      {"12:00:00.1234", -1},
      {"123:00", -1},
      {"12.00", -1},
      {"", -1},
  };
  for (const auto& c : cases) {
    double t;
    bool ok = ParseTime(c.text, t);
    EXPECT_EQ(ok, c.ms >= 0) << c.text;
    if (ok && c.ms >= 0) {
      EXPECT_EQ(std::llround(t * 86400000), c.ms) << c.text;
    }
  }
}

class DateBuiltins : public ::testing::TestWithParam<TEvalCase> {};

TEST_P(DateBuiltins, GiveTheirValue) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval(GetParam().expression), GetParam().expected);
}

const TEvalCase kDateCases[] = {
    {"EncodeDate(2026, 12, 25)", "datetime:46381"},
    {"EncodeDate(2026.9, 12.9, 25.9)", "datetime:46381"},
    {"EncodeDate(2026, 2, 30)", "error:Invalid parameters, function ENCODEDATE : Invalid argument to date encode"},
    {"EncodeDate(0, 1, 1)", "error:Invalid parameters, function ENCODEDATE : Invalid argument to date encode"},
    {"EncodeDate(2026, 12)", "error:Invalid parameters, function ENCODEDATE"},
    {"EncodeTime(12, 0, 0, 0)", "datetime:0.5"},
    {"EncodeTime(18, 0, 0, 0)", "datetime:0.75"},
    {"EncodeTime(24, 0, 0, 0)", "error:Invalid parameters, function ENCODETIME : Invalid argument to time encode"},
    {"EncodeTime(1, 2, 3, 1000)", "error:Invalid parameters, function ENCODETIME : Invalid argument to time encode"},
    {"DateToStr(EncodeDate(2026, 12, 25))", "string:25.12.2026"},
    {"DateToStr(EncodeDate(2026, 12, 25) + EncodeTime(23, 0, 0, 0))", "string:25.12.2026"},
    {"DateToStr(1)", "string:31.12.1899"},
    {"DateToStr(10000000000.0)", "error:Invalid parameters, function DATETOSTR : Invalid date 10000000000"},
    {"DateToStr('x')", "error:Invalid parameters, function DATETOSTR : Cannot convert 'x' to a float"},
    {"TimeToStr(0.75)", "string:18:00:00"},
    {"TimeToStr(EncodeTime(9, 5, 3, 999))", "string:09:05:03"},
    {"StrToDate('31.12.1899')", "datetime:1"},
    {"StrToDate('x')", "error:Invalid parameters, function STRTODATE : 'x' is not a valid date"},
    {"StrToTime('12:00')", "datetime:0.5"},
    {"StrToTime('25:00')", "error:Invalid parameters, function STRTOTIME : '25:00' is not a valid time"},
    {"DateToStr(StrToDate(DateToStr(46381)))", "string:25.12.2026"},
    {"FormatDateTime('dddd d mmmm yyyy', EncodeDate(2026, 12, 25))", "string:Friday 25 December 2026"},
    {"FormatDateTime('hh:nn', 0.75)", "string:18:00"},
    {"FormatDateTime('d', 10000000000.0)", "error:Invalid parameters, function FORMATDATETIME : Invalid date 10000000000"},
    {"DayOfWeek(0)", "integer:7"},
    {"DayOfWeek(1)", "integer:1"},
    {"DayOfWeek(EncodeDate(2026, 12, 25) + 0.9)", "integer:6"},
    {"DateToStr(IncMonth(EncodeDate(2024, 1, 31), 1))", "string:29.02.2024"},
    {"DateToStr(IncMonth(EncodeDate(2024, 3, 31), -1.9))", "string:29.02.2024"},
    {"IncMonth(EncodeDate(2024, 1, 31) + 0.5, 1)", "datetime:45351.5"},
    {"YearDays(EncodeDate(2024, 5, 5))", "integer:366"},
    {"YearDays(EncodeDate(2023, 5, 5))", "integer:365"},
    {"YearDays(EncodeDate(1900, 5, 5))", "integer:365"},
    {"YearFrac(EncodeDate(2021, 1, 1), EncodeDate(2022, 1, 1))", "float:1"},
    {"YearFrac(46381, 46381)", "float:0"},
    {"Round(YearFrac(EncodeDate(2020, 7, 1), EncodeDate(2021, 7, 1)) * 1000)", "integer:999"},
};
INSTANTIATE_TEST_SUITE_P(Cases, DateBuiltins, ::testing::ValuesIn(kDateCases));

TEST(DateBuiltinsByVariable, DecodeDateAndDecodeTimeFillTheirVariables) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("Y := 0; M := 0; D := 0; R := DecodeDate(EncodeDate(2026, 12, 25) + 0.5, Y, M, D)")) << h.Error();
  EXPECT_EQ(h.Value("Y"), "integer:2026");
  EXPECT_EQ(h.Value("M"), "integer:12");
  EXPECT_EQ(h.Value("D"), "integer:25");
  EXPECT_EQ(h.Value("R"), "datetime:46381.5");
  ASSERT_TRUE(h.Run("H := 0; N := 0; S := 0; Z := 0; DecodeTime(EncodeTime(13, 14, 15, 16), H, N, S, Z)")) << h.Error();
  EXPECT_EQ(h.Value("H"), "integer:13");
  EXPECT_EQ(h.Value("N"), "integer:14");
  EXPECT_EQ(h.Value("S"), "integer:15");
  EXPECT_EQ(h.Value("Z"), "integer:16");
  EXPECT_FALSE(h.Run("Y := 0; M := 0; DecodeDate(0, Y, M, 3)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function DECODEDATE");
  EXPECT_FALSE(h.Run("H := 0; DecodeTime(0, H, H + 1, H, H)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function DECODETIME");
}

class ScriptClock : public ::testing::Test {
 protected:
  void TearDown() override { SetScriptClock(nullptr); }
};

TEST_F(ScriptClock, AVirtualClockCountsFromTheFixedStart) {
  TVirtualClock clock;
  SetScriptClock(&clock);
  TScriptHarness h;
  EXPECT_EQ(h.Eval("Now"), "datetime:36526.5");
  EXPECT_EQ(h.Eval("DateToStr(Now) + ' ' + TimeToStr(Now)"), "string:01.01.2000 12:00:00");
  clock.AdvanceNs(int64_t(13) * 3600 * 1000000000LL);  // 13 hours later
  EXPECT_EQ(h.Eval("DateToStr(Now) + ' ' + TimeToStr(Now)"), "string:02.01.2000 01:00:00");
  EXPECT_EQ(h.Eval("Date"), "datetime:36527");
  EXPECT_EQ(h.Eval("TimeToStr(Time)"), "string:01:00:00");
  EXPECT_EQ(h.Eval("Time < 1"), "boolean:True");
  SetScriptClock(&clock, 46381);
  EXPECT_EQ(h.Eval("FormatDateTime('yyyy-mm-dd hh:nn', Now)"), "string:2026-12-25 13:00");
}

TEST_F(ScriptClock, ARealClockGivesTheLocalTime) {
  TRealClock real;
  SetScriptClock(&real);
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char expected[32];
  std::strftime(expected, sizeof expected, "%d.%m.%Y %H:%M", &local);
  TScriptHarness h;
  std::string now = h.Eval("FormatDateTime('dd.mm.yyyy hh:nn', Now)");
  if (now != std::string("string:") + expected) {  // the minute may just have turned
    t = std::time(nullptr);
    localtime_r(&t, &local);
    std::strftime(expected, sizeof expected, "%d.%m.%Y %H:%M", &local);
  }
  EXPECT_EQ(now, std::string("string:") + expected);
  EXPECT_NEAR(ScriptNow(), LocalNow(), 1.0 / 86400);
}

}  // namespace
}  // namespace kw
