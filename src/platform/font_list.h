// Bitmap fonts for drawing: a TBitmapFont with its glyphs cut into a
// texture, the drawing state the text element sets before each line
// (scale, shadow colour, effect flags), measuring and text out; and the
// list of fonts loaded from the fonts archive.
//
// Text is Windows-1251 bytes, one glyph per byte. Inside a text, "#$" and
// eight hexadecimal digits set the top colour (a colour word 0xAABBGGRR),
// "&$" and eight digits the bottom colour, "0x" and eight digits both. Such
// a ten-character code is neither drawn nor measured, and is taken only
// when at least one character follows it; otherwise it is ordinary text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap_font.h"
#include "platform/texture.h"

namespace kw {

class TCanvas;

// Effect flags of a font.
constexpr uint32_t FontShadow = 4;  // each glyph first in the shadow colour at opacity 128, 2 px right and down (times the scale)
constexpr uint32_t FontEmboss = 8;  // the glyph 1 px up and left, then a black copy at opacity 204 in its place

class TFont {
 public:
  explicit TFont(TBitmapFont font);

  const std::string& Name() const { return font_.Name; }
  const TBitmapFont& Data() const { return font_; }

  double Scale = 1.0;
  uint32_t ShadowColour = 0;
  uint32_t Effects = 0;

  // Sum of the advances of the drawn characters, times the scale.
  double TextWidth(std::string_view text) const;
  // The cell height times the scale for every non-empty text; 0 for "".
  double TextHeight(std::string_view text) const;
  // Draws the text with its top-left at (x, y); each glyph is shaded from
  // `top` at the top of the cell to `bottom` at its bottom, and blended by
  // `effect`. Filtering follows the canvas's Antialias.
  void TextOut(TCanvas& canvas, std::string_view text, double x, double y, uint32_t top, uint32_t bottom,
               uint32_t effect) const;

 private:
  void DrawGlyph(TCanvas& canvas, int code, double x, double y, uint32_t top, uint32_t bottom,
                 uint32_t effect) const;

  TBitmapFont font_;
  TTexture glyphs_;  // pattern i is the glyph of code i
};

// The kind of an inline colour code at text[i] (0: none), with its colour.
enum class TColourCode { None, Top, Bottom, Both };
TColourCode ParseColourCode(std::string_view text, size_t i, uint32_t& colour);

class TFontList {
 public:
  TFont& Add(TBitmapFont font);
  // The first font whose name matches without regard to letter case
  // (Windows-1251 rules); nullptr when there is none.
  TFont* Find(std::string_view name) const;
  void Clear() { fonts_.clear(); }
  int Count() const { return int(fonts_.size()); }

 private:
  std::vector<std::unique_ptr<TFont>> fonts_;
};

}  // namespace kw
