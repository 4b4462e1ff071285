// The Unicode glyph font: a picture whose patterns are glyphs and a table
// mapping 16-bit character codes to a pattern and an advance width. Its
// presence ("unicode\unicode.fnt") puts a game in Unicode mode. Texts are
// escaped text (platform/escaped_text.h).
//
// Every measure takes k, the factor that draws the glyphs at the height of
// the text element's bitmap font: the font's text height of "W" over the
// glyph picture's pattern height (GlyphFactor).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

class TCanvas;
class TFont;
class TTexture;

struct TGlyphEntry {
  uint16_t Pattern = 0;  // pattern of the glyph picture
  uint8_t Advance = 0;   // picture pixels; 0: the character has no glyph
};

class TGlyphFont {
 public:
  // Reads the glyph table file: a count line, that many lines of a
  // hexadecimal code, a space and a decimal width, then the face line.
  // Widths are stored as Round(w / 1.7), halves to even; one that rounds
  // past 255 keeps 255 and a negative one 0. A code above FFFF cannot be
  // reached by escaped text: its line is ignored (keeping its pattern
  // number). False, with the table left empty and `error` set, when the
  // text is not such a table.
  bool ReadTable(std::string_view text, std::string* error = nullptr);
  void Clear();

  bool Empty() const { return table_.empty(); }
  size_t Size() const { return table_.size(); }
  // The entry of a code; none beyond the table.
  const TGlyphEntry* Entry(uint32_t code) const;
  // The face the operating system's text drawing uses (the last line).
  const std::string& FaceName() const { return face_; }

  // The entry's advance × k; 0 beyond the table.
  double Advance(uint32_t code, double k) const;
  // The sum of Advance over the characters; an escape cut short at the end
  // ends the sum.
  double TextWidth(std::string_view text, double k) const;
  // Draws the characters left to right from (x, y), each glyph's pattern
  // mapped onto pattern width × k by pattern height × k, clipped to the
  // band -1024..2048 as images are, with `colour` at all four corners and
  // `effect`; filtering is switched on. Characters without a glyph are
  // skipped and take no room. Nothing is drawn without a picture.
  void DrawLine(TCanvas& canvas, const TTexture* picture, std::string_view text, double x, double y,
                uint32_t colour, uint32_t effect, double k) const;

 private:
  std::vector<TGlyphEntry> table_;
  std::string face_;
};

// k for a text element's font: its text height of "W" (at the scale it
// last received) over the picture's pattern height. Without a picture with
// patterns k is 1, so that widths still count in picture pixels; without a
// font it is 0.
double GlyphFactor(const TFont* font, const TTexture* picture);

}  // namespace kw
