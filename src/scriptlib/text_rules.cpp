#include "scriptlib/text_rules.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/codepage.h"
#include "scriptlib/format_text.h"
#include "scriptlib/unicode_mode.h"

namespace kw {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsTrimmed(unsigned char c) { return c <= 32; }
}  // namespace

int32_t ScanNumber(std::string_view s, double& value) {
  value = 0;
  size_t p = 0;
  while (p < s.size() && IsBlank(s[p])) ++p;
  size_t start = p;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
  size_t digits = 0;
  while (p < s.size() && IsDigit(s[p])) ++p, ++digits;
  if (p < s.size() && s[p] == '.') {
    size_t q = p + 1, fraction = 0;
    while (q < s.size() && IsDigit(s[q])) ++q, ++fraction;
    if (digits + fraction > 0) {
      p = q;
      digits += fraction;
    }
  }
  if (digits == 0) return int32_t(std::min<size_t>(start + 1, INT32_MAX));
  size_t numberEnd = p;
  if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
    size_t q = p + 1;
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
    size_t expDigits = 0;
    while (q < s.size() && IsDigit(s[q])) ++q, ++expDigits;
    if (expDigits > 0) numberEnd = q;
  }
  value = std::strtod(std::string(s.substr(start, numberEnd - start)).c_str(), nullptr);
  if (numberEnd == s.size()) return 0;
  return int32_t(std::min<size_t>(numberEnd + 1, INT32_MAX));
}

bool ParseInteger(std::string_view s, int32_t& value) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  int64_t v = 0;
  if (s[0] == '$') {
    s.remove_prefix(1);
    if (s.empty() || s.size() > 8) return false;
    for (char c : s) {
      int d = IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
      if (d < 0) return false;
      v = v * 16 + d;
    }
    int32_t bits = int32_t(uint32_t(v));
    value = negative ? int32_t(0u - uint32_t(bits)) : bits;
    return true;
  }
  for (char c : s) {
    if (!IsDigit(c)) return false;
    v = v * 10 + (c - '0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = int32_t(v);
  return true;
}

std::string FloatToText(double v) {
  std::string s = FormatFixed(v, 15, false);
  size_t dot = s.find('.');
  if (dot == std::string::npos) return s;  // NAN, INF
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string CopyBytes(std::string_view s, int32_t from, int32_t count) {
  if (from < 1) from = 1;
  if (count <= 0 || size_t(from) > s.size()) return {};
  return std::string(s.substr(size_t(from) - 1, size_t(count)));
}

std::string InsertBytes(std::string_view sub, std::string_view s, int32_t pos) {
  size_t at = pos < 1 ? 0 : std::min(size_t(pos) - 1, s.size());
  std::string out(s);
  out.insert(at, sub);
  return out;
}

std::string DeleteBytes(std::string_view s, int32_t index, int32_t count) {
  std::string out(s);
  if (index < 1 || size_t(index) > s.size() || count <= 0) return out;
  out.erase(size_t(index) - 1, size_t(count));
  return out;
}

std::string TrimBytes(std::string_view s, bool start, bool end, bool unicode) {
  size_t b = 0, e = s.size();
  if (!unicode) {
    if (start)
      while (b < e && IsTrimmed((unsigned char)s[b])) ++b;
    if (end)
      while (e > b && IsTrimmed((unsigned char)s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
  }
  // Character by character, so an escaped character is one unit.
  std::vector<size_t> starts;
  for (size_t p = 0; p < s.size(); p += CharLengthAt(s, p, true)) starts.push_back(p);
  size_t first = 0, last = starts.size();  // characters [first, last)
  auto blank = [&](size_t k) { return CharLengthAt(s, starts[k], true) == 1 && IsTrimmed((unsigned char)s[starts[k]]); };
  if (start)
    while (first < last && blank(first)) ++first;
  if (end)
    while (last > first && blank(last - 1)) --last;
  if (first == last) return {};
  b = starts[first];
  e = last < starts.size() ? starts[last] : s.size();
  return std::string(s.substr(b, e - b));
}

std::string ChangeCase(std::string_view s, bool upper, bool unicode) {
  std::string out(s);
  for (size_t p = 0; p < out.size();) {
    size_t n = CharLengthAt(out, p, unicode);
    if (n == 1) out[p] = char(upper ? Cp1251Upper(uint8_t(out[p])) : Cp1251Lower(uint8_t(out[p])));
    p += n;
  }
  return out;
}

}  // namespace kw
