// A texture of the canvas: one picture cut into patterns (animation frames,
// glyphs), each kept as its own pixel block with a one-texel border that
// repeats its edge. Sampling therefore clamps to the pattern's own edges and
// filtering never bleeds between neighbouring frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap32.h"

namespace kw {

// With the key flag, a pixel whose red, green and blue are all at most this
// value becomes fully transparent (0x00000000). The margin lets the slightly
// lifted blacks of lossy pictures and of antialiased white-on-black text key
// out as pure black does.
constexpr uint32_t KeyThreshold = 8;

struct TPatternRect {
  int X = 0, Y = 0, W = 0, H = 0;
};

class TTexture {
 public:
  std::string Name;

  // Cuts `bitmap` into `patternCount` patterns of patternW × patternH, left
  // to right and top to bottom; pixels a pattern reaches outside the bitmap
  // are transparent. A pattern size of 0 or less takes the whole bitmap as
  // one pattern. Texture size and count say how patterns are grouped for
  // Pixel reads: with at least as many textures as patterns each texture
  // holds one pattern at its top-left; with fewer, the patterns are shared
  // out, filling each texture left to right and top to bottom. False (and an
  // empty texture) when there is nothing to cut or sizes are unreasonable.
  bool LoadFromBitmap(const TBitmap32& bitmap, int patternW, int patternH, int patternCount,
                      int textureW, int textureH, int textureCount, bool keyFlag);
  // One pattern per rectangle of `bitmap` (glyph atlases); rectangles are
  // clipped to the bitmap.
  bool LoadPatterns(const TBitmap32& bitmap, const std::vector<TPatternRect>& rects);

  int PatternCount() const { return int(patterns_.size()); }
  int PatternWidth() const { return patternW_; }
  int PatternHeight() const { return patternH_; }
  int TextureCount() const { return textureCount_; }
  int TextureWidth() const { return textureW_; }
  int TextureHeight() const { return textureH_; }
  // Clamps a pattern index into the texture's range (0 when empty).
  int ClampPattern(int pattern) const;

  // Pixel (x, y) of texture `texture` as 0xAABBGGRR; 0 outside.
  uint32_t Pixel(int x, int y, int texture) const;
  // Pixel (x, y) of a pattern; 0 outside.
  uint32_t PatternPixel(int pattern, int x, int y) const;

  // Padded pixel block of a pattern: (W + 2) × (H + 2) words, the pattern's
  // texel (0, 0) at Origin().
  struct TPattern {
    int W = 0, H = 0;
    std::vector<uint32_t> Pixels;
    bool NoClearTexels = false;  // no texel has alpha 0: an opaque copy is a plain copy
    int Stride() const { return W + 2; }
    const uint32_t* Origin() const { return Pixels.data() + Stride() + 1; }
    // The same block with every channel, alpha included, multiplied by the
    // texel's alpha: additive blending of an untinted picture is then a
    // saturating add. Made on first use (the canvas runs on one thread).
    const uint32_t* PremultipliedOrigin() const;

   private:
    mutable std::vector<uint32_t> premultiplied_;
  };
  const TPattern& Pattern(int pattern) const { return patterns_[size_t(ClampPattern(pattern))]; }
  bool Empty() const { return patterns_.empty(); }

 private:
  void AddPattern(const TBitmap32& bitmap, int x, int y, int w, int h, bool keyFlag);

  std::vector<TPattern> patterns_;
  int patternW_ = 0, patternH_ = 0;
  int textureW_ = 0, textureH_ = 0, textureCount_ = 0;
  int perTexture_ = 1;
};

}  // namespace kw
