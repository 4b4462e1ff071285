// Laying out a text element's text: explicit line breaks and word wrapping
// at the box width. The laid-out text ends each line with the byte 0.
// Texts are escaped text: every search steps over escape triples, so a
// 16-bit character is never cut or mistaken for a separator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

struct TTextLayoutRules {
  bool EnEnter = false;    // honour line breaks (CR LF and backslash n)
  bool AutoEnter = false;  // wrap words at BoxWidth
  bool Unicode = false;    // the game is in Unicode mode
  double BoxWidth = 100;
};

struct TTextMeasure {
  // Width of a piece of text (the font's, or the glyph font's in Unicode
  // mode).
  std::function<double(std::string_view)> Width;
  // Advance of one character code (Unicode mode's character wrapping).
  std::function<double(uint32_t)> Advance;
};

// The laid-out form of `source`, for an element that has a font (without
// a font, or without EnEnter, the text stays one line as it is).
std::string LayOutText(std::string_view source, const TTextLayoutRules& rules, const TTextMeasure& measure);

// Cuts at each CR LF and at each backslash followed by n; the lines come
// out each followed by a 0 byte but the last, which has none.
std::string BreakLines(std::string_view source);

// The lines of a laid-out text, cut at its 0 bytes: a trailing 0 ends the
// last line rather than opening an empty one; an empty text has no line.
std::vector<std::string_view> LaidOutLines(std::string_view laidOut);

}  // namespace kw
