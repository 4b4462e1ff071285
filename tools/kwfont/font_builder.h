// Turns the 256 rendered glyphs of one face into a bitmap font: metrics
// from the pen at the top of the cell, glyphs packed into one atlas.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "glyph_renderer.h"
#include "platform/bitmap_font.h"

namespace kw::kwfont {

// Transparent pixels between packed glyphs, so filtered drawing of one glyph
// never picks up its neighbour.
constexpr int kAtlasGap = 1;

// None, with `problem` set, when the glyphs do not fit the largest atlas.
std::optional<TBitmapFont> BuildBitmapFont(const std::string& key, const std::array<TGlyphImage, 256>& glyphs,
                                           int ascent, int descent, std::string& problem);

}  // namespace kw::kwfont
