#include <gtest/gtest.h>

#include "script/script_context.h"
#include "script_harness.h"

namespace kw {
namespace {

TEST(IncDec, StepTheVariableWithTheExpressionOperators) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("N := 4; Inc(N); A := N; Inc(N, 0.5); B := N; Dec(N, 2); C := N; Dec(N)")) << h.Error();
  EXPECT_EQ(h.Value("A"), "integer:5");
  EXPECT_EQ(h.Value("B"), "float:5.5");
  EXPECT_EQ(h.Value("C"), "float:3.5");
  EXPECT_EQ(h.Value("N"), "float:2.5");

  ASSERT_TRUE(h.Run("S := 'a'; Inc(S, 'b')")) << h.Error();
  EXPECT_EQ(h.Value("S"), "string:ab");
  ASSERT_TRUE(h.Run("S := '5'; Inc(S)")) << h.Error();
  EXPECT_EQ(h.Value("S"), "float:6");
  ASSERT_TRUE(h.Run("D := EncodeDate(2026, 12, 25); Inc(D, 7)")) << h.Error();
  EXPECT_EQ(h.Value("D"), "datetime:46388");
  ASSERT_TRUE(h.Run("B := Int(5); Dec(B)")) << h.Error();
  EXPECT_EQ(h.Value("B"), "bigint:4");
  ASSERT_TRUE(h.Run("N := 2147483646; Inc(N); Inc(N)")) << h.Error();
  EXPECT_EQ(h.Value("N"), "bigint:2147483648");

  // Not a variable: the call succeeds and nothing changes or appears.
  ASSERT_TRUE(h.Run("Inc(3); N := 1; Inc(N + 0); Inc(Q)")) << h.Error();
  EXPECT_EQ(h.Value("N"), "integer:1");
  EXPECT_EQ(h.Value("Q"), "<missing>");

  EXPECT_FALSE(h.Run("S := 'x'; Dec(S, 'b')"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function DEC : Invalid operand types for \"-\"");
  EXPECT_FALSE(h.Run("S := 'x'; Inc(S)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function INC : Invalid operand types for \"+\"");
  EXPECT_FALSE(h.Run("N := 1; Inc(N, 1, 2)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function INC");
  EXPECT_FALSE(h.Run("Inc()"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function INC");
}

class LanguageKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    ScriptContext().LookupText = [](const std::string& key) { return key == "HI" ? std::string("hello") : ""; };
  }
  void TearDown() override { ScriptContext().LookupText = nullptr; }
};

TEST_F(LanguageKeys, AreLookedUpAsInExpressions) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("S := '>'; Inc(S, \"HI\")")) << h.Error();
  EXPECT_EQ(h.Value("S"), "string:>hello");
  EXPECT_EQ(h.Eval("Decode('hello', \"HI\", 1, 2)"), "integer:1");
  EXPECT_EQ(h.Eval("Decode(\"HI\", 'hello', 1, 2)"), "integer:1");
}

TEST(GetVar, ReadsStrictlyAndGivesNilForWhatItCannotRead) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("N := 5; A := GetVar('n'); B := GetVar('missing'); C := UNKNOWN")) << h.Error();
  EXPECT_EQ(h.Value("A"), "integer:5");
  EXPECT_EQ(h.Value("B"), "element:0");
  EXPECT_EQ(h.Value("C"), "byte:0");  // strict reading ended with GetVar
  EXPECT_FALSE(ScriptContext().StrictPaths);
  // Names are upper-cased by the code page's rules, Cyrillic letters too.
  ASSERT_TRUE(h.Run("\xC0\xC1 := 7; A := GetVar('\xE0\xE1')")) << h.Error();
  EXPECT_EQ(h.Value("A"), "integer:7");
  ASSERT_TRUE(h.Run("M[2] := 'x'; A := GetVar(' m[2] ')")) << h.Error();
  EXPECT_EQ(h.Value("A"), "string:x");
  EXPECT_FALSE(h.Run("A := GetVar()"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function GETVAR");
}

TEST(SetVar, ChangesOnlyAnExistingVariable) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("N := 5; SetVar('n', 'seven')")) << h.Error();
  EXPECT_EQ(h.Value("N"), "string:seven");
  EXPECT_FALSE(h.Run("SetVar('Q', 1)"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function SETVAR");
  EXPECT_EQ(h.Value("Q"), "<missing>");
  EXPECT_FALSE(h.Run("N := 1; SetVar('N')"));
  EXPECT_EQ(h.Error(), "Invalid parameters, function SETVAR");
}

TEST(Exec, RunsTextWithTheCallersVariables) {
  TScriptHarness h;
  ASSERT_TRUE(h.Run("X := 1; R := Exec('Y := X + 1'); Z := Y * 10")) << h.Error();
  EXPECT_EQ(h.Value("Y"), "integer:2");
  EXPECT_EQ(h.Value("Z"), "integer:20");
  EXPECT_EQ(h.Value("R"), "byte:0");
  ASSERT_TRUE(h.Run("Exec('FUNCTION DOUBLE(V); BEGIN RESULT := V * 2 END; Z := DOUBLE(4)')")) << h.Error();
  EXPECT_EQ(h.Value("Z"), "integer:8");
  ASSERT_TRUE(h.Run("Exec('PROCEDURE P(A); BEGIN A := 5 END; Q := 0; P(Q); W := 0; P(W + 0)')")) << h.Error();
  EXPECT_EQ(h.Value("Q"), "integer:5");
  EXPECT_EQ(h.Value("W"), "integer:0");
}

TEST(Exec, AnErrorInTheTextStopsTheCallerAndReadsAreStrict) {
  TScriptHarness h;
  EXPECT_FALSE(h.Run("Exec('W := UNKNOWNNAME'); AFTER := 1"));
  EXPECT_EQ(h.Error(), "Variable not found: UNKNOWNNAME");
  EXPECT_EQ(h.Value("AFTER"), "<missing>");
  EXPECT_FALSE(ScriptContext().StrictPaths);
  ASSERT_TRUE(h.Run("A := UNKNOWN")) << h.Error();
  EXPECT_EQ(h.Value("A"), "byte:0");

  EXPECT_FALSE(h.Run("Exec('X := (1'); AFTER := 1"));
  EXPECT_NE(h.Error(), "");
  EXPECT_EQ(h.Value("AFTER"), "<missing>");
}

TEST(Exec, TextThatRunsItselfStopsWithAnError) {
  TScriptHarness h;
  EXPECT_FALSE(h.Run("S := 'Exec(S)'; Exec(S); AFTER := 1"));
  EXPECT_EQ(h.Value("AFTER"), "<missing>");
  EXPECT_FALSE(ScriptContext().StrictPaths);
  EXPECT_EQ(h.Error(), "Invalid parameters, function EXEC : Exec nested too deeply");
}

class DecodeCases : public ::testing::TestWithParam<TEvalCase> {};

TEST_P(DecodeCases, ChooseTheValue) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval(GetParam().expression), GetParam().expected);
}

const TEvalCase kDecodeCases[] = {
    {"Decode(2, 1, 'one', 2, 'two', 'many')", "string:two"},
    {"Decode(9, 1, 'one', 2, 'two', 'many')", "string:many"},
    {"Decode(9, 1, 'one', 2, 'two')", "error:Invalid parameters, function DECODE"},
    {"Decode(1, 1, 'one', 1, 'uno')", "string:one"},
    {"Decode(2.0, 2, 'two')", "string:two"},
    {"Decode('2', 2, 'two')", "string:two"},
    {"Decode('b', 'a', 1, 'b', 2)", "integer:2"},
    {"Decode('x', 1, 'one', 'x', 'ex')", "string:ex"},  // 'x' against 1 just does not match
    {"Decode(TRUE, 1 = 1, 'yes', 'no')", "string:yes"},
    {"Decode(1, 2, 3)", "error:Invalid parameters, function DECODE"},
    {"Decode(1, 1)", "error:Invalid parameters, function DECODE"},
    {"Decode(1, 2, 3, 4)", "integer:4"},
};
INSTANTIATE_TEST_SUITE_P(Cases, DecodeCases, ::testing::ValuesIn(kDecodeCases));

}  // namespace
}  // namespace kw
