#include "script/script_value.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kw {

const char* ValueKindName(TValueKind kind) {
  switch (kind) {
    case TValueKind::Empty: return "empty";
    case TValueKind::Integer: return "integer";
    case TValueKind::BigInt: return "bigint";
    case TValueKind::Byte: return "byte";
    case TValueKind::Element: return "element";
    case TValueKind::Float: return "float";
    case TValueKind::Boolean: return "boolean";
    case TValueKind::String: return "string";
    case TValueKind::DateTime: return "datetime";
  }
  return "empty";
}

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool ParseDecimal(std::string_view text, double& out) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  size_t p = b;
  if (p < e && (text[p] == '+' || text[p] == '-')) ++p;
  size_t digits = 0;
  while (p < e && text[p] >= '0' && text[p] <= '9') { ++p; ++digits; }
  if (p < e && text[p] == '.') {
    ++p;
    while (p < e && text[p] >= '0' && text[p] <= '9') { ++p; ++digits; }
  }
  if (digits == 0) return false;
  if (p < e && (text[p] == 'e' || text[p] == 'E')) {
    ++p;
    if (p < e && (text[p] == '+' || text[p] == '-')) ++p;
    size_t expDigits = 0;
    while (p < e && text[p] >= '0' && text[p] <= '9') { ++p; ++expDigits; }
    if (expDigits == 0) return false;
  }
  if (p != e) return false;
  std::string copy(text.substr(b, e - b));
  out = std::strtod(copy.c_str(), nullptr);
  return true;
}

bool RoundToInt32(double v, int32_t& out) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
  double r = std::nearbyint(v);  // default rounding mode: half to even
  if (r < -2147483648.0 || r > 2147483647.0) return false;
  out = int32_t(r);
  return true;
}

static bool RoundToInt64(double v, int64_t& out) {
  if (!(v > -9.2233720368547758e18 && v < 9.2233720368547758e18)) return false;
  out = int64_t(std::nearbyint(v));
  return true;
}

std::string FormatFloat(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  // 15 significant digits: d.dddddddddddddde±x
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", v);
  std::string mant;
  bool neg = buf[0] == '-';
  const char* p = buf + (neg ? 1 : 0);
  const char* ePos = std::strchr(p, 'e');
  for (const char* q = p; q < ePos; ++q)
    if (*q != '.') mant += *q;
  int exp = std::atoi(ePos + 1);
  while (mant.size() > 1 && mant.back() == '0') mant.pop_back();
  std::string r = neg ? "-" : "";
  if (exp >= 15 || v == 0 || std::fabs(v) < 0.00001) {
    r += mant[0];
    if (mant.size() > 1) { r += '.'; r.append(mant, 1, std::string::npos); }
    r += 'E';
    r += std::to_string(exp);
    return r;
  }
  if (exp < 0) {
    r += "0.";
    r.append(size_t(-exp - 1), '0');
    r += mant;
    return r;
  }
  if (int(mant.size()) <= exp + 1) {
    r += mant;
    r.append(size_t(exp + 1 - int(mant.size())), '0');
    return r;
  }
  r.append(mant, 0, size_t(exp + 1));
  r += '.';
  r.append(mant, size_t(exp + 1), std::string::npos);
  return r;
}

bool TValue::ToBoolean(bool& out) const {
  switch (kind) {
    case TValueKind::Empty: out = false; return true;
    case TValueKind::Integer: case TValueKind::BigInt: case TValueKind::Byte:
    case TValueKind::Element: case TValueKind::Boolean:
      out = i != 0; return true;
    case TValueKind::Float: case TValueKind::DateTime: out = f != 0; return true;
    case TValueKind::String: {
      std::string_view t = s;
      if (t.size() == 4 && (t[0] | 32) == 't' && (t[1] | 32) == 'r' && (t[2] | 32) == 'u' && (t[3] | 32) == 'e') {
        out = true; return true;
      }
      if (t.size() == 5 && (t[0] | 32) == 'f' && (t[1] | 32) == 'a' && (t[2] | 32) == 'l' &&
          (t[3] | 32) == 's' && (t[4] | 32) == 'e') {
        out = false; return true;
      }
      double d;
      if (!ParseDecimal(t, d)) return false;
      out = d != 0;
      return true;
    }
  }
  return false;
}

bool TValue::ToInt64(int64_t& out) const {
  switch (kind) {
    case TValueKind::Empty: out = 0; return true;
    case TValueKind::Integer: case TValueKind::BigInt: case TValueKind::Byte: case TValueKind::Element:
      out = i; return true;
    case TValueKind::Boolean: out = i ? -1 : 0; return true;
    case TValueKind::Float: case TValueKind::DateTime: return RoundToInt64(f, out);
    case TValueKind::String: {
      double d;
      return ParseDecimal(s, d) && RoundToInt64(d, out);
    }
  }
  return false;
}

bool TValue::ToInteger(int32_t& out) const {
  switch (kind) {
    case TValueKind::Integer: case TValueKind::Byte: out = int32_t(i); return true;
    case TValueKind::Float: case TValueKind::DateTime: return RoundToInt32(f, out);
    case TValueKind::String: {
      double d;
      return ParseDecimal(s, d) && RoundToInt32(d, out);
    }
    default: {
      int64_t v;
      if (!ToInt64(v) || v < INT32_MIN || v > INT32_MAX) return false;
      out = int32_t(v);
      return true;
    }
  }
}

bool TValue::ToFloat(double& out) const {
  switch (kind) {
    case TValueKind::Empty: out = 0; return true;
    case TValueKind::Integer: case TValueKind::BigInt: case TValueKind::Byte: case TValueKind::Element:
      out = double(i); return true;
    case TValueKind::Boolean: out = i ? -1.0 : 0.0; return true;
    case TValueKind::Float: case TValueKind::DateTime: out = f; return true;
    case TValueKind::String: return ParseDecimal(s, out);
  }
  return false;
}

std::string TValue::ToString() const {
  switch (kind) {
    case TValueKind::Empty: return {};
    case TValueKind::Integer: case TValueKind::BigInt: case TValueKind::Byte: case TValueKind::Element:
      return std::to_string(i);
    case TValueKind::Boolean: return i ? "True" : "False";
    case TValueKind::Float: case TValueKind::DateTime: return FormatFloat(f);
    case TValueKind::String: return s;
  }
  return {};
}

}  // namespace kw
