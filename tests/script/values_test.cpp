// Conversions between script value kinds and the number and name rules.
#include <gtest/gtest.h>

#include <cmath>

#include "script/script_value.h"
#include "script/var_list.h"

namespace kw {
namespace {

TEST(ScriptValue, ToIntegerRoundsHalfToEvenAndRefusesWhatHasNoReading) {
  struct Case { TValue v; bool ok; int32_t expected; };
  const Case cases[] = {
      {TValue::Float(2.5), true, 2},          {TValue::Float(3.5), true, 4},
      {TValue::Float(-2.5), true, -2},        {TValue::Float(-0.6), true, -1},
      {TValue::Float(2147483647.4), true, 2147483647},
      {TValue::Float(2147483648.0), false, 0}, {TValue::Float(NAN), false, 0},
      {TValue::Boolean(true), true, -1},      {TValue::Boolean(false), true, 0},
      {TValue::String("12"), true, 12},       {TValue::String(" 7.5 "), true, 8},
      {TValue::String("x"), false, 0},        {TValue::String(""), false, 0},
      {TValue::Element(5), true, 5},          {TValue::Element(0x80000000u), false, 0},
      {TValue(), true, 0},                    {TValue::BigInt(1LL << 40), false, 0},
      {TValue::Byte(200), true, 200},         {TValue::DateTime(1.5), true, 2},
  };
  for (const Case& c : cases) {
    int32_t out = -999;
    EXPECT_EQ(c.v.ToInteger(out), c.ok) << ValueKindName(c.v.kind) << " " << c.v.ToString();
    if (c.ok) {
      EXPECT_EQ(out, c.expected) << c.v.ToString();
    }
  }
}

TEST(ScriptValue, ToBooleanReadsWordsAndNumbers) {
  struct Case { TValue v; bool ok; bool expected; };
  const Case cases[] = {
      {TValue::String("TRUE"), true, true},  {TValue::String("false"), true, false},
      {TValue::String("tRuE"), true, true},  {TValue::String("0"), true, false},
      {TValue::String("2.5"), true, true},   {TValue::String("yes"), false, false},
      {TValue(), true, false},               {TValue::Integer(-1), true, true},
      {TValue::Float(0.0), true, false},     {TValue::Element(3), true, true},
  };
  for (const Case& c : cases) {
    bool out = !c.expected;
    EXPECT_EQ(c.v.ToBoolean(out), c.ok) << c.v.ToString();
    if (c.ok) {
      EXPECT_EQ(out, c.expected) << c.v.ToString();
    }
  }
}

TEST(ScriptValue, ToStringUsesFifteenSignificantDigits) {
  struct Case { double v; const char* text; };
  const Case cases[] = {
      {0.1, "0.1"}, {-2, "-2"}, {2.5, "2.5"}, {1.0 / 3, "0.333333333333333"},
      {1e20, "1E20"}, {1.5e-7, "1.5E-7"}, {0.00001, "0.00001"}, {0.000001, "1E-6"},
      {123456789012345678.0, "1.23456789012346E17"}, {999999999999999.0, "999999999999999"},
      {1e15, "1E15"}, {0, "0"}, {INFINITY, "INF"}, {-INFINITY, "-INF"},
      {double(std::pow(2.0f, 0.5f)), "1.41421353816986"},
  };
  for (const Case& c : cases) EXPECT_EQ(TValue::Float(c.v).ToString(), c.text) << c.v;
  EXPECT_EQ(TValue::Boolean(true).ToString(), "True");
  EXPECT_EQ(TValue::Boolean(false).ToString(), "False");
  EXPECT_EQ(TValue::Integer(-42).ToString(), "-42");
  EXPECT_EQ(TValue().ToString(), "");
}

TEST(ScriptValue, ToFloatReadsDecimalText) {
  double d = 0;
  EXPECT_TRUE(TValue::String("1.25").ToFloat(d));
  EXPECT_EQ(d, 1.25);
  EXPECT_TRUE(TValue::String("-3e2").ToFloat(d));
  EXPECT_EQ(d, -300);
  EXPECT_FALSE(TValue::String("1,5").ToFloat(d));
  EXPECT_FALSE(TValue::String("abc").ToFloat(d));
  EXPECT_TRUE(TValue::Boolean(true).ToFloat(d));
  EXPECT_EQ(d, -1);
}

TEST(VariableNames, ValidNameRule) {
  const char* valid[] = {"COUNT", "A.B.X", "_N2", "LIST[3,-1]", "X", "@", "..X", "\xC0\xE1\xE2", "A[]"};
  const char* invalid[] = {"", "2X", "A[1]B", "A B", "A[1", "A[X]", "$A", "A-B", "[1]"};
  for (const char* n : valid) EXPECT_TRUE(IsValidVarName(n)) << n;
  for (const char* n : invalid) EXPECT_FALSE(IsValidVarName(n)) << n;
}

}  // namespace
}  // namespace kw
