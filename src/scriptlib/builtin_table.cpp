#include "scriptlib/builtin_table.h"

#include <cmath>

#include "platform/codepage.h"
#include "script/pascalc.h"

namespace kw {

bool CheckArguments(const TArgRule& rule, const TVarList& args) {
  int n = args.Count();
  if (n < rule.MinArgs) return false;
  if (rule.MaxArgs != kAnyCount && n > rule.MaxArgs) return false;
  for (int i = 0; i < n && i < 32; ++i)
    if ((rule.VarMask >> i & 1) && args[i].Name != "VAR") return false;
  return true;
}

void FailCall(const std::string& message) { throw TScriptError(message); }

std::string DescribeValue(const TValue& v) {
  if (v.IsString()) return "'" + v.s + "'";
  if (v.IsEmpty()) return "empty";
  return v.ToString();
}

int32_t TBuiltinCall::Integer(int i) const {
  int32_t out;
  if (!Arg(i).ToInteger(out)) FailCall("Cannot convert " + DescribeValue(Arg(i)) + " to an integer");
  return out;
}

int64_t TBuiltinCall::Integer64(int i) const {
  int64_t out;
  if (!Arg(i).ToInt64(out)) FailCall("Cannot convert " + DescribeValue(Arg(i)) + " to an integer");
  return out;
}

double TBuiltinCall::Float(int i) const {
  double out;
  if (!Arg(i).ToFloat(out)) FailCall("Cannot convert " + DescribeValue(Arg(i)) + " to a float");
  return out;
}

int32_t TBuiltinCall::Truncated(int i) const {
  double f = std::trunc(Float(i));
  if (!(f >= -2147483648.0 && f <= 2147483647.0))
    FailCall("Cannot convert " + Arg(i).ToString() + " to an integer");
  return int32_t(f);
}

std::string TBuiltinCall::String(int i) const { return Arg(i).ToString(); }

TScriptFunction MakeEntry(const TBuiltin& row) {
  TArgRule rule = row.Rule;
  TBuiltinHandler handler = row.Handler;
  return [rule, handler](TPasCalc& calc, TVarList& args, TVar& result) {
    if (!CheckArguments(rule, args)) return false;
    TBuiltinCall call(calc, args, result);
    return handler(call);
  };
}

namespace {

// The game's registration order. Order-dependent: games see the functions
// in this order, and rows added later take their places here.
constexpr std::string_view kRegistrationOrder[] = {
    // General functions
    "Val", "Char", "IntToStr", "StrToInt", "FloatToStr", "StrToFloat", "Copy", "Poss", "Length",
    "DelLastChar", "Insert", "Delete", "Trim", "TrimLeft", "TrimRight", "UpperCase", "LowerCase",
    "Format", "Now", "Date", "Time", "DateToStr", "StrToDate", "TimeToStr", "StrToTime",
    "FormatDateTime", "DayOfWeek", "IncMonth", "DecodeDate", "DecodeTime", "EncodeDate", "EncodeTime",
    "Abs", "Int", "Frac", "Round", "Ceil", "Floor", "Trunc", "Sin", "Sign", "Cos", "Tan", "ArcSin",
    "ArcCos", "ArcTan", "Exp", "Ln", "IntPower", "Sqr", "Sqrt", "Inc", "Dec", "Min", "Max", "Exec",
    "GetVar", "SetVar", "Decode", "YearDays", "YearFrac", "Mod", "Div",
    // Animations and image lists
    "ListAdd", "ListDel", "AnimStart", "AnimStop", "AnimBreak", "AnimPlay",
    // Elements and screens
    "Update", "Process", "MsDown", "MsMove", "Init", "Show", "SetFocus", "SetScreen", "FastSetScreen",
    "FastSetScreenNS",
    // General
    "Random",
    // Engine
    "GetAlpha", "GetPixel", "MoveTo", "ProcEf", "GetText", "GoToURL", "LoadIm", "EndLoadIm", "SaveState",
    "LoadState", "TimerReset", "GetIni", "SetIni", "DelFile", "ToFront", "PlaySnd", "PlayMuz", "StopMuz",
    "ExitGame", "AddStar", "ImStarsR",
};

}  // namespace

std::span<const std::string_view> RegistrationOrder() { return kRegistrationOrder; }

void TBuiltinLibrary::Add(const TBuiltin& row) {
  for (TBuiltin& r : rows_)
    if (AsciiEqualNoCase(r.Name, row.Name)) {
      r = row;
      return;
    }
  rows_.push_back(row);
}

void TBuiltinLibrary::Add(std::span<const TBuiltin> rows) {
  for (const TBuiltin& r : rows) Add(r);
}

const TBuiltin* TBuiltinLibrary::Find(std::string_view name) const {
  for (const TBuiltin& r : rows_)
    if (AsciiEqualNoCase(r.Name, name)) return &r;
  return nullptr;
}

std::vector<const TBuiltin*> TBuiltinLibrary::Ordered() const {
  std::vector<const TBuiltin*> out;
  out.reserve(rows_.size());
  for (std::string_view name : kRegistrationOrder)
    if (const TBuiltin* r = Find(name)) out.push_back(r);
  for (const TBuiltin& r : rows_) {
    bool listed = false;
    for (std::string_view name : kRegistrationOrder)
      if (AsciiEqualNoCase(name, r.Name)) {
        listed = true;
        break;
      }
    if (!listed) out.push_back(&r);
  }
  return out;
}

void TBuiltinLibrary::RegisterInto(TPasCalc& calc) const {
  for (const TBuiltin* r : Ordered()) calc.RegisterFunction(r->Name, MakeEntry(*r));
}

}  // namespace kw
