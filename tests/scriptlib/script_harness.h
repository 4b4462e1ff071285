// Runs script text on an interpreter with the general library registered,
// as an event script runs (prepared, then run on an emptied variable
// table), and reads back what it left.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "script/pascalc.h"
#include "scriptlib/general_library.h"

namespace kw {

class TScriptHarness {
 public:
  TScriptHarness() { RegisterAllFunctions(calc_); }

  // True when the run recorded no error.
  bool Run(const std::string& source) {
    calc_.Vars.Clear();
    std::string tokens;
    calc_.Prepare(source, tokens);
    return calc_.Run(tokens);
  }

  // "kind:text" of a variable, "<missing>" when there is none.
  std::string Value(const std::string& name) {
    int i = calc_.Vars.IndexOf(name);
    if (i < 0) return "<missing>";
    const TValue& v = calc_.Vars[i].Value;
    return std::string(ValueKindName(v.kind)) + ":" + v.ToString();
  }

  const TValue* Raw(const std::string& name) {
    int i = calc_.Vars.IndexOf(name);
    return i < 0 ? nullptr : &calc_.Vars[i].Value;
  }

  // "kind:text" of the expression's value, or "error:MESSAGE".
  std::string Eval(const std::string& expression) {
    if (!Run("R := " + expression)) return "error:" + calc_.ErrorMessage();
    return Value("R");
  }

  // The first error of the last run, empty for none.
  std::string Error() const { return calc_.ErrorCode() ? calc_.ErrorMessage() : std::string(); }

  TPasCalc& Calc() { return calc_; }

 private:
  TPasCalc calc_;
};

// One expression and what it must give.
struct TEvalCase {
  const char* expression;
  const char* expected;  // "kind:text" or "error:MESSAGE"
};

inline void PrintTo(const TEvalCase& c, std::ostream* os) { *os << c.expression; }

}  // namespace kw
