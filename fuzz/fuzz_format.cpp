// Format and FormatDateTime on arbitrary patterns and arguments, and the
// readers of numbers, dates and times on arbitrary text.
//
// Input: the first line is the format; every further line is one argument,
// its first byte naming the kind (i integer, g big integer, f float, d
// date-time, b boolean, e empty, anything else a string of the whole line).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scriptlib/date_text.h"
#include "scriptlib/format_text.h"
#include "scriptlib/text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  size_t b = 0;
  for (;;) {
    size_t e = bytes.find('\n', b);
    lines.push_back(bytes.substr(b, e == std::string::npos ? std::string::npos : e - b));
    if (e == std::string::npos) break;
    b = e + 1;
  }
  std::vector<kw::TValue> args;
  for (size_t i = 1; i < lines.size() && args.size() < 64; ++i) {
    const std::string& l = lines[i];
    std::string rest = l.empty() ? std::string() : l.substr(1);
    char kind = l.empty() ? 's' : l[0];
    switch (kind) {
      case 'i': args.push_back(kw::TValue::Integer(int32_t(std::strtol(rest.c_str(), nullptr, 10)))); break;
      case 'g': args.push_back(kw::TValue::BigInt(std::strtoll(rest.c_str(), nullptr, 10))); break;
      case 'f': args.push_back(kw::TValue::Float(std::strtod(rest.c_str(), nullptr))); break;
      case 'd': args.push_back(kw::TValue::DateTime(std::strtod(rest.c_str(), nullptr))); break;
      case 'b': args.push_back(kw::TValue::Boolean(!rest.empty())); break;
      case 'e': args.push_back(kw::TValue()); break;
      default: args.push_back(kw::TValue::String(l)); break;
    }
  }
  std::string out, error;
  kw::FormatText(lines[0], args, out, error);

  for (double d : {0.0, -1.25, 46381.379, 2958465.999999, -693593.0, 1e300}) kw::FormatDateTimeText(lines[0], d, out);
  for (const kw::TValue& a : args)
    if (a.kind == kw::TValueKind::DateTime || a.kind == kw::TValueKind::Float) kw::FormatDateTimeText(lines[0], a.f, out);

  double v;
  int32_t n;
  kw::ParseDate(bytes, v);
  kw::ParseTime(bytes, v);
  kw::ScanNumber(bytes, v);
  kw::ParseInteger(bytes, n);
  return 0;
}
