#include "scene/property.h"

#include <cmath>

#include "platform/codepage.h"

namespace kw {

bool IsIntegerType(TPropType type) {
  switch (type) {
    case TPropType::Int:
    case TPropType::UInt:
    case TPropType::Byte:
    case TPropType::Word:
    case TPropType::Bool:
    case TPropType::Enum:
      return true;
    default:
      return false;
  }
}

bool IsRealType(TPropType type) { return type == TPropType::Real || type == TPropType::Extended; }

const char* PropTypeCode(TPropType type) {
  switch (type) {
    case TPropType::Int: return "i";
    case TPropType::UInt: return "u";
    case TPropType::Byte: return "i8";
    case TPropType::Word: return "i16";
    case TPropType::Bool: return "b";
    case TPropType::Enum: return "e";
    case TPropType::Real: return "d";
    case TPropType::Extended: return "dx";
    case TPropType::String: return "s";
  }
  return "?";
}

int64_t NormaliseInteger(TPropType type, int64_t raw) {
  switch (type) {
    case TPropType::Int:
    case TPropType::Enum:
      return int32_t(uint32_t(raw));
    case TPropType::UInt:
      return uint32_t(raw);
    case TPropType::Byte:
    case TPropType::Bool:
      return uint8_t(raw);
    case TPropType::Word:
      return uint16_t(raw);
    default:
      return raw;
  }
}

int FindProperty(TPropTable table, std::string_view name) {
  for (size_t i = 0; i < table.size(); ++i)
    if (AsciiEqualNoCase(table[i].Name, name)) return int(i);
  return -1;
}

int64_t PropInt(const TPropValue& value) {
  if (auto* i = std::get_if<int64_t>(&value)) return *i;
  if (auto* d = std::get_if<double>(&value)) {
    // Out-of-range reals never reach an integer field as undefined values.
    if (!std::isfinite(*d) || std::fabs(*d) >= 9.2e18) return 0;
    return int64_t(*d);
  }
  return 0;
}

double PropReal(const TPropValue& value) {
  if (auto* d = std::get_if<double>(&value)) return *d;
  if (auto* i = std::get_if<int64_t>(&value)) return double(*i);
  return 0.0;
}

std::string PropString(const TPropValue& value) {
  if (auto* s = std::get_if<std::string>(&value)) return *s;
  if (auto* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
  return {};
}

}  // namespace kw
