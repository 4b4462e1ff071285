#include "scriptlib/value_operators.h"

#include <cmath>
#include <cstdint>

#include "script/script_context.h"

namespace kw {

namespace {

// A string in double quotes is a language key: its text when the language
// has one.
void LanguageKey(TValue& v) {
  if (!v.IsString() || v.s.empty() || v.s[0] != '"') return;
  TScriptContext& ctx = ScriptContext();
  if (!ctx.LookupText) return;
  std::string key = v.s.size() >= 2 ? v.s.substr(1, v.s.size() - 2) : std::string();
  std::string text = ctx.LookupText(key);
  if (!text.empty()) v.s = std::move(text);
}

void SetIntegral(TValue& out, __int128 v, bool big) {
  out = TValue();
  if (!big && v >= INT32_MIN && v <= INT32_MAX) out = TValue::Integer(int32_t(v));
  else if (v >= INT64_MIN && v <= INT64_MAX) out = TValue::BigInt(int64_t(v));
  else out = TValue::Float(double(v));
}

bool AddOrSubtract(TValue& l, TValue& r, bool add, TValue& out) {
  LanguageKey(l);
  LanguageKey(r);
  bool ls = l.IsString() || (l.IsEmpty() && r.IsString());
  bool rs = r.IsString() || (r.IsEmpty() && l.IsString());
  if (add && ls && rs) {
    out = TValue::String(l.s + r.s);
    return true;
  }
  if (l.IsIntegerLike() && r.IsIntegerLike()) {
    int64_t a, b;
    l.ToInt64(a);
    r.ToInt64(b);
    __int128 v = add ? __int128(a) + b : __int128(a) - b;
    SetIntegral(out, v, l.kind == TValueKind::BigInt || r.kind == TValueKind::BigInt);
    return true;
  }
  double a, b;
  if (!l.ToFloat(a) || !r.ToFloat(b)) return false;
  bool ld = l.kind == TValueKind::DateTime, rd = r.kind == TValueKind::DateTime;
  double v = add ? a + b : a - b;
  bool date = add ? (ld != rd) : (ld && !rd);
  out = date ? TValue::DateTime(v) : TValue::Float(v);
  return true;
}

}  // namespace

bool AddValues(TValue l, TValue r, TValue& out) { return AddOrSubtract(l, r, true, out); }

bool SubtractValues(TValue l, TValue r, TValue& out) { return AddOrSubtract(l, r, false, out); }

bool EqualValues(TValue l, TValue r, bool& equal) {
  LanguageKey(l);
  LanguageKey(r);
  bool ls = l.IsString() || (l.IsEmpty() && r.IsString());
  bool rs = r.IsString() || (r.IsEmpty() && l.IsString());
  if (ls && rs) {
    equal = l.s == r.s;
    return true;
  }
  if (l.IsIntegerLike() && r.IsIntegerLike()) {
    int64_t a, b;
    l.ToInt64(a);
    r.ToInt64(b);
    equal = a == b;
    return true;
  }
  double a, b;
  if (!l.ToFloat(a) || !r.ToFloat(b)) return false;
  equal = a == b;
  return true;
}

}  // namespace kw
