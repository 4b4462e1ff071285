// Glyph tables: reading arbitrary bytes, then measuring and drawing escaped
// text (the input itself) with whatever table came out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/glyph_font.h"
#include "platform/canvas.h"
#include "platform/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  kw::TGlyphFont font;
  std::string error;
  const bool read = font.ReadTable(bytes, &error);
  if (read != error.empty()) __builtin_trap();
  if (!read && !font.Empty()) __builtin_trap();

  static kw::TTexture picture = [] {
    kw::TTexture t;
    t.LoadFromBitmap(kw::TBitmap32(8, 4, 0xFFFFFFFF), 4, 4, 2, 4, 4, 2, false);
    return t;
  }();
  kw::TBitmap32 target(16, 8);
  kw::TCanvas canvas(target);
  const std::string text = bytes.substr(0, 64);
  for (double k : {1.0, 0.5, 3.0}) {
    (void)font.TextWidth(text, k);
    font.DrawLine(canvas, &picture, text, -2, -1, 0xFFFFFFFF, 0x504, k);
  }
  font.DrawLine(canvas, &picture, text, 2040, -1030, 0xFFFFFFFF, 1, 700);
  return 0;
}
