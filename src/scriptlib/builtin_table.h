// The built-in function library as data: every function is one row of
// {name, argument rule, handler}. One validator checks the number of
// arguments and which must be variables before any handler runs, so the
// handlers only do their own work. The rows are registered into an
// interpreter in the game's fixed registration order (RegistrationOrder),
// which also names the engine functions that other files add as rows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/func_list.h"
#include "script/var_list.h"

namespace kw {

class TPasCalc;

constexpr int kAnyCount = -1;

// How many arguments a function takes, and which must be variables.
// Eight bytes, so that an entry (rule and handler) fits inside the
// interpreter's function object without a heap block per call.
struct TArgRule {
  int16_t MinArgs = 0;
  int16_t MaxArgs = 0;   // kAnyCount: no upper bound
  uint32_t VarMask = 0;  // bit i: argument i must be an existing variable ("VAR")
};

constexpr TArgRule Args(int count, uint32_t varMask = 0) { return {int16_t(count), int16_t(count), varMask}; }
constexpr TArgRule ArgsBetween(int least, int most, uint32_t varMask = 0) {
  return {int16_t(least), int16_t(most), varMask};
}
constexpr TArgRule ArgsAtLeast(int least) { return {int16_t(least), int16_t(kAnyCount), 0}; }
constexpr uint32_t VarArg(int index) { return uint32_t(1) << index; }

// The one check of argument counts and "VAR" arguments.
bool CheckArguments(const TArgRule& rule, const TVarList& args);

// One call of a built-in, with the argument conversions every handler uses.
// The converting readers throw TScriptError (which fails the call and adds
// its text to the error message) when an argument has no such reading.
class TBuiltinCall {
 public:
  TBuiltinCall(TPasCalc& calc, TVarList& args, TVar& result) : calc_(calc), args_(args), result_(result) {}

  TPasCalc& Calc() { return calc_; }
  int Count() const { return args_.Count(); }
  const TValue& Arg(int i) const { return args_[i].Value; }
  // An argument's value, to be copied back when the argument is a variable.
  TValue& ArgRef(int i) { return args_[i].Value; }
  bool IsVar(int i) const { return args_[i].Name == "VAR"; }

  // Nearest integer, ties to even (the value conversion).
  int32_t Integer(int i) const;
  int64_t Integer64(int i) const;
  double Float(int i) const;
  // Converted to a float and cut toward zero to a 32-bit integer.
  int32_t Truncated(int i) const;
  std::string String(int i) const;

  TValue& Result() { return result_.Value; }
  void Return(TValue v) { result_.Value = std::move(v); }

 private:
  TPasCalc& calc_;
  TVarList& args_;
  TVar& result_;
};

// Fails the running call with a message of its own.
[[noreturn]] void FailCall(const std::string& message);
// "'abc'" for a string, "empty", else the value's text: how messages show
// a value.
std::string DescribeValue(const TValue& v);

// A handler answers false for a call that does not suit it, or throws.
using TBuiltinHandler = bool (*)(TBuiltinCall& call);

struct TBuiltin {
  const char* Name;
  TArgRule Rule;
  TBuiltinHandler Handler;
};

// The interpreter entry of a row: the validator, then the handler.
TScriptFunction MakeEntry(const TBuiltin& row);

// Every name of the game's registration list, in its order: the general
// functions and, in their places, the engine functions of elements,
// animations, image lists, effects, screens, sound and saved state.
std::span<const std::string_view> RegistrationOrder();

// A set of rows to register. Rows are found by name without regard to
// ASCII case; adding a row of a name already present replaces it.
class TBuiltinLibrary {
 public:
  void Add(const TBuiltin& row);
  void Add(std::span<const TBuiltin> rows);
  const TBuiltin* Find(std::string_view name) const;
  int Count() const { return int(rows_.size()); }
  // The rows in registration order: first those named by
  // RegistrationOrder, in its order (names without a row are skipped, so
  // a library without the engine rows still keeps the others' order), then
  // the other rows in the order they were added.
  std::vector<const TBuiltin*> Ordered() const;
  // Registers every row into the interpreter, in that order.
  void RegisterInto(TPasCalc& calc) const;

 private:
  std::vector<TBuiltin> rows_;
};

}  // namespace kw
