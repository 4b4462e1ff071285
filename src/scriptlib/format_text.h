// Format(Fmt, A1, ...): printf-style directives applied to script
// values, safely. Each "%" starts a directive that runs up to and
// including the next ASCII letter; the directive takes the next
// argument. Nothing here can read a missing argument or misread one:
//
// - "%%" writes one "%" and takes no argument.
// - A directive is "%" ["-"] [width] ["." precision] letter, width and
//   precision at most kMaxFormatWidth. The letters, in either case: d
//   (decimal), u (unsigned decimal), x (hexadecimal, upper-case digits), e
//   (scientific, precision = significant digits, default 15, exponent
//   "E+ddd"), f (fixed, precision = decimals, default 2), g (general,
//   precision = significant digits, default 15), n (fixed with "," between
//   thousands, default 2 decimals), m (as n: the player has no currency
//   sign), s (text, precision = most characters). For d, u and x the
//   precision is the least number of digits. The width pads with blanks on
//   the left, or on the right after "-".
// - The argument is converted to what the letter needs: d, u and x take an
//   integer (a float is cut toward zero, a string must read as a number);
//   e, f, g, n and m take a float (a string must read as a number); s takes
//   any value as text. A value that cannot be converted fails the call.
// - A directive of any other shape keeps its argument and is copied
//   to the result as it stands, as is an unfinished one at the end of Fmt;
//   a directive with no argument left is dropped.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "script/script_value.h"

namespace kw {

constexpr int kMaxFormatWidth = 1024;

// False (with `error` set) when an argument does not suit its letter.
bool FormatText(std::string_view fmt, std::span<const TValue> args, std::string& out, std::string& error);

// The float writers of the letters e, f, g and n, shared with FloatToStr.
std::string FormatFixed(double v, int decimals, bool thousands);
std::string FormatScientific(double v, int digits);
std::string FormatGeneral(double v, int digits);

}  // namespace kw
