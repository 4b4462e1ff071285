#include "platform/texture.h"

#include <algorithm>

#include "platform/blend.h"
#include "platform/log.h"

namespace kw {

namespace {

constexpr int MaxSide = 16384;
constexpr size_t MaxPatternTexels = size_t(1) << 28;  // about a gigabyte of pixels in all

uint32_t Keyed(uint32_t c) {
  return (ColourRed(c) <= KeyThreshold && ColourGreen(c) <= KeyThreshold &&
          ColourBlue(c) <= KeyThreshold) ? 0u : c;
}

}  // namespace

const uint32_t* TTexture::TPattern::PremultipliedOrigin() const {
  if (premultiplied_.size() != Pixels.size()) {
    premultiplied_.resize(Pixels.size());
    for (size_t i = 0; i < Pixels.size(); ++i) {
      const uint32_t c = Pixels[i], a = c >> 24;
      uint32_t out = 0;
      for (int sh = 0; sh < 32; sh += 8) out |= Div255Round(((c >> sh) & 0xFF) * a) << sh;
      premultiplied_[i] = out;
    }
  }
  return premultiplied_.data() + Stride() + 1;
}

void TTexture::AddPattern(const TBitmap32& bitmap, int x, int y, int w, int h, bool keyFlag) {
  TPattern p;
  p.W = w;
  p.H = h;
  p.Pixels.assign(size_t(w + 2) * size_t(h + 2), 0);
  uint32_t* origin = p.Pixels.data() + p.Stride() + 1;
  for (int row = 0; row < h; ++row) {
    int sy = y + row;
    uint32_t* out = origin + size_t(row) * size_t(p.Stride());
    for (int col = 0; col < w; ++col) {
      int sx = x + col;
      uint32_t c = (sx >= 0 && sy >= 0 && sx < bitmap.Width && sy < bitmap.Height) ? bitmap.At(sx, sy) : 0;
      out[col] = keyFlag ? Keyed(c) : c;
    }
    out[-1] = out[0];
    out[w] = out[w - 1];
  }
  p.NoClearTexels = true;
  for (int row = 0; row < h && p.NoClearTexels; ++row)
    for (int col = 0; col < w; ++col)
      if ((origin[size_t(row) * size_t(p.Stride()) + size_t(col)] >> 24) == 0) {
        p.NoClearTexels = false;
        break;
      }
  const size_t stride = size_t(p.Stride());
  std::copy_n(origin - 1, stride, origin - 1 - stride);
  std::copy_n(origin - 1 + size_t(h - 1) * stride, stride, origin - 1 + size_t(h) * stride);
  patterns_.push_back(std::move(p));
}

bool TTexture::LoadFromBitmap(const TBitmap32& bitmap, int patternW, int patternH, int patternCount,
                              int textureW, int textureH, int textureCount, bool keyFlag) {
  patterns_.clear();
  patternW_ = patternH_ = textureW_ = textureH_ = textureCount_ = 0;
  if (bitmap.Empty() || bitmap.Pixels.size() != size_t(bitmap.Width) * size_t(bitmap.Height)) {
    KwLog("texture %s: empty or inconsistent bitmap", Name.c_str());
    return false;
  }
  if (patternW <= 0 || patternH <= 0) {
    patternW = bitmap.Width;
    patternH = bitmap.Height;
    patternCount = 1;
  }
  if (patternW > MaxSide || patternH > MaxSide) {
    KwLog("texture %s: pattern %dx%d too large", Name.c_str(), patternW, patternH);
    return false;
  }
  patternCount = std::max(patternCount, 1);
  if (size_t(patternCount) * size_t(patternW + 2) * size_t(patternH + 2) > MaxPatternTexels) {
    KwLog("texture %s: %d patterns of %dx%d too many", Name.c_str(), patternCount, patternW, patternH);
    return false;
  }
  const int columns = std::max(1, bitmap.Width / patternW);
  patterns_.reserve(size_t(patternCount));
  for (int i = 0; i < patternCount; ++i)
    AddPattern(bitmap, (i % columns) * patternW, (i / columns) * patternH, patternW, patternH, keyFlag);
  patternW_ = patternW;
  patternH_ = patternH;
  textureW_ = std::max(textureW, patternW);
  textureH_ = std::max(textureH, patternH);
  // As many textures as asked hold one pattern each; fewer textures share
  // the patterns out, as many to a texture as fit.
  const int fit = (textureW_ / patternW) * (textureH_ / patternH);
  perTexture_ = textureCount >= patternCount
                    ? 1
                    : std::min(fit, (patternCount + std::max(textureCount, 1) - 1) / std::max(textureCount, 1));
  textureCount_ = std::max(textureCount, (patternCount + perTexture_ - 1) / perTexture_);
  return true;
}

bool TTexture::LoadPatterns(const TBitmap32& bitmap, const std::vector<TPatternRect>& rects) {
  patterns_.clear();
  patternW_ = patternH_ = textureW_ = textureH_ = textureCount_ = 0;
  if (bitmap.Empty() || rects.empty()) return false;
  patterns_.reserve(rects.size());
  for (const TPatternRect& r : rects) {
    int x0 = std::clamp(r.X, 0, bitmap.Width), y0 = std::clamp(r.Y, 0, bitmap.Height);
    int x1 = std::clamp(r.X + std::max(r.W, 0), x0, bitmap.Width);
    int y1 = std::clamp(r.Y + std::max(r.H, 0), y0, bitmap.Height);
    // An empty rectangle still takes its index, as one transparent texel.
    if (x1 == x0 || y1 == y0) {
      TBitmap32 none(1, 1, 0);
      AddPattern(none, 0, 0, 1, 1, false);
    } else {
      AddPattern(bitmap, x0, y0, x1 - x0, y1 - y0, false);
    }
  }
  patternW_ = bitmap.Width;
  patternH_ = bitmap.Height;
  perTexture_ = 1;
  textureW_ = bitmap.Width;
  textureH_ = bitmap.Height;
  textureCount_ = 1;
  return true;
}

int TTexture::ClampPattern(int pattern) const {
  if (patterns_.empty()) return 0;
  return std::clamp(pattern, 0, int(patterns_.size()) - 1);
}

uint32_t TTexture::PatternPixel(int pattern, int x, int y) const {
  if (pattern < 0 || pattern >= int(patterns_.size())) return 0;
  const TPattern& p = patterns_[size_t(pattern)];
  if (x < 0 || y < 0 || x >= p.W || y >= p.H) return 0;
  return p.Origin()[size_t(y) * size_t(p.Stride()) + size_t(x)];
}

uint32_t TTexture::Pixel(int x, int y, int texture) const {
  if (patterns_.empty() || texture < 0 || texture >= textureCount_) return 0;
  if (x < 0 || y < 0 || x >= textureW_ || y >= textureH_) return 0;
  const int perRow = textureW_ / patternW_;
  const int cx = x / patternW_, cy = y / patternH_;
  const int slot = cy * perRow + cx;
  if (cx >= perRow || slot >= perTexture_) return 0;
  const long pattern = long(texture) * perTexture_ + slot;
  if (pattern >= long(patterns_.size())) return 0;
  return PatternPixel(int(pattern), x % patternW_, y % patternH_);
}

}  // namespace kw
