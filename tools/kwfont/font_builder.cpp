#include "font_builder.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace kw::kwfont {

namespace {

constexpr int kMaxAtlasSide = 4096;

struct TPlace {
  int X = 0, Y = 0;
};

// Shelf packing, tallest glyphs first, into rows of the given width. Returns
// the height used.
int PackShelves(const std::array<TGlyphImage, 256>& glyphs, const std::vector<int>& order, int width,
                std::array<TPlace, 256>& places) {
  int x = kAtlasGap, y = kAtlasGap, shelf = 0;
  for (int code : order) {
    const TGlyphImage& g = glyphs[size_t(code)];
    if (g.Width == 0 || g.Height == 0) continue;
    if (x + g.Width + kAtlasGap > width) {
      y += shelf + kAtlasGap;
      x = kAtlasGap;
      shelf = 0;
    }
    places[size_t(code)] = {x, y};
    x += g.Width + kAtlasGap;
    shelf = std::max(shelf, g.Height);
  }
  return y + shelf + kAtlasGap;
}

}  // namespace

std::optional<TBitmapFont> BuildBitmapFont(const std::string& key, const std::array<TGlyphImage, 256>& glyphs,
                                           int ascent, int descent, std::string& problem) {
  std::vector<int> order(256);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return glyphs[size_t(a)].Height > glyphs[size_t(b)].Height; });

  // The narrowest power-of-two width whose packing is no taller than wide.
  std::array<TPlace, 256> places{};
  int widest = 0;
  for (const auto& g : glyphs) widest = std::max(widest, g.Width + 2 * kAtlasGap);
  int width = 64, height = 0;
  while (width < widest) width *= 2;
  for (;; width *= 2) {
    height = PackShelves(glyphs, order, width, places);
    if (height <= width) break;
    if (width >= kMaxAtlasSide) {
      problem = "glyphs do not fit a " + std::to_string(kMaxAtlasSide) + "-pixel atlas";
      return std::nullopt;
    }
  }

  TBitmapFont font;
  font.Name = key;
  font.CellHeight = std::max(1, ascent + descent);
  font.Atlas = TBitmap32(width, height, 0x00FFFFFFu);
  for (int code = 0; code < 256; ++code) {
    const TGlyphImage& g = glyphs[size_t(code)];
    TGlyph& glyph = font.Glyphs[size_t(code)];
    glyph.Advance = int16_t(std::max(0, g.Advance));
    if (g.Width == 0 || g.Height == 0) continue;
    const TPlace& place = places[size_t(code)];
    glyph.X = int16_t(place.X);
    glyph.Y = int16_t(place.Y);
    glyph.W = int16_t(g.Width);
    glyph.H = int16_t(g.Height);
    glyph.OffsetX = int16_t(g.Left);
    glyph.OffsetY = int16_t(ascent - g.Top);
    for (int y = 0; y < g.Height; ++y)
      for (int x = 0; x < g.Width; ++x) {
        const uint32_t coverage = g.Coverage[size_t(y) * size_t(g.Width) + size_t(x)];
        font.Atlas.At(place.X + x, place.Y + y) = (coverage << 24) | 0x00FFFFFFu;
      }
  }
  return font;
}

}  // namespace kw::kwfont
