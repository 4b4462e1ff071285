// Text and conversion built-ins: Val, Char, IntToStr, StrToInt, FloatToStr,
// StrToFloat, Copy, Poss, Length, DelLastChar, Insert, Delete, the Trims,
// UpperCase, LowerCase and Format.
#include <climits>
#include <vector>

#include "platform/codepage.h"
#include "scriptlib/format_text.h"
#include "scriptlib/general_library.h"
#include "scriptlib/text_rules.h"
#include "scriptlib/unicode_mode.h"

namespace kw {

namespace {

bool Val(TBuiltinCall& c) {
  double v;
  int32_t code = ScanNumber(c.String(0), v);
  c.ArgRef(1) = TValue::Float(v);
  c.ArgRef(2) = TValue::Integer(code);
  return true;
}

bool Char(TBuiltinCall& c) {
  c.Return(TValue::String(std::string(1, char(uint8_t(c.Integer(0) & 0xFF)))));
  return true;
}

bool IntToStr(TBuiltinCall& c) {
  c.Return(TValue::String(std::to_string(c.Integer64(0))));
  return true;
}

bool StrToInt(TBuiltinCall& c) {
  int32_t v;
  if (!ParseInteger(c.String(0), v)) v = 0;
  c.Return(TValue::Integer(v));
  return true;
}

bool FloatToStr(TBuiltinCall& c) {
  c.Return(TValue::String(FloatToText(c.Float(0))));
  return true;
}

bool StrToFloat(TBuiltinCall& c) {
  std::string s = c.String(0);
  double v;
  if (!ParseDecimal(TrimBytes(s, true, true, false), v)) FailCall("'" + s + "' is not a valid floating point value");
  c.Return(TValue::Float(v));
  return true;
}

bool Copy(TBuiltinCall& c) {
  c.Return(TValue::String(CopyBytes(c.String(0), c.Truncated(1), c.Truncated(2))));
  return true;
}

bool Poss(TBuiltinCall& c) {
  std::string sub = c.String(0), s = c.String(1);
  size_t p = sub.empty() ? std::string::npos : s.find(sub);
  c.Return(TValue::Integer(p == std::string::npos ? 0 : int32_t(p + 1)));
  return true;
}

bool Length(TBuiltinCall& c) {
  size_t n = CharCount(c.String(0), UnicodeMode());
  c.Return(TValue::Integer(n > size_t(INT32_MAX) ? INT32_MAX : int32_t(n)));
  return true;
}

bool DelLastChar(TBuiltinCall& c) {
  std::string s = c.String(0);
  s.resize(LastCharStart(s, UnicodeMode()));
  c.Return(TValue::String(std::move(s)));
  return true;
}

bool Insert(TBuiltinCall& c) {
  std::string s = InsertBytes(c.String(0), c.String(1), c.Truncated(2));
  c.ArgRef(1) = TValue::String(s);
  c.Return(TValue::String(std::move(s)));
  return true;
}

bool Delete(TBuiltinCall& c) {
  std::string s = DeleteBytes(c.String(0), c.Truncated(1), c.Truncated(2));
  c.ArgRef(0) = TValue::String(s);
  c.Return(TValue::String(std::move(s)));
  return true;
}

bool Trim(TBuiltinCall& c) {
  c.Return(TValue::String(TrimBytes(c.String(0), true, true, UnicodeMode())));
  return true;
}

bool TrimLeft(TBuiltinCall& c) {
  c.Return(TValue::String(TrimBytes(c.String(0), true, false, UnicodeMode())));
  return true;
}

bool TrimRight(TBuiltinCall& c) {
  c.Return(TValue::String(TrimBytes(c.String(0), false, true, UnicodeMode())));
  return true;
}

bool UpperCase(TBuiltinCall& c) {
  c.Return(TValue::String(ChangeCase(c.String(0), true, UnicodeMode())));
  return true;
}

bool LowerCase(TBuiltinCall& c) {
  c.Return(TValue::String(ChangeCase(c.String(0), false, UnicodeMode())));
  return true;
}

bool Format(TBuiltinCall& c) {
  std::vector<TValue> args;
  args.reserve(size_t(c.Count() - 1));
  for (int i = 1; i < c.Count(); ++i) args.push_back(c.Arg(i));
  std::string out, error;
  if (!FormatText(c.String(0), args, out, error)) FailCall(error);
  c.Return(TValue::String(std::move(out)));
  return true;
}

const TBuiltin kRows[] = {
    {"Val", Args(3, VarArg(1) | VarArg(2)), Val},
    {"Char", Args(1), Char},
    {"IntToStr", Args(1), IntToStr},
    {"StrToInt", Args(1), StrToInt},
    {"FloatToStr", Args(1), FloatToStr},
    {"StrToFloat", Args(1), StrToFloat},
    {"Copy", Args(3), Copy},
    {"Poss", Args(2), Poss},
    {"Length", Args(1), Length},
    {"DelLastChar", Args(1), DelLastChar},
    {"Insert", Args(3, VarArg(1)), Insert},
    {"Delete", Args(3, VarArg(0)), Delete},
    {"Trim", Args(1), Trim},
    {"TrimLeft", Args(1), TrimLeft},
    {"TrimRight", Args(1), TrimRight},
    {"UpperCase", Args(1), UpperCase},
    {"LowerCase", Args(1), LowerCase},
    {"Format", ArgsAtLeast(2), Format},
};

}  // namespace

std::span<const TBuiltin> TextBuiltins() { return kRows; }

}  // namespace kw
