#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "script_harness.h"
#include "scriptlib/format_text.h"

namespace kw {
namespace {

struct TFormatCase {
  const char* fmt;
  std::vector<TValue> args;
  const char* expected;  // nullptr: the call fails
};

TValue I(int32_t v) { return TValue::Integer(v); }
TValue F(double v) { return TValue::Float(v); }
TValue S(const char* v) { return TValue::String(v); }

class FormatCases : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(FormatCases, WriteTheirArguments) {
  const TFormatCase& c = GetParam();
  std::string out, error;
  bool ok = FormatText(c.fmt, c.args, out, error);
  if (!c.expected) {
    EXPECT_FALSE(ok) << "gave " << out;
    EXPECT_FALSE(error.empty());
  } else {
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(out, c.expected);
  }
}

void PrintTo(const TFormatCase& c, std::ostream* os) { *os << '"' << c.fmt << '"'; }

const TFormatCase kFormatCases[] = {
    // The usual forms.
    {"%d of %d", {I(3), I(7)}, "3 of 7"},
    {"%5.2f", {F(3.14159)}, " 3.14"},
    {"[%5d]", {I(42)}, "[   42]"},
    {"[%-5d]", {I(42)}, "[42   ]"},
    {"[%.3d]", {I(5)}, "[005]"},
    {"[%.3d]", {I(-5)}, "[-005]"},
    {"[%6.3d]", {I(-5)}, "[  -005]"},
    {"%D", {I(5)}, "5"},
    {"%u", {I(-1)}, "4294967295"},
    {"%x", {I(255)}, "FF"},
    {"%X", {I(255)}, "FF"},
    {"%.4x", {I(255)}, "00FF"},
    {"%x", {I(-1)}, "FFFFFFFF"},
    {"%x", {TValue::BigInt(-1)}, "FFFFFFFFFFFFFFFF"},
    {"%d", {TValue::BigInt(3000000000LL)}, "3000000000"},
    {"%d", {TValue::Boolean(true)}, "-1"},
    {"%d", {TValue::Byte(200)}, "200"},
    {"%d", {TValue()}, "0"},
    {"%f", {F(2.5)}, "2.50"},
    {"%.0f", {F(2.5)}, "2"},
    {"%.3f", {F(-1.0005)}, "-1.000"},
    {"%.2f", {F(-0.001)}, "0.00"},
    {"%e", {F(1234.5)}, "1.23450000000000E+003"},
    {"%.3e", {F(1234.5)}, "1.23E+003"},
    {"%e", {F(-0.00012)}, "-1.20000000000000E-004"},
    {"%.0e", {F(5)}, "5E+000"},
    {"%e", {F(-0.0)}, "0.00000000000000E+000"},
    {"%g", {F(0.1)}, "0.1"},
    {"%g", {F(1.0 / 3)}, "0.333333333333333"},
    {"%g", {F(1e20)}, "1E20"},
    {"%g", {F(0)}, "0"},
    {"%.3g", {F(3.14159)}, "3.14"},
    {"%.3g", {F(31415.9)}, "3.14E4"},
    {"%.2g", {F(0.000001)}, "1E-6"},
    {"%n", {F(1234567.891)}, "1,234,567.89"},
    {"%n", {F(-1234.5)}, "-1,234.50"},
    {"%.0n", {F(999)}, "999"},
    {"%.1n", {F(1000)}, "1,000.0"},
    {"%m", {F(1234.5)}, "1,234.50"},
    {"%s", {S("abc")}, "abc"},
    {"[%-5s]", {S("ab")}, "[ab   ]"},
    {"[%.2s]", {S("abcdef")}, "[ab]"},
    {"[%5.1s]", {S("xyz")}, "[    x]"},
    {"\xC0%d\xFF", {I(1)}, "\xC0" "1\xFF"},
    // Arguments of another kind are converted for the letter.
    {"%d", {F(3.7)}, "3"},
    {"%d", {F(-3.7)}, "-3"},
    {"%x", {F(255.9)}, "FF"},
    {"%d", {S("42")}, "42"},
    {"%d", {S(" 2.9 ")}, "2"},
    {"%f", {I(3)}, "3.00"},
    {"%f", {S("2.5")}, "2.50"},
    {"%e", {TValue::Boolean(true)}, "-1.00000000000000E+000"},
    {"%s", {I(5)}, "5"},
    {"%s", {F(2.5)}, "2.5"},
    {"%s", {TValue::Boolean(true)}, "True"},
    {"%s", {TValue()}, ""},
    {"%s", {TValue::Element(7)}, "7"},
    {"%d", {S("x")}, nullptr},
    {"%f", {S("abc")}, nullptr},
    {"%d", {F(1e30)}, nullptr},
    {"ok %s then %d", {S("a"), S("b")}, nullptr},
    // Missing arguments, percent signs and other shapes.
    {"%d of %d", {I(3)}, "3 of "},
    {"%s%s%s", {S("a")}, "a"},
    {"100%%", {I(1)}, "100%"},
    {"%% %d", {I(5)}, "% 5"},
    {"%%%d%%", {I(5)}, "%5%"},
    {"50%", {I(1)}, "50%"},
    {"%5", {I(1)}, "%5"},
    {"%-", {I(1)}, "%-"},
    {"% d %d", {I(1), I(2)}, "% d 2"},
    {"%*d %d", {I(5), I(3)}, "%*d 3"},
    {"%0:d", {I(5)}, "%0:d"},
    {"%k %d", {I(1), I(2)}, "%k 2"},
    {"%c", {I(65)}, "%c"},
    {"%p", {I(65)}, "%p"},
    {"%+d", {I(1)}, "%+d"},
    {"%1.2.3f", {F(1)}, "%1.2.3f"},
    {"%1025d", {I(1)}, "%1025d"},
    {"%99999999999999999999d", {I(1)}, "%99999999999999999999d"},
    {"%.1025f", {F(1)}, "%.1025f"},
    {"%.d", {I(7)}, "7"},
    {"%5.f", {F(2.25)}, "    2"},
    {"", {I(1)}, ""},
    {"no specifications", {I(1)}, "no specifications"},
};
INSTANTIATE_TEST_SUITE_P(Cases, FormatCases, ::testing::ValuesIn(kFormatCases));

TEST(Format, WidthsAndPrecisionsUpToTheLimitAreHonoured) {
  std::string out, error;
  ASSERT_TRUE(FormatText("%1024d", std::vector<TValue>{I(1)}, out, error));
  EXPECT_EQ(out.size(), 1024u);
  ASSERT_TRUE(FormatText("%.1024f", std::vector<TValue>{F(-1e308)}, out, error));
  EXPECT_EQ(out.size(), 1 + 309 + 1 + 1024u);
  ASSERT_TRUE(FormatText("%1024.1024e", std::vector<TValue>{F(1.5)}, out, error));
  EXPECT_EQ(out.size(), 1024u);
}

TEST(Format, NonFiniteFloatsAreNamed) {
  std::string out, error;
  ASSERT_TRUE(FormatText("%f %e %g %n %s", std::vector<TValue>{F(INFINITY), F(-INFINITY), F(NAN), F(INFINITY), F(NAN)},
                         out, error));
  EXPECT_EQ(out, "INF -INF NAN INF NAN");
}

TEST(Format, GeneralFormWithFifteenDigitsIsTheValueConversion) {
  const double values[] = {0.1, 1.0 / 3, 2.0 / 3, 1e15, 1e14, 123456789012345.6, 1e-5, 9.99999e-6,
                           1.5e-7, -2.5, 1e300, 5e-324, 3.0, 100, 0.00012345};
  for (double v : values) EXPECT_EQ(FormatGeneral(v, 15), FormatFloat(v)) << v;
}

TEST(Format, ScriptCallsTakeAtLeastTwoArguments) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval("Format('%d of %d', 3, 7)"), "string:3 of 7");
  EXPECT_EQ(h.Eval("Format('%5.2f', 3.14159)"), "string: 3.14");
  EXPECT_EQ(h.Eval("Format('%s=%d', 'N', 2.5 * 2)"), "string:N=5");
  EXPECT_EQ(h.Eval("Format('%d%%', Int(50.7))"), "string:50%");
  EXPECT_EQ(h.Eval("Format('x')"), "error:Invalid parameters, function FORMAT");
  EXPECT_EQ(h.Eval("Format('%d', 'x')"),
            "error:Invalid parameters, function FORMAT : Format '%d' does not suit the argument 'x'");
}

}  // namespace
}  // namespace kw
