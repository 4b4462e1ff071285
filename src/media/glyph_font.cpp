#include "media/glyph_font.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/canvas.h"
#include "platform/escaped_text.h"
#include "platform/font_list.h"
#include "platform/log.h"
#include "platform/texture.h"

namespace kw {

namespace {

// The band every textured quad is clipped to, on each axis, as for images.
constexpr double BandLow = -1024;
constexpr double BandHigh = 2048;

// Codes are 16-bit: escaped text cannot name a larger one.
constexpr uint32_t MaxCode = 0xFFFF;
// Pattern indices are 16-bit as well.
constexpr int64_t MaxPattern = 0xFFFF;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Hands out the lines of a text; a line ends at LF, and a CR before it
// (or at the very end) is not part of the line.
class TLineReader {
 public:
  explicit TLineReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);  // a UTF-8 byte-order mark
  }
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  int Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

// A run of decimal digits with an optional sign, as a wide integer that
// saturates instead of overflowing; none when `s` is not exactly that.
std::optional<int64_t> ParseDecimal(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min<int64_t>(value * 10 + (c - '0'), int64_t(1) << 40);
  }
  return negative ? -value : value;
}

// Hexadecimal digits, saturating likewise; none when `s` is not exactly that.
std::optional<uint64_t> ParseHex(std::string_view s) {
  if (s.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    value = std::min<uint64_t>(value * 16 + uint64_t(d), uint64_t(1) << 40);
  }
  return value;
}

// Round(w / 1.7) with halves to even, in integers: Round(10w / 17). No
// integer w lands on a half (10w / 17 never has the fraction 1/2), so
// rounding up from 8/17 is exact. The entry holds 8 bits: a width so large
// that it rounds past 255 keeps 255 (wrapping would turn a wide glyph into
// "no glyph" or a sliver), and a negative width has no room at all.
uint8_t StoredAdvance(int64_t width) {
  if (width <= 0) return 0;
  const int64_t rounded = (width * 10 + 8) / 17;
  return uint8_t(std::min<int64_t>(rounded, 255));
}

std::string Quote(std::string_view s) { return "'" + std::string(s.substr(0, 40)) + "'"; }

}  // namespace

bool TGlyphFont::ReadTable(std::string_view text, std::string* error) {
  Clear();
  const auto fail = [&](int line, const std::string& why) {
    Clear();
    const std::string message = "glyph table, line " + std::to_string(line) + ": " + why;
    KwLog("%s", message.c_str());
    if (error) *error = message;
    return false;
  };

  TLineReader lines(text);
  std::string_view line;
  if (!lines.Next(line)) return fail(1, "no count of glyph lines");
  // The count is the number at the start of the line; the rest is ignored.
  std::string_view countLine = Trim(line);
  size_t digits = 0;
  while (digits < countLine.size() && countLine[digits] >= '0' && countLine[digits] <= '9') ++digits;
  if (digits == 0) return fail(1, Quote(countLine) + " is not a count of glyph lines");
  const int64_t count = *ParseDecimal(countLine.substr(0, digits));

  // The table grows with the codes it meets, never from the count alone: a
  // count that promises more lines than the file holds fails at its end.
  std::vector<TGlyphEntry> table;
  for (int64_t i = 0; i < count; ++i) {
    if (!lines.Next(line))
      return fail(lines.Number() + 1, "the table ends after " + std::to_string(i) + " of " +
                                          std::to_string(count) + " glyph lines");
    const std::string_view entry = Trim(line);
    size_t gap = 0;
    while (gap < entry.size() && !IsBlank(entry[gap])) ++gap;
    const std::string_view codeText = entry.substr(0, gap);
    const std::string_view widthText = Trim(entry.substr(gap));
    const std::optional<uint64_t> code = ParseHex(codeText);
    if (!code) return fail(lines.Number(), Quote(codeText) + " is not a hexadecimal character code");
    const std::optional<int64_t> width = ParseDecimal(widthText);
    if (!width) return fail(lines.Number(), Quote(widthText) + " is not a decimal glyph width");
    if (*code > MaxCode) {
      // No escaped text can reach such a code; the line still owns its
      // pattern, so the lines after it keep theirs.
      KwLog("glyph table, line %d: code %s is beyond 16 bits, line ignored", lines.Number(),
            std::string(codeText).c_str());
      continue;
    }
    if (i > MaxPattern) {
      KwLog("glyph table, line %d: pattern %lld is beyond 16 bits, line ignored", lines.Number(),
            static_cast<long long>(i));
      continue;
    }
    if (*width < 0 || StoredAdvance(*width) == 255)
      KwLog("glyph table, line %d: width %lld kept as %d", lines.Number(), static_cast<long long>(*width),
            int(StoredAdvance(*width)));
    if (table.size() <= *code) table.resize(size_t(*code) + 1);
    table[size_t(*code)] = {uint16_t(i), StoredAdvance(*width)};
  }

  std::string face;
  if (lines.Next(line)) face = std::string(Trim(line));
  table_ = std::move(table);
  face_ = std::move(face);
  if (error) error->clear();
  return true;
}

void TGlyphFont::Clear() {
  table_.clear();
  face_.clear();
}

const TGlyphEntry* TGlyphFont::Entry(uint32_t code) const {
  return code < table_.size() ? &table_[code] : nullptr;
}

double TGlyphFont::Advance(uint32_t code, double k) const {
  const TGlyphEntry* entry = Entry(code);
  return entry ? entry->Advance * k : 0.0;
}

double TGlyphFont::TextWidth(std::string_view text, double k) const {
  double width = 0;
  size_t pos = 0;
  uint32_t code = 0;
  while (NextEscapedChar(text, pos, code)) width += Advance(code, k);
  return width;
}

void TGlyphFont::DrawLine(TCanvas& canvas, const TTexture* picture, std::string_view text, double x, double y,
                          uint32_t colour, uint32_t effect, double k) const {
  canvas.SetAntialias(true);
  if (!picture || picture->Empty() || !(k > 0) || !std::isfinite(k)) return;
  const double patternW = picture->PatternWidth(), patternH = picture->PatternHeight();
  const double w = patternW * k, h = patternH * k;

  // How many source texels fall outside the band at each end of one axis:
  // one more than the rounded overhang, so that the cut edge stays outside
  // the band. Computed in reals (positions may be anything) and kept within
  // the pattern.
  const auto crops = [k](double from, double size, double texels, double& low, double& high) {
    low = from < BandLow ? std::nearbyint((BandLow - from) / k) - 1 : 0;
    high = from + size > BandHigh ? std::nearbyint((from + size - BandHigh) / k) + 1 : 0;
    low = std::clamp(low, 0.0, texels);
    high = std::clamp(high, 0.0, texels);
  };

  size_t pos = 0;
  uint32_t code = 0;
  while (NextEscapedChar(text, pos, code)) {
    const TGlyphEntry* entry = Entry(code);
    if (!entry || entry->Advance == 0) continue;
    // A line whose pattern the picture lacks measures but is not drawn: the
    // canvas would otherwise show its last pattern in its place.
    if (entry->Pattern < picture->PatternCount()) {
      double cropL, cropR, cropT, cropB;
      crops(x, w, patternW, cropL, cropR);
      crops(y, h, patternH, cropT, cropB);
      const double sw = patternW - cropL - cropR, sh = patternH - cropT - cropB;
      // Nothing left of the source means nothing to draw (the canvas would
      // take a source below one texel for the whole pattern).
      if (sw >= 1 && sh >= 1) {
        const double left = x + k * cropL, top = y + k * cropT;
        const double right = left + w - k * (cropL + cropR), bottom = top + h - k * (cropT + cropB);
        canvas.Map(picture, {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}}, Colour4(colour),
                   entry->Pattern, cropL, cropT, sw, sh, effect);
      }
    }
    x += entry->Advance * k;
  }
}

double GlyphFactor(const TFont* font, const TTexture* picture) {
  if (!font) return 0.0;
  if (!picture || picture->Empty() || picture->PatternHeight() <= 0) return 1.0;
  return font->TextHeight("W") / picture->PatternHeight();
}

}  // namespace kw
