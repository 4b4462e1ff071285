#include <gtest/gtest.h>

#include "script_harness.h"
#include "scriptlib/text_rules.h"
#include "scriptlib/unicode_mode.h"

namespace kw {
namespace {

class TextBuiltins : public ::testing::TestWithParam<TEvalCase> {};

TEST_P(TextBuiltins, GiveTheirValue) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval(GetParam().expression), GetParam().expected);
}

const TEvalCase kTextCases[] = {
    {"Copy('abcdef', 2, 3)", "string:bcd"},
    {"Copy('abc', 0, 2)", "string:ab"},
    {"Copy('abc', -5, 2)", "string:ab"},
    {"Copy('abc', 5, 1)", "string:"},
    {"Copy('abc', 4, 1)", "string:"},
    {"Copy('abc', 2, 100)", "string:bc"},
    {"Copy('abc', 1, 0)", "string:"},
    {"Copy('abc', 2, -1)", "string:"},
    {"Copy('abcdef', 2.9, 1.9)", "string:b"},  // truncated, not rounded
    {"Copy('abc', 1, 10000000000.0)", "error:Invalid parameters, function COPY : Cannot convert 10000000000 to an integer"},
    {"Copy(12345, 2, 2)", "string:23"},
    {"Copy('abc', 1)", "error:Invalid parameters, function COPY"},
    {"Poss('c', 'abcabc')", "integer:3"},
    {"Poss('', 'abc')", "integer:0"},
    {"Poss('x', 'abc')", "integer:0"},
    {"Poss('abc', 'ab')", "integer:0"},
    {"Poss('bc', 'abcabc')", "integer:2"},
    {"StrToInt('12')", "integer:12"},
    {"StrToInt('x')", "integer:0"},
    {"StrToInt('')", "integer:0"},
    {"StrToInt(' -7 ')", "integer:-7"},
    {"StrToInt('$FF')", "integer:255"},
    {"StrToInt('$ffffffff')", "integer:-1"},
    {"StrToInt('$1FFFFFFFF')", "integer:0"},
    {"StrToInt('$')", "integer:0"},
    {"StrToInt('2147483647')", "integer:2147483647"},
    {"StrToInt('2147483648')", "integer:0"},
    {"StrToInt('-2147483648')", "integer:-2147483648"},
    {"StrToInt('99999999999999999999999')", "integer:0"},
    {"StrToInt('1.5')", "integer:0"},
    {"StrToInt(42)", "integer:42"},
    {"StrToFloat('x')", "error:Invalid parameters, function STRTOFLOAT : 'x' is not a valid floating point value"},
    {"StrToFloat('1,5')", "error:Invalid parameters, function STRTOFLOAT : '1,5' is not a valid floating point value"},
    {"StrToFloat('')", "error:Invalid parameters, function STRTOFLOAT : '' is not a valid floating point value"},
    {"StrToFloat(' 2.5 ')", "float:2.5"},
    {"StrToFloat('-.5')", "float:-0.5"},
    {"StrToFloat('1e3')", "float:1000"},
    {"StrToFloat(7)", "float:7"},
    {"FloatToStr(0.1)", "string:0.1"},
    {"FloatToStr(-2)", "string:-2"},
    {"FloatToStr(2.5)", "string:2.5"},
    {"FloatToStr(3)", "string:3"},
    {"FloatToStr(1 / 3)", "string:0.333333333333333"},
    {"FloatToStr(2 / 3)", "string:0.666666666666667"},
    {"FloatToStr(-0.0000000000000001)", "string:0"},
    {"FloatToStr(100000000000000000000.0)", "string:100000000000000000000"},
    {"FloatToStr('x')", "error:Invalid parameters, function FLOATTOSTR : Cannot convert 'x' to a float"},
    {"IntToStr(-5)", "string:-5"},
    {"IntToStr(2.5)", "string:2"},
    {"IntToStr(3.5)", "string:4"},
    {"IntToStr(Int(3000000000.5))", "string:3000000000"},
    {"IntToStr('x')", "error:Invalid parameters, function INTTOSTR : Cannot convert 'x' to an integer"},
    {"Char(65)", "string:A"},
    {"Char(321)", "string:A"},
    {"Char(-191)", "string:A"},
    {"Char(66.5)", "string:B"},  // nearest, ties to even
    {"Length('abc')", "integer:3"},
    {"Length('')", "integer:0"},
    {"Length(123)", "integer:3"},
    {"DelLastChar('abc')", "string:ab"},
    {"DelLastChar('')", "string:"},
    {"Trim('  a b  ')", "string:a b"},
    {"TrimLeft('  a b  ')", "string:a b  "},
    {"TrimRight('  a b  ')", "string:  a b"},
    {"Trim(Char(9) + Char(0) + 'x' + Char(31) + Char(32))", "string:x"},
    {"Trim(Char(33) + 'x')", "string:!x"},
    {"Trim('   ')", "string:"},
    {"UpperCase('abc xyz')", "string:ABC XYZ"},
    {"LowerCase('ABC xyz')", "string:abc xyz"},
    {"UpperCase('\xE0\xE1\xFF\xB8')", "string:\xC0\xC1\xDF\xA8"},  // a, b, ya, yo in Cyrillic
    {"LowerCase('\xC0\xDF\xA8Q')", "string:\xE0\xFF\xB8q"},
    {"Length()", "error:Invalid parameters, function LENGTH"},
    {"Length('a', 'b')", "error:Invalid parameters, function LENGTH"},
};
INSTANTIATE_TEST_SUITE_P(Cases, TextBuiltins, ::testing::ValuesIn(kTextCases));

// Val, Insert and Delete give their values through variables.
TEST(TextBuiltinsByVariable, ValReadsANumberAndWhereItStopped) {
  struct {
    const char* text;
    const char* value;
    const char* code;
  } cases[] = {
      {"'12.5'", "float:12.5", "integer:0"},
      {"'  7'", "float:7", "integer:0"},
      {"'-3'", "float:-3", "integer:0"},
      {"'1.5e3'", "float:1500", "integer:0"},
      {"'12x'", "float:12", "integer:3"},
      {"'12 '", "float:12", "integer:3"},
      {"'1e'", "float:1", "integer:2"},
      {"'x'", "float:0", "integer:1"},
      {"''", "float:0", "integer:1"},
      {"'1,5'", "float:1", "integer:2"},
      {"42", "float:42", "integer:0"},
  };
  for (const auto& c : cases) {
    TScriptHarness h;
    ASSERT_TRUE(h.Run(std::string("V := 99; C := 99; Val(") + c.text + ", V, C)")) << h.Error();
    EXPECT_EQ(h.Value("V"), c.value) << c.text;
    EXPECT_EQ(h.Value("C"), c.code) << c.text;
  }
  TScriptHarness h;
  EXPECT_FALSE(h.Run("V := 0; Val('1', V, 3)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function VAL");
  EXPECT_FALSE(h.Run("C := 0; Val('1', V, C)"));  // V does not exist yet
  EXPECT_EQ(h.Error(), "Invalid parameters, function VAL");
}

TEST(TextBuiltinsByVariable, DeleteAndInsertChangeTheVariable) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("S := 'abcdef'; Delete(S, 2, 3); A := S; R := Insert('XY', S, 2)")) << h.Error();
  EXPECT_EQ(h.Value("A"), "string:aef");
  EXPECT_EQ(h.Value("S"), "string:aXYef");
  EXPECT_EQ(h.Value("R"), "string:aXYef");

  EXPECT_FALSE(h.Run("R := Insert('XY', 'abc', 2)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function INSERT");
  EXPECT_FALSE(h.Run("S := 'abc'; R := Delete(S + '', 1, 1)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function DELETE");

  struct {
    const char* call;
    const char* result;
  } cases[] = {
      {"Delete(S, 0, 1)", "abcdef"},      {"Delete(S, 7, 1)", "abcdef"},
      {"Delete(S, 5, 100)", "abcd"},      {"Delete(S, 1, 0)", "abcdef"},
      {"Delete(S, 2, -3)", "abcdef"},     {"Delete(S, 6, 1)", "abcde"},
      {"Insert('Z', S, 0)", "Zabcdef"},   {"Insert('Z', S, -4)", "Zabcdef"},
      {"Insert('Z', S, 99)", "abcdefZ"},  {"Insert('Z', S, 7)", "abcdefZ"},
      {"Insert('Z', S, 6)", "abcdeZf"},   {"Insert('', S, 3)", "abcdef"},
      {"Insert('Z', S, 2.9)", "aZbcdef"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(h.Run(std::string("S := 'abcdef'; ") + c.call)) << c.call << ": " << h.Error();
    EXPECT_EQ(h.Value("S"), std::string("string:") + c.result) << c.call;
  }
}

class UnicodeModeOn : public ::testing::Test {
 protected:
  void SetUp() override { SetUnicodeModeHook([] { return true; }); }
  void TearDown() override { SetUnicodeModeHook(nullptr); }
};

// A three-byte character: the byte 1 and the code U+0441, low byte first.
const char* kEscaped = "Char(1) + Char(65) + Char(4)";

TEST_F(UnicodeModeOn, AnEscapedCharacterCountsAsOne) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval(std::string("Length(") + kEscaped + ")"), "integer:1");
  EXPECT_EQ(h.Eval(std::string("Length('ab' + ") + kEscaped + " + 'c')"), "integer:4");
  EXPECT_EQ(h.Eval(std::string("Length(DelLastChar('ab' + ") + kEscaped + "))"), "integer:2");
  EXPECT_EQ(h.Eval(std::string("DelLastChar('ab' + ") + kEscaped + ")"), "string:ab");
  // A byte 1 without two bytes after it is an ordinary byte.
  EXPECT_EQ(h.Eval("Length('ab' + Char(1) + 'c')"), "integer:4");
  EXPECT_EQ(h.Eval("Length(DelLastChar('ab' + Char(1) + 'c'))"), "integer:3");
  // The code bytes of an escaped character are neither trimmed nor cased:
  // U+2014 is the bytes 1, 20, 32.
  EXPECT_EQ(h.Eval("Length(Trim(' ' + Char(1) + Char(20) + Char(32) + ' '))"), "integer:1");
  EXPECT_EQ(h.Eval("Length(TrimRight('x' + Char(1) + Char(20) + Char(32)))"), "integer:2");
  EXPECT_EQ(h.Eval(std::string("Copy(LowerCase('Q' + ") + kEscaped + "), 1, 3)"), "string:q\x01" "A");
}

TEST(UnicodeModeOff, EveryByteCounts) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval(std::string("Length(") + kEscaped + ")"), "integer:3");
  EXPECT_EQ(h.Eval(std::string("Length(DelLastChar('ab' + ") + kEscaped + "))"), "integer:4");
  EXPECT_EQ(h.Eval("Length(TrimRight('x' + Char(1) + Char(20) + Char(32)))"), "integer:1");
}

TEST(TextRules, FloatToTextWritesFifteenDecimalsTrimmed) {
  EXPECT_EQ(FloatToText(1e-15), "0.000000000000001");
  EXPECT_EQ(FloatToText(1e-16), "0");
  EXPECT_EQ(FloatToText(-1.25), "-1.25");
  EXPECT_EQ(FloatToText(123456789.125), "123456789.125");
}

}  // namespace
}  // namespace kw
