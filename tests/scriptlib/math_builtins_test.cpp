#include <gtest/gtest.h>

#include <vector>

#include "script_harness.h"
#include "scriptlib/script_clock.h"

namespace kw {
namespace {

class MathBuiltins : public ::testing::TestWithParam<TEvalCase> {};

TEST_P(MathBuiltins, GiveTheirValue) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval(GetParam().expression), GetParam().expected);
}

const TEvalCase kMathCases[] = {
    {"Abs(-3)", "float:3"},
    {"Abs(2.5)", "float:2.5"},
    {"Abs('-4')", "float:4"},
    {"Abs('x')", "error:Invalid parameters, function ABS : Cannot convert 'x' to a float"},
    {"Int(3.7)", "bigint:3"},
    {"Int(-3.7)", "bigint:-3"},
    {"Int(5)", "bigint:5"},
    {"Int(5000000000.9) + 1", "bigint:5000000001"},
    {"Int(1000000000000000000000000000000.0)",
     "error:Invalid parameters, function INT : Cannot convert 1E30 to an integer"},
    {"Frac(3.75)", "float:0.75"},
    {"Frac(-3.75)", "float:-0.75"},
    {"Frac(4)", "float:0"},
    {"Round(2.5)", "integer:2"},
    {"Round(3.5)", "integer:4"},
    {"Round(-2.5)", "integer:-2"},
    {"Round(2.6)", "integer:3"},
    {"Round('7.5')", "integer:8"},
    {"Round(3000000000.0)", "error:Invalid parameters, function ROUND : Cannot convert 3000000000 to an integer"},
    {"Trunc(-2.7)", "integer:-2"},
    {"Trunc(2.7)", "integer:2"},
    {"Trunc(3000000000.0)", "error:Invalid parameters, function TRUNC : Cannot convert 3000000000 to an integer"},
    {"Ceil(2.1)", "integer:3"},
    {"Ceil(-2.1)", "integer:-2"},
    {"Ceil(5)", "integer:5"},
    {"Floor(-2.1)", "integer:-3"},
    {"Floor(2.9)", "integer:2"},
    {"Sin(0)", "float:0"},
    {"Cos(0)", "float:1"},
    {"Tan(0)", "float:0"},
    {"ArcSin(1)", "float:1.5707963267949"},
    {"ArcTan(1) * 4", "float:3.14159265358979"},
    {"ArcCos(1)", "float:0"},
    {"ArcSin(2)", "error:Invalid parameters, function ARCSIN : Invalid floating point operation"},
    {"ArcCos(-1.5)", "error:Invalid parameters, function ARCCOS : Invalid floating point operation"},
    {"Exp(0)", "float:1"},
    {"Exp(1000)", "error:Invalid parameters, function EXP : Floating point overflow"},
    {"Ln(1)", "float:0"},
    {"Ln(0)", "error:Invalid parameters, function LN : Invalid floating point operation"},
    {"Ln(-1)", "error:Invalid parameters, function LN : Invalid floating point operation"},
    {"Sqrt(4)", "float:2"},
    {"Sqrt(0)", "float:0"},
    {"Sqrt(-1)", "error:Invalid parameters, function SQRT : Invalid floating point operation"},
    {"Sqr(3)", "float:9"},
    {"Sqr(-1.5)", "float:2.25"},
    {"Sqr(100000000000000000000.0 * 100000000000000000000.0 * 100000000000000000000.0 * 100000000000000000000.0 * "
     "100000000000000000000.0 * 100000000000000000000.0 * 100000000000000000000.0 * 100000000000000000000.0)",
     "error:Invalid parameters, function SQR : Floating point overflow"},
    {"IntPower(2, 10)", "float:1024"},
    {"IntPower(2, -1)", "float:0.5"},
    {"IntPower(2, 3.9)", "float:8"},
    {"IntPower(0, 0)", "float:1"},
    {"IntPower(-2, 3)", "float:-8"},
    {"IntPower(0, -1)", "error:Invalid parameters, function INTPOWER : Floating point division by zero"},
    {"Sign(0.5)", "integer:0"},
    {"Sign(0.4)", "integer:0"},
    {"Sign(-0.6)", "integer:-1"},
    {"Sign(1.5)", "integer:1"},
    {"Sign(-7)", "integer:-1"},
    {"Mod(7, 3)", "integer:1"},
    {"Mod(-7, 3)", "integer:-1"},
    {"Mod(7, -3)", "integer:1"},
    {"Mod(7.5, 2)", "integer:0"},
    {"Mod(-2147483648.0, -1)", "integer:0"},
    {"Mod(7, 0)", "error:Invalid parameters, function MOD : Division by zero"},
    {"Div(7, 2)", "integer:3"},
    {"Div(-7, 2)", "integer:-3"},
    {"Div(7, 0.4)", "error:Invalid parameters, function DIV : Division by zero"},
    {"Div(-2147483648.0, -1)", "error:Invalid parameters, function DIV : Integer overflow"},
    {"Div(7)", "error:Invalid parameters, function DIV"},
    {"Max(1, 5, 3)", "integer:5"},
    {"Min(4, 2, 9)", "integer:2"},
    {"Max(1, 2.5)", "error:Invalid parameters, function MAX"},
    {"Min('b', 'a')", "string:a"},
    {"Max('b', 'ab', 'a')", "string:b"},
    {"Max(2.5, 1.5)", "float:2.5"},
    {"Min(3)", "integer:3"},
    {"Min()", "error:Invalid parameters, function MIN"},
    {"Max(TRUE, FALSE)", "boolean:False"},  // TRUE is -1 among numbers
    {"Random(1)", "integer:0"},
    {"Random(0)", "integer:0"},
    {"Random(-5)", "integer:0"},
};
INSTANTIATE_TEST_SUITE_P(Cases, MathBuiltins, ::testing::ValuesIn(kMathCases));

std::vector<int32_t> Draws(uint64_t seed, int32_t n, int count) {
  SeedRandom(seed);
  std::vector<int32_t> v;
  for (int i = 0; i < count; ++i) v.push_back(RandomBelow(n));
  return v;
}

TEST(Random, ASeedRepeatsItsNumbers) {
  EXPECT_EQ(Draws(42, 1000, 50), Draws(42, 1000, 50));
  EXPECT_NE(Draws(42, 1000, 50), Draws(43, 1000, 50));
  // The generator is fixed by its algorithm: recorded runs replay on every
  // build. These are the first numbers of seed 1.
  EXPECT_EQ(Draws(1, 1000000, 4), (std::vector<int32_t>{328936, 417022, 28943, 458344}));
}

TEST(Random, NumbersCoverTheRangeEvenly) {
  SeedRandom(7);
  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) {
    int32_t v = RandomBelow(10);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 10);
    ++buckets[v];
  }
  for (int b : buckets) {
    EXPECT_GT(b, 9500);
    EXPECT_LT(b, 10500);
  }
  SeedRandom(7);
  for (int i = 0; i < 1000; ++i) {
    int32_t v = RandomBelow(2147483647);
    ASSERT_GE(v, 0);
  }
}

TEST(Random, ScriptsDrawFromTheSeededGenerator) {
  TScriptHarness h;
  SeedRandom(99);
  ASSERT_TRUE(h.Run("A := Random(100); B := Random(100); C := Random(100)")) << h.Error();
  std::string first = h.Value("A") + h.Value("B") + h.Value("C");
  SeedRandom(99);
  ASSERT_TRUE(h.Run("A := Random(100); B := Random(100); C := Random(100)"));
  EXPECT_EQ(h.Value("A") + h.Value("B") + h.Value("C"), first);
  EXPECT_EQ(h.Eval("Random(100.4) < 100"), "boolean:True");
  EXPECT_EQ(h.Eval("Random('x')"), "error:Invalid parameters, function RANDOM : Cannot convert 'x' to an integer");
}

}  // namespace
}  // namespace kw
