// Font records: any bytes either read as a font whose every glyph lies inside
// its atlas, or are refused.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/bitmap_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kw::TBitmapFont font;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!kw::ReadFontRecord(bytes, font)) return 0;
  for (const kw::TGlyph& g : font.Glyphs) {
    if (g.W < 0 || g.H < 0 || g.X < 0 || g.Y < 0 || g.X + g.W > font.Atlas.Width || g.Y + g.H > font.Atlas.Height)
      std::abort();
  }
  // What was read writes back and reads again the same.
  std::string again;
  if (!kw::WriteFontRecord(font, again)) std::abort();
  kw::TBitmapFont back;
  if (!kw::ReadFontRecord(again, back) || back.Atlas.Pixels != font.Atlas.Pixels) std::abort();
  return 0;
}
