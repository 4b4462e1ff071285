// Inputs shared by the canvas benchmarks: pictures, a small bitmap font and
// random placements, made the same way on every run.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/bitmap32.h"
#include "platform/bitmap_font.h"
#include "platform/texture.h"

namespace kw::bench {

struct TRandom {
  uint32_t State;
  explicit TRandom(uint32_t seed) : State(seed * 2654435761u + 1) {}
  uint32_t Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
  }
  int Below(int n) { return int(Next() % uint32_t(n)); }
};

// An opaque picture with smooth colour changes.
inline TBitmap32 OpaquePicture(int w, int h) {
  TBitmap32 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = ColourRGBA(uint32_t(x * 3), uint32_t(y * 5), uint32_t(x + y), 255);
  return p;
}

// A sprite: a round blob, opaque in the middle, fading to transparent at
// the rim, transparent in the corners (as game sprites are).
inline TBitmap32 SpritePicture(int w, int h) {
  TBitmap32 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = (x + 0.5) / w * 2 - 1, dy = (y + 0.5) / h * 2 - 1, d = std::sqrt(dx * dx + dy * dy);
      const double a = d >= 1 ? 0 : d < 0.6 ? 1 : (1 - d) / 0.4;
      p.At(x, y) = ColourRGBA(uint32_t(40 + x * 200 / w), uint32_t(200 - y * 150 / h), 120, uint32_t(a * 255 + 0.5));
    }
  return p;
}

// A picture whose alpha runs through every value (blending cost does not
// depend on runs of opaque or clear texels).
inline TBitmap32 VaryingAlphaPicture(int w, int h) {
  TBitmap32 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = ColourRGBA(uint32_t(x), uint32_t(y), uint32_t(x ^ y), uint32_t((x * 7 + y * 3) & 0xFF));
  return p;
}

inline TTexture Texture(const TBitmap32& p) {
  TTexture t;
  t.LoadFromBitmap(p, p.Width, p.Height, 1, p.Width + 2, p.Height + 2, 1, false);
  return t;
}

// A 12 × 18 cell font with blocky glyphs for printable codes.
inline TBitmapFont BenchFont() {
  TBitmapFont f;
  f.Name = "Bench";
  f.CellHeight = 18;
  f.Atlas = TBitmap32(16 * 12, 16 * 18, 0x00FFFFFF);
  for (int code = 32; code < 256; ++code) {
    const int cx = (code % 16) * 12, cy = (code / 16) * 18;
    for (int y = 3; y < 16; ++y)
      for (int x = 1; x < 10; ++x)
        if (((x * 7 + y * 3 + code) % 5) < 3) f.Atlas.At(cx + x, cy + y) = 0xFFFFFFFF;
    f.Glyphs[size_t(code)] = {int16_t(cx + 1), int16_t(cy + 3), 9, 13, 1, 3, 11};
  }
  return f;
}

}  // namespace kw::bench
