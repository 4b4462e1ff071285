// Nesting limits and the interpreter pool: hostile scripts stop with an
// error instead of exhausting the stack; nested event runs past the pool
// are refused.
#include <gtest/gtest.h>

#include "script/interpreter_pool.h"
#include "script/pascalc.h"
#include "script/script_context.h"

namespace kw {
namespace {

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

TEST(ScriptLimits, DeepNestingStopsWithAnError) {
  const int n = 100000;
  struct Case { std::string script; bool exec; };
  const Case cases[] = {
      {Repeat("BEGIN ", n) + "X := 1" + Repeat(" END", n), false},
      {"X := " + Repeat("(", n) + "1" + Repeat(")", n), false},
      {"X := " + Repeat("-(", n) + "1" + Repeat(")", n), false},
      {"X := " + Repeat("A[", 2000) + "1" + Repeat("]", 2000), false},
      {"X := " + Repeat("F(", 2000) + "1" + Repeat(")", 2000), true},
      {Repeat("IF TRUE THEN ", 5000) + "X := 1", false},
      {"X := 0; " + Repeat("WHILE X < 1 DO ", 5000) + "X := 1", false},
      {"PROCEDURE P(); BEGIN P() END; P()", true},
      {"FUNCTION F(A); BEGIN RESULT := F(A) + F(A) END; X := F(1)", true},
  };
  for (const Case& c : cases) {
    TPasCalc calc;
    calc.RegisterFunction("F", [](TPasCalc&, TVarList& a, TVar& r) { r.Value = a[0].Value; return true; });
    if (c.exec) {
      calc.PrepareAndRun(c.script);
    } else {
      std::string tokens;
      calc.Prepare(c.script, tokens);
      calc.Run(tokens);
    }
    EXPECT_EQ(calc.ErrorCode(), kErrNesting) << c.script.substr(0, 60) << " " << calc.ErrorMessage();
  }
}

TEST(ScriptLimits, LongFlatExpressionsDoNotRecurse) {
  TPasCalc calc;
  std::string tokens;
  calc.Prepare("X := 0" + Repeat(" + 1", 200000), tokens);
  EXPECT_TRUE(calc.Run(tokens));
  EXPECT_EQ(calc.Vars[0].Value.i, 200000);
}

TEST(InterpreterPool, NestedEventsUseTheNextEntryAndStopAtTheEnd) {
  TInterpreterPool pool;
  std::vector<std::string> log;
  ScriptContext().OnLogLine = [&](const std::string& l) { log.push_back(l); };
  EXPECT_EQ(pool.ScriptDepth(), 1);
  EXPECT_EQ(&pool.CurrentInterpreter(), &pool.Entry(0));
  std::vector<std::unique_ptr<TEventLevel>> levels;
  for (int i = 0; i < 9; ++i) {
    levels.push_back(std::make_unique<TEventLevel>(pool));
    EXPECT_TRUE(levels.back()->Entered());
    EXPECT_EQ(&pool.CurrentInterpreter(), &pool.Entry(i + 1));
  }
  TEventLevel refused(pool);
  EXPECT_FALSE(refused.Entered());
  EXPECT_EQ(pool.ScriptDepth(), 10);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("nested deeper than 9 levels"), std::string::npos);
  levels.clear();
  EXPECT_EQ(pool.ScriptDepth(), 1);
  ScriptContext().OnLogLine = nullptr;
}

TEST(ScriptCache, PreparingTheSameTextReusesItsTokens) {
  TPasCalc calc;
  std::string a, b;
  calc.Prepare("X := 1; PROCEDURE P(); BEGIN END; Y := 2", a);
  calc.Prepare("X := 1; PROCEDURE P(); BEGIN END; Y := 2", b);
  EXPECT_EQ(a, b);
  EXPECT_EQ(calc.Procs.Count(), 1);
  // A text holding byte 127 is a token string already.
  std::string again;
  calc.Prepare(a, again);
  EXPECT_EQ(again, a);
}

}  // namespace
}  // namespace kw
