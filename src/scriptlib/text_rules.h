// The byte rules of the text built-ins, as pure functions (tested directly
// and used by the built-ins).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kw {

// Reads a decimal floating-point number ("." as the decimal point, leading
// blanks allowed, optional sign and exponent). Answers 0 when all of `s`
// was read, else the position (from 1) of the first byte that could not
// be; `value` is the number read before that byte (0 when none was).
int32_t ScanNumber(std::string_view s, double& value);

// A signed 32-bit decimal integer, or hexadecimal after "$" (up to eight
// digits, taken as the 32-bit pattern: "$FFFFFFFF" is -1); an optional
// sign and blanks around are allowed.
bool ParseInteger(std::string_view s, int32_t& value);

// Fixed notation with 15 decimals, trailing zeros and a trailing "."
// removed: 2.5, 3, 0.333333333333333.
std::string FloatToText(double v);

// The byte ranges of Copy, Insert and Delete (positions from 1).
std::string CopyBytes(std::string_view s, int32_t from, int32_t count);
std::string InsertBytes(std::string_view sub, std::string_view s, int32_t pos);
std::string DeleteBytes(std::string_view s, int32_t index, int32_t count);

// Removes the bytes 0 to 32 at the start and/or the end. In Unicode mode an
// escaped character is never cut, whatever its code bytes are.
std::string TrimBytes(std::string_view s, bool start, bool end, bool unicode);

// Windows-1251 case; in Unicode mode the code bytes of escaped characters
// are left alone.
std::string ChangeCase(std::string_view s, bool upper, bool unicode);

}  // namespace kw
