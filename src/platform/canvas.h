// The software canvas: every drawing operation of the engine, into a 32-bit
// target (the frame). Textured shapes multiply each texel by the colour
// interpolated over the shape, channel by channel, alpha included, and blend
// by the effect word (platform/blend.h); fragments whose alpha is 0 are not
// written (alpha testing).
//
// Sampling: pixel centres map to texel centres. Without filtering a pixel
// takes the texel its centre falls in; with filtering (Antialias) the four
// texels around it, bilinearly. Both clamp to the pattern's own edges. So an
// unscaled, unrotated draw at whole-pixel positions reproduces the picture
// exactly, filtered or not.
//
// Coverage: a pixel belongs to a shape when its centre lies inside, with
// the top-left rule on edges, so shapes that share an edge (the two
// triangles of a quad, neighbouring tiles) never cover a pixel twice.
//
// Every operation clips to the clip rectangle and the target first and
// returns when nothing is left, then picks a specialised loop per case:
// whole-pixel copies of the picture, constant or vertical-gradient colour,
// opaque copy, 0x504 and 0x104 blending and solid fills have their own
// loops; everything else goes through the general loop. SetReferenceMode
// forces the general loop for every draw, which the tests use as the
// reference for the fast loops.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/bitmap32.h"
#include "platform/blend.h"
#include "platform/texture.h"

namespace kw {

struct TPointF {
  double X = 0, Y = 0;
};

// Rectangle with exclusive right and bottom edges.
struct TClipRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TClipRect&) const = default;
};

// Corner colours in the order top-left, top-right, bottom-right, bottom-left.
using TColour4 = std::array<uint32_t, 4>;
constexpr TColour4 Colour4(uint32_t c) { return {c, c, c, c}; }

class TCanvas {
 public:
  // Draws into `target`, which must outlive the canvas. The clip rectangle
  // starts as the whole target.
  explicit TCanvas(TBitmap32& target);

  // Bilinear filtering of textured draws.
  bool Antialias() const { return antialias_; }
  void SetAntialias(bool on) { antialias_ = on; }

  // The clip rectangle as last set (swapped corners normalised). Drawing is
  // always confined to the target besides.
  TClipRect ClipRect() const { return clip_; }
  void SetClipRect(const TClipRect& rect);
  void ResetClipRect();

  // Only the general loop (tests compare the fast loops against it).
  void SetReferenceMode(bool on) { reference_ = on; }

  // Fills the whole target with a colour, without blending or clipping.
  void Clear(uint32_t colour);

  // Pattern at natural size, top-left at (x, y). A missing or empty texture
  // draws nothing; pattern indices are clamped to the texture's range.
  void Draw(const TTexture* texture, int pattern, double x, double y, uint32_t colour, uint32_t effect);
  // Size = pattern size × scale, each rounded to whole pixels.
  void DrawScaled(const TTexture* texture, int pattern, double x, double y, double scale,
                  uint32_t colour, uint32_t effect);
  // Turned about its centre (cx, cy) by `angle` radians (clockwise on
  // screen), size = pattern size × scale.
  void DrawRotated(const TTexture* texture, int pattern, double cx, double cy, double angle,
                   double scale, uint32_t colour, uint32_t effect);
  // The source rectangle (sx, sy, sw, sh) of a pattern, in its texels,
  // mapped onto the quad of four corners (top-left, top-right, bottom-right,
  // bottom-left), each with its colour. A width or height below 1 takes the
  // whole pattern.
  void Map(const TTexture* texture, const std::array<TPointF, 4>& corners, const TColour4& colours,
           int pattern, double sx, double sy, double sw, double sh, uint32_t effect);

  // Rectangles with corner colours.
  void FillRect(double left, double top, double width, double height, const TColour4& colours,
                uint32_t effect);
  // A one-pixel outline just inside the rectangle, its colour running along
  // each edge between the corner colours.
  void FrameRect(double left, double top, double width, double height, const TColour4& colours,
                 uint32_t effect);
  // The inside filled, then the outline; no pixel is drawn twice.
  void FillFrameRect(double left, double top, double width, double height, const TColour4& fill,
                     const TColour4& frame, uint32_t effect);
  void FillTriangle(TPointF a, TPointF b, TPointF c, uint32_t ca, uint32_t cb, uint32_t cc,
                    uint32_t effect);
  void FillTriangle(TPointF a, TPointF b, TPointF c, uint32_t colour, uint32_t effect) {
    FillTriangle(a, b, c, colour, colour, colour, effect);
  }

  int Width() const { return target_.Width; }
  int Height() const { return target_.Height; }

  struct TVertex {
    double X = 0, Y = 0, U = 0, V = 0;
    uint32_t Colour = 0xFFFFFFFF;
  };

 private:
  // Quad corners in the order top-left, top-right, bottom-right,
  // bottom-left; `pattern` null draws an untextured shape.
  void DrawQuad(const TTexture::TPattern* pattern, const std::array<TVertex, 4>& v, uint32_t effect);
  bool TryBlit(const TTexture::TPattern& pattern, const std::array<TVertex, 4>& v, const TBlend& blend);
  void DrawTriangle(const TTexture::TPattern* pattern, TVertex a, TVertex b, TVertex c, const TBlend& blend);
  // The clip rectangle intersected with the target.
  TClipRect Bounds() const;

  TBitmap32& target_;
  std::vector<uint32_t> rowColours_;  // scratch of TryBlit
  TClipRect clip_;
  bool antialias_ = false;
  bool reference_ = false;
};

}  // namespace kw
