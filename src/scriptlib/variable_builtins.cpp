// Variables and execution: Inc, Dec, GetVar, SetVar, Exec and Decode.
#include "platform/codepage.h"
#include "script/pascalc.h"
#include "script/script_context.h"
#include "scriptlib/general_library.h"
#include "scriptlib/value_operators.h"

namespace kw {

namespace {

// StrictPaths on for a scope, restored afterwards (also when a nested
// GetVar inside an Exec ends, the Exec keeps its strict reads).
class TStrictPaths {
 public:
  TStrictPaths() : saved_(ScriptContext().StrictPaths) { ScriptContext().StrictPaths = true; }
  ~TStrictPaths() { ScriptContext().StrictPaths = saved_; }
  TStrictPaths(const TStrictPaths&) = delete;
  TStrictPaths& operator=(const TStrictPaths&) = delete;

 private:
  bool saved_;
};

// Exec inside Exec is allowed, but a text that runs itself (S := 'Exec(S)')
// must stop with an error, not exhaust the stack.
constexpr int kMaxExecNesting = 64;
int gExecNesting = 0;

bool Step(TBuiltinCall& c, bool up) {
  TValue by = c.Count() == 2 ? c.Arg(1) : TValue::Integer(1);
  TValue out;
  bool ok = up ? AddValues(c.Arg(0), by, out) : SubtractValues(c.Arg(0), by, out);
  if (!ok) FailCall(std::string("Invalid operand types for \"") + (up ? "+" : "-") + "\"");
  c.ArgRef(0) = std::move(out);
  return true;
}

bool Inc(TBuiltinCall& c) { return Step(c, true); }
bool Dec(TBuiltinCall& c) { return Step(c, false); }

bool GetVar(TBuiltinCall& c) {
  std::string name = UpperCase1251(c.String(0));
  TStrictPaths strict;
  TVar record;
  if (c.Calc().GetVariable(name, record)) c.Return(std::move(record.Value));
  else c.Return(TValue::Element(0));
  return true;
}

bool SetVar(TBuiltinCall& c) {
  return c.Calc().SetVariable(UpperCase1251(c.String(0)), c.Arg(1));
}

bool Exec(TBuiltinCall& c) {
  if (gExecNesting >= kMaxExecNesting) FailCall("Exec nested too deeply");
  std::string text = c.String(0);
  TStrictPaths strict;
  ++gExecNesting;
  struct TLeave {
    ~TLeave() { --gExecNesting; }
  } leave;
  // An error in the text stays recorded in the interpreter and stops the
  // calling script too; Exec itself has done its work.
  c.Calc().PrepareAndRun(text);
  c.Return(TValue::Byte(0));
  return true;
}

bool Decode(TBuiltinCall& c) {
  int n = c.Count();
  int i = 1;
  for (; i + 1 < n; i += 2) {
    bool equal = false;
    // A value that cannot be compared with X (a word against a number)
    // simply does not match.
    if (EqualValues(c.Arg(0), c.Arg(i), equal) && equal) {
      c.Return(c.Arg(i + 1));
      return true;
    }
  }
  if (n % 2 == 0) {
    c.Return(c.Arg(n - 1));
    return true;
  }
  return false;
}

const TBuiltin kRows[] = {
    {"Inc", ArgsBetween(1, 2), Inc},
    {"Dec", ArgsBetween(1, 2), Dec},
    {"Exec", Args(1), Exec},
    {"GetVar", Args(1), GetVar},
    {"SetVar", Args(2), SetVar},
    {"Decode", ArgsAtLeast(3), Decode},
};

}  // namespace

std::span<const TBuiltin> VariableBuiltins() { return kRows; }

}  // namespace kw
