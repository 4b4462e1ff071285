// A bitmap font of the fonts archive: glyph metrics for the 256
// Windows-1251 codes and a glyph atlas. One record of the archive holds one
// font, self-contained; the record layout is described in docs/fonts.md.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/bitmap32.h"

namespace kw {

struct TGlyph {
  int16_t X = 0, Y = 0;          // atlas rectangle
  int16_t W = 0, H = 0;
  int16_t OffsetX = 0, OffsetY = 0;  // where the rectangle goes, from the pen (top of the cell)
  int16_t Advance = 0;           // pen movement
};

struct TBitmapFont {
  std::string Name;        // the archive key it was loaded under
  int CellHeight = 0;      // line height in pixels at scale 1
  std::array<TGlyph, 256> Glyphs{};
  TBitmap32 Atlas;         // white glyphs, coverage in alpha
};

// Reads one font record; false when the bytes are no valid record (every
// count and rectangle is checked against what remains and the atlas). A
// record holds no name: `out.Name` is kept as it was; `out` is otherwise
// untouched on failure.
bool ReadFontRecord(std::string_view bytes, TBitmapFont& out);
// Writes one font record (used by kwfont).
bool WriteFontRecord(const TBitmapFont& font, std::string& out);

}  // namespace kw
