#include "scriptlib/format_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kw {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* NonFinite(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  return nullptr;
}

// "-0.00" and its kin lose their sign: a value that writes as zero is zero.
void DropNegativeZero(std::string& s) {
  if (s.empty() || s[0] != '-') return;
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == 'E') break;
    if (IsDigit(s[i]) && s[i] != '0') return;
  }
  s.erase(0, 1);
}

// Mantissa digits (without the point) and decimal exponent of v rounded to
// `digits` significant digits.
void Decompose(double v, int digits, std::string& mantissa, int& exponent, bool& negative) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
  negative = buf[0] == '-';
  const char* p = buf + (negative ? 1 : 0);
  const char* e = std::strchr(p, 'e');
  mantissa.clear();
  for (const char* q = p; q < e; ++q)
    if (*q != '.') mantissa += *q;
  exponent = std::atoi(e + 1);
}

struct TDirective {
  bool left = false;
  int width = 0;
  int precision = -1;
  char letter = 0;  // lower case
};

// Reads the body of a directive (between "%" and its letter).
bool ParseDirective(std::string_view body, char letter, TDirective& directive) {
  size_t i = 0;
  if (i < body.size() && body[i] == '-') {
    directive.left = true;
    ++i;
  }
  auto number = [&](int& out) {
    size_t start = i;
    long v = 0;
    while (i < body.size() && IsDigit(body[i])) {
      v = v * 10 + (body[i] - '0');
      if (v > kMaxFormatWidth) return false;
      ++i;
    }
    out = int(v);
    return i > start;
  };
  if (i < body.size() && IsDigit(body[i]) && !number(directive.width)) return false;
  if (i < body.size() && body[i] == '.') {
    ++i;
    directive.precision = 0;
    if (i < body.size() && IsDigit(body[i]) && !number(directive.precision)) return false;
  }
  if (i != body.size()) return false;
  char l = char(letter | 0x20);
  if (!std::strchr("duxefgnms", l)) return false;
  directive.letter = l;
  return true;
}

// The integer a d, u or x directive writes.
bool IntegerArgument(const TValue& v, int64_t& out, bool& wide) {
  wide = v.kind == TValueKind::BigInt;
  double f;
  switch (v.kind) {
    case TValueKind::Float:
    case TValueKind::DateTime:
      f = v.f;
      break;
    case TValueKind::String:
      if (!ParseDecimal(v.s, f)) return false;
      break;
    default:
      return v.ToInt64(out);
  }
  f = std::trunc(f);
  if (!(f >= -9223372036854775808.0 && f < 9223372036854775808.0)) return false;
  out = int64_t(f);
  wide = wide || out < INT32_MIN || out > INT32_MAX;
  return true;
}

std::string WriteInteger(const TDirective& directive, int64_t value, bool wide) {
  std::string digits;
  bool negative = false;
  if (directive.letter == 'd') {
    negative = value < 0;
    uint64_t magnitude = negative ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    digits = std::to_string(magnitude);
  } else {
    // Negative numbers as their two's complement, 32 bits unless the value
    // needs 64.
    uint64_t u = wide ? uint64_t(value) : uint64_t(uint32_t(int32_t(value)));
    char buf[32];
    if (directive.letter == 'u') std::snprintf(buf, sizeof buf, "%llu", (unsigned long long)u);
    else std::snprintf(buf, sizeof buf, "%llX", (unsigned long long)u);
    digits = buf;
  }
  if (directive.precision > int(digits.size())) digits.insert(0, size_t(directive.precision) - digits.size(), '0');
  if (negative) digits.insert(0, 1, '-');
  return digits;
}

std::string WriteFloat(const TDirective& directive, double v) {
  switch (directive.letter) {
    case 'e': return FormatScientific(v, directive.precision < 0 ? 15 : directive.precision);
    case 'f': return FormatFixed(v, directive.precision < 0 ? 2 : directive.precision, false);
    case 'g': return FormatGeneral(v, directive.precision < 0 ? 15 : directive.precision);
    default: return FormatFixed(v, directive.precision < 0 ? 2 : directive.precision, true);  // n, m
  }
}

bool ApplyDirective(const TDirective& directive, const TValue& arg, std::string& text) {
  switch (directive.letter) {
    case 'd':
    case 'u':
    case 'x': {
      int64_t value;
      bool wide;
      if (!IntegerArgument(arg, value, wide)) return false;
      text = WriteInteger(directive, value, wide);
      break;
    }
    case 's':
      text = arg.ToString();
      if (directive.precision >= 0 && size_t(directive.precision) < text.size()) text.resize(size_t(directive.precision));
      break;
    default: {
      double f;
      if (!arg.ToFloat(f)) return false;
      text = WriteFloat(directive, f);
      break;
    }
  }
  if (int(text.size()) < directive.width) {
    size_t pad = size_t(directive.width) - text.size();
    if (directive.left) text.append(pad, ' ');
    else text.insert(0, pad, ' ');
  }
  return true;
}

}  // namespace

std::string FormatFixed(double v, int decimals, bool thousands) {
  if (const char* nf = NonFinite(v)) return nf;
  if (decimals > kMaxFormatWidth) decimals = kMaxFormatWidth;
  // At most a sign, 309 integer digits, the point and the decimals.
  char buf[320 + kMaxFormatWidth];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s(buf);
  if (thousands) {
    size_t begin = s[0] == '-' ? 1 : 0;
    size_t end = s.find('.');
    if (end == std::string::npos) end = s.size();
    for (size_t p = end; p > begin + 3; p -= 3) s.insert(p - 3, 1, ',');
  }
  DropNegativeZero(s);
  return s;
}

std::string FormatScientific(double v, int digits) {
  if (const char* nf = NonFinite(v)) return nf;
  if (digits < 1) digits = 1;
  if (digits > 18) digits = 18;
  std::string mantissa;
  int exponent;
  bool negative;
  Decompose(v, digits, mantissa, exponent, negative);
  std::string s = negative ? "-" : "";
  s += mantissa[0];
  if (mantissa.size() > 1) {
    s += '.';
    s.append(mantissa, 1, std::string::npos);
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "E%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
  s += buf;
  DropNegativeZero(s);
  return s;
}

std::string FormatGeneral(double v, int digits) {
  if (const char* nf = NonFinite(v)) return nf;
  if (v == 0) return "0";
  if (digits < 1) digits = 1;
  if (digits > 18) digits = 18;
  std::string mantissa;
  int exponent;
  bool negative;
  Decompose(v, digits, mantissa, exponent, negative);
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string s = negative ? "-" : "";
  if (exponent >= digits || std::fabs(v) < 0.00001) {
    s += mantissa[0];
    if (mantissa.size() > 1) {
      s += '.';
      s.append(mantissa, 1, std::string::npos);
    }
    s += 'E';
    s += std::to_string(exponent);
  } else if (exponent < 0) {
    s += "0.";
    s.append(size_t(-exponent - 1), '0');
    s += mantissa;
  } else if (int(mantissa.size()) <= exponent + 1) {
    s += mantissa;
    s.append(size_t(exponent + 1) - mantissa.size(), '0');
  } else {
    s.append(mantissa, 0, size_t(exponent + 1));
    s += '.';
    s.append(mantissa, size_t(exponent + 1), std::string::npos);
  }
  return s;
}

bool FormatText(std::string_view fmt, std::span<const TValue> args, std::string& out, std::string& error) {
  out.clear();
  size_t next = 0;  // the next argument
  size_t i = 0;
  while (i < fmt.size()) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    size_t end = i + 1;
    while (end < fmt.size() && !IsAsciiLetter(fmt[end])) ++end;
    if (end >= fmt.size()) {  // unfinished: copied as it stands
      out.append(fmt.substr(i));
      break;
    }
    std::string_view whole = fmt.substr(i, end - i + 1);
    i = end + 1;
    if (next >= args.size()) continue;  // no argument left: dropped
    const TValue& arg = args[next++];
    TDirective directive;
    if (!ParseDirective(whole.substr(1, whole.size() - 2), whole.back(), directive)) {
      out.append(whole);
      continue;
    }
    std::string text;
    if (!ApplyDirective(directive, arg, text)) {
      error = "Format '" + std::string(whole) + "' does not suit the argument '" + arg.ToString() + "'";
      return false;
    }
    out += text;
  }
  return true;
}

}  // namespace kw
