// The script value: a small dynamically typed value with the fixed
// conversions every operator, statement and built-in relies on. All
// conversions and comparisons of values live in script_value.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kw {

enum class TValueKind : uint8_t {
  Empty,     // no value
  Integer,   // signed 32-bit
  BigInt,    // signed 64-bit (only the built-in Int makes it); behaves as an integer
  Byte,      // unsigned 8-bit (NOT, the 0 of an unresolved name)
  Element,   // unsigned 32-bit element handle, 0 for none
  Float,     // IEEE double
  Boolean,
  String,    // Windows-1251 bytes
  DateTime,  // float count of days since 30 December 1899
};

// The kind's name as kwscript prints it.
const char* ValueKindName(TValueKind kind);

struct TValue {
  TValueKind kind = TValueKind::Empty;
  union {
    int64_t i = 0;  // Integer, BigInt, Byte, Element, Boolean (0/1)
    double f;       // Float, DateTime
  };
  std::string s;  // String

  TValue() = default;
  // Copies only the string of string values: numbers copied over numbers
  // never touch the string member (the hot path of every assignment).
  TValue(const TValue& o) : kind(o.kind), i(o.i) {
    if (o.kind == TValueKind::String) s = o.s;
  }
  TValue(TValue&& o) noexcept : kind(o.kind), i(o.i), s(std::move(o.s)) {}
  TValue& operator=(const TValue& o) {
    kind = o.kind;
    i = o.i;  // the union's bits (i and f share them)
    if (o.kind == TValueKind::String) s = o.s;
    else if (!s.empty()) s.clear();
    return *this;
  }
  TValue& operator=(TValue&& o) noexcept {
    kind = o.kind;
    i = o.i;
    if (o.kind == TValueKind::String) s = std::move(o.s);
    else if (!s.empty()) s.clear();
    return *this;
  }
  static TValue Integer(int32_t v) { TValue r; r.kind = TValueKind::Integer; r.i = v; return r; }
  static TValue BigInt(int64_t v) { TValue r; r.kind = TValueKind::BigInt; r.i = v; return r; }
  static TValue Byte(uint8_t v) { TValue r; r.kind = TValueKind::Byte; r.i = v; return r; }
  static TValue Element(uint32_t h) { TValue r; r.kind = TValueKind::Element; r.i = h; return r; }
  static TValue Float(double v) { TValue r; r.kind = TValueKind::Float; r.f = v; return r; }
  static TValue DateTime(double v) { TValue r; r.kind = TValueKind::DateTime; r.f = v; return r; }
  static TValue Boolean(bool v) { TValue r; r.kind = TValueKind::Boolean; r.i = v ? 1 : 0; return r; }
  static TValue String(std::string v) { TValue r; r.kind = TValueKind::String; r.s = std::move(v); return r; }

  bool IsString() const { return kind == TValueKind::String; }
  bool IsEmpty() const { return kind == TValueKind::Empty; }
  // Integer-like kinds: arithmetic on two of them stays integral.
  bool IsIntegerLike() const {
    return kind == TValueKind::Integer || kind == TValueKind::BigInt || kind == TValueKind::Byte ||
           kind == TValueKind::Boolean || kind == TValueKind::Element || kind == TValueKind::Empty;
  }
  uint32_t Handle() const { return kind == TValueKind::Element ? uint32_t(i) : 0; }

  void SetInteger(int32_t v) { kind = TValueKind::Integer; i = v; s.clear(); }
  void SetString(std::string_view v) { kind = TValueKind::String; s.assign(v); }

  // Conversions; false when the value has no such reading (never a silent
  // default, except empty, which reads as false, 0 and "").
  bool ToBoolean(bool& out) const;
  bool ToInteger(int32_t& out) const;  // floats round half to even
  bool ToInt64(int64_t& out) const;    // as ToInteger, 64-bit range
  bool ToFloat(double& out) const;
  std::string ToString() const;  // always succeeds
};

// A decimal number as strings convert to numbers: blanks around, an
// optional sign, digits with an optional "." fraction and an optional
// exponent. False when the text is anything else.
bool ParseDecimal(std::string_view text, double& out);

// General decimal form with up to 15 significant digits ("0.1", "1E20",
// "1.5E-7", "INF", "NAN").
std::string FormatFloat(double v);

// Rounds half to even into a signed 32-bit integer; false outside the range.
bool RoundToInt32(double v, int32_t& out);

}  // namespace kw
