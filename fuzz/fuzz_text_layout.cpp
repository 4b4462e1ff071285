// The text element's layout on arbitrary text. The first byte picks the
// rules (bit 0 EnEnter, bit 1 AutoEnter, bit 2 Unicode mode), the second
// the box width; the rest is the text. The layout must end, must not cut
// an escaped character, must take every line break, and must keep
// every character of the text in order (only spaces and line ends move).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/escaped_text.h"
#include "scene/kw_text_layout.h"

namespace {

// The characters of a text, escape-aware, without spaces and line ends
// outside escapes: what no layout may change.
std::string Characters(std::string_view s) {
  std::string out;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == kw::EscapeByte) {
      out.append(s.substr(i, 3));
      i += 3;
      continue;
    }
    if (s[i] != ' ' && s[i] != '\0') out += s[i];
    ++i;
  }
  return out;
}

bool HasBreak(std::string_view s) {
  for (size_t i = 0; i + 1 < s.size(); i += (s[i] == kw::EscapeByte ? 3 : 1)) {
    if (s[i] == kw::EscapeByte) continue;
    if ((s[i] == '\r' && s[i + 1] == '\n') || (s[i] == '\\' && s[i + 1] == 'n')) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  kw::TTextLayoutRules rules;
  rules.EnEnter = data[0] & 1;
  rules.AutoEnter = data[0] & 2;
  rules.Unicode = data[0] & 4;
  rules.BoxWidth = data[1];
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  kw::TTextMeasure measure;
  measure.Advance = [](uint32_t code) { return code == ' ' ? 4.0 : double(code % 23); };
  measure.Width = [&](std::string_view s) {
    double w = 0;
    size_t pos = 0;
    uint32_t code = 0;
    while (kw::NextEscapedChar(s, pos, code)) w += measure.Advance(code);
    return w;
  };
  const std::string laidOut = kw::LayOutText(text, rules, measure);

  if (!rules.EnEnter) {
    if (laidOut != text) std::abort();
    return 0;
  }
  // Breaks are all taken (wrapping may join a zero-width word to the next
  // without a space, which can put a backslash before an n again: that is
  // text then, never read as a break).
  if (!rules.AutoEnter && HasBreak(laidOut)) std::abort();
  if (Characters(laidOut) != Characters(kw::BreakLines(text))) std::abort();
  size_t lines = 0;
  for (std::string_view line : kw::LaidOutLines(laidOut)) lines += line.size() + 1;
  if (lines < laidOut.size()) std::abort();
  return 0;
}
