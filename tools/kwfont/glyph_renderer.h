// FreeType rasterising of the Windows-1251 characters of one TrueType face
// at one pixel size and style.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "font_request.h"

namespace kw::kwfont {

// One rendered character: 8-bit coverage, placed relative to the pen on the
// baseline (Left to the right, Top up).
struct TGlyphImage {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Coverage;  // Width * Height, rows top to bottom
  int Left = 0, Top = 0;
  int Advance = 0;
};

class TGlyphRenderer {
 public:
  TGlyphRenderer();
  ~TGlyphRenderer();
  TGlyphRenderer(const TGlyphRenderer&) = delete;
  TGlyphRenderer& operator=(const TGlyphRenderer&) = delete;

  // Loads the face and sets the size; false with `problem` set on failure.
  bool Open(const TFontRequest& request, std::string& problem);
  // The glyph of a Windows-1251 byte; empty (no pixels, no advance) for the
  // control codes and 0x98, which have no printable character.
  TGlyphImage Render(uint8_t code);

  // Pixels above and below the baseline that every line holds, including
  // what the style adds.
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }

 private:
  struct TFreeType;
  std::unique_ptr<TFreeType> ft_;
  TFontRequest request_;
  int ascent_ = 0, descent_ = 0;
  int strokePixels_ = 0;
};

}  // namespace kw::kwfont
