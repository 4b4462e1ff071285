// Published properties: the ordered list of an element class's properties is
// at once its game-file layout, its script-visible state and what is saved of
// it. One table per class (name, type code, getter, setter) is the single
// source that the game-file reader, the scripting bridge, saving and
// LoadResources all read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kw {

class TKwElement;

// Type codes of the game file. Each says how the value is stored in the file
// and how an integer is cut before it reaches the setter.
enum class TPropType : uint8_t {
  Int,       // i: 32-bit signed
  UInt,      // u: 32-bit unsigned (colours, drawing flags)
  Byte,      // i8: int32 in the file, low 8 bits kept
  Word,      // i16: int32 in the file, low 16 bits kept
  Bool,      // b: int32 in the file, low 8 bits kept, 0 false
  Enum,      // e: int32 ordinal
  Real,      // d: double
  Extended,  // dx: double in the file, held in extended precision
  String,    // s: int32 byte count, then the bytes
};

// One property value on its way into or out of a setter or getter: integers
// (every integer, Boolean and enumeration type), reals, or Windows-1251 text.
using TPropValue = std::variant<int64_t, double, std::string>;

bool IsIntegerType(TPropType type);
bool IsRealType(TPropType type);
// The one-letter code of the game-file format ("i", "u", "i8", ...).
const char* PropTypeCode(TPropType type);

// The integer a setter receives for a raw 32-bit file value: Byte and Bool
// keep the low 8 bits, Word the low 16, UInt the bits as unsigned.
int64_t NormaliseInteger(TPropType type, int64_t raw);

struct TPropInfo {
  const char* Name;
  TPropType Type;
  TPropValue (*Get)(const TKwElement& element);
  void (*Set)(TKwElement& element, const TPropValue& value);
};

using TPropTable = std::span<const TPropInfo>;

// Index of the property whose name equals `name` without regard to ASCII
// case, or -1.
int FindProperty(TPropTable table, std::string_view name);

// The value as the property's setter expects it; integers are normalised.
int64_t PropInt(const TPropValue& value);
double PropReal(const TPropValue& value);
std::string PropString(const TPropValue& value);

}  // namespace kw
