// The canvas's operations: each turns its arguments into a quad or a
// triangle of vertices for the rasteriser (canvas_raster.cpp).
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>

namespace kw {

TCanvas::TCanvas(TBitmap32& target) : target_(target) { ResetClipRect(); }

void TCanvas::SetClipRect(const TClipRect& r) {
  clip_ = {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
           std::max(r.Top, r.Bottom)};
}

void TCanvas::ResetClipRect() { clip_ = {0, 0, target_.Width, target_.Height}; }

TClipRect TCanvas::Bounds() const {
  return {std::max(clip_.Left, 0), std::max(clip_.Top, 0), std::min(clip_.Right, target_.Width),
          std::min(clip_.Bottom, target_.Height)};
}

void TCanvas::Clear(uint32_t colour) { std::fill(target_.Pixels.begin(), target_.Pixels.end(), colour); }

namespace {

std::array<TCanvas::TVertex, 4> RectVertices(double x0, double y0, double x1, double y1,
                                             const TColour4& c) {
  return {{{x0, y0, 0, 0, c[0]}, {x1, y0, 0, 0, c[1]}, {x1, y1, 0, 0, c[2]}, {x0, y1, 0, 0, c[3]}}};
}

// Exact sine and cosine at whole quarter turns, so that a picture turned by
// 90 degrees lands on whole pixels.
void SinCos(double angle, double& s, double& c) {
  double quarters = angle / (M_PI / 2);
  double whole = std::nearbyint(quarters);
  if (std::fabs(quarters - whole) < 1e-12 && std::fabs(whole) < 1e9) {
    static constexpr double sines[4] = {0, 1, 0, -1};
    int q = int(std::fmod(whole, 4.0));
    if (q < 0) q += 4;
    s = sines[q];
    c = sines[(q + 1) % 4];
    return;
  }
  s = std::sin(angle);
  c = std::cos(angle);
}

// Mixes two colour words channel by channel at t in 0..1.
uint32_t Mix(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    double ca = (a >> sh) & 0xFF, cb = (b >> sh) & 0xFF;
    out |= uint32_t(std::lround(ca + (cb - ca) * t)) << sh;
  }
  return out;
}

}  // namespace

void TCanvas::Draw(const TTexture* texture, int pattern, double x, double y, uint32_t colour,
                   uint32_t effect) {
  if (!texture || texture->Empty()) return;
  const TTexture::TPattern& p = texture->Pattern(pattern);
  Map(texture, {{{x, y}, {x + p.W, y}, {x + p.W, y + p.H}, {x, y + p.H}}}, Colour4(colour), pattern, 0, 0,
      0, 0, effect);
}

void TCanvas::DrawScaled(const TTexture* texture, int pattern, double x, double y, double scale,
                         uint32_t colour, uint32_t effect) {
  if (!texture || texture->Empty() || !std::isfinite(scale)) return;
  const TTexture::TPattern& p = texture->Pattern(pattern);
  double w = std::nearbyint(p.W * scale), h = std::nearbyint(p.H * scale);
  Map(texture, {{{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}}, Colour4(colour), pattern, 0, 0, 0, 0,
      effect);
}

void TCanvas::DrawRotated(const TTexture* texture, int pattern, double cx, double cy, double angle,
                          double scale, uint32_t colour, uint32_t effect) {
  if (!texture || texture->Empty() || !std::isfinite(scale) || !std::isfinite(angle)) return;
  const TTexture::TPattern& p = texture->Pattern(pattern);
  double hw = p.W * scale / 2, hh = p.H * scale / 2, s, c;
  SinCos(angle, s, c);
  auto turn = [&](double dx, double dy) { return TPointF{cx + dx * c - dy * s, cy + dx * s + dy * c}; };
  Map(texture, {{turn(-hw, -hh), turn(hw, -hh), turn(hw, hh), turn(-hw, hh)}}, Colour4(colour), pattern,
      0, 0, 0, 0, effect);
}

void TCanvas::Map(const TTexture* texture, const std::array<TPointF, 4>& corners, const TColour4& colours,
                  int pattern, double sx, double sy, double sw, double sh, uint32_t effect) {
  if (!texture || texture->Empty()) return;
  const TTexture::TPattern& p = texture->Pattern(pattern);
  if (!(sw >= 1) || !(sh >= 1)) {  // also NaN
    sx = sy = 0;
    sw = p.W;
    sh = p.H;
  }
  const double u[4] = {sx, sx + sw, sx + sw, sx}, v[4] = {sy, sy, sy + sh, sy + sh};
  std::array<TVertex, 4> q;
  for (int i = 0; i < 4; ++i) q[size_t(i)] = {corners[size_t(i)].X, corners[size_t(i)].Y, u[i], v[i], colours[size_t(i)]};
  DrawQuad(&p, q, effect);
}

void TCanvas::FillRect(double left, double top, double width, double height, const TColour4& colours,
                       uint32_t effect) {
  if (!(width > 0) || !(height > 0)) return;
  DrawQuad(nullptr, RectVertices(left, top, left + width, top + height, colours), effect);
}

void TCanvas::FrameRect(double left, double top, double width, double height, const TColour4& c,
                        uint32_t effect) {
  if (!(width > 0) || !(height > 0)) return;
  const double right = left + width, bottom = top + height;
  // Top and bottom rows run the full width; the sides fill in between.
  FillRect(left, top, width, std::min(1.0, height), {c[0], c[1], c[1], c[0]}, effect);
  if (height > 1) FillRect(left, bottom - 1, width, 1, {c[3], c[2], c[2], c[3]}, effect);
  if (height > 2) {
    const double t0 = 1 / height, t1 = (height - 1) / height;
    FillRect(left, top + 1, std::min(1.0, width), height - 2,
             {Mix(c[0], c[3], t0), Mix(c[0], c[3], t0), Mix(c[0], c[3], t1), Mix(c[0], c[3], t1)}, effect);
    if (width > 1)
      FillRect(right - 1, top + 1, 1, height - 2,
               {Mix(c[1], c[2], t0), Mix(c[1], c[2], t0), Mix(c[1], c[2], t1), Mix(c[1], c[2], t1)}, effect);
  }
}

void TCanvas::FillFrameRect(double left, double top, double width, double height, const TColour4& fill,
                            const TColour4& frame, uint32_t effect) {
  if (!(width > 0) || !(height > 0)) return;
  if (width > 2 && height > 2) {
    const double tx0 = 1 / width, tx1 = (width - 1) / width, ty0 = 1 / height, ty1 = (height - 1) / height;
    auto at = [&](double tx, double ty) { return Mix(Mix(fill[0], fill[1], tx), Mix(fill[3], fill[2], tx), ty); };
    FillRect(left + 1, top + 1, width - 2, height - 2, {at(tx0, ty0), at(tx1, ty0), at(tx1, ty1), at(tx0, ty1)},
             effect);
  }
  FrameRect(left, top, width, height, frame, effect);
}

void TCanvas::FillTriangle(TPointF a, TPointF b, TPointF c, uint32_t ca, uint32_t cb, uint32_t cc,
                           uint32_t effect) {
  DrawTriangle(nullptr, {a.X, a.Y, 0, 0, ca}, {b.X, b.Y, 0, 0, cb}, {c.X, c.Y, 0, 0, cc}, DecodeEffect(effect));
}

}  // namespace kw
