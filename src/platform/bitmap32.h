// A 32-bit picture in memory: rows top to bottom, pixels as colour words
// 0xAABBGGRR (red in the low byte), the form every picture decoder produces
// and the canvas takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kw {

struct TBitmap32 {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;  // Width * Height words

  TBitmap32() = default;
  TBitmap32(int width, int height, uint32_t fill = 0)
      : Width(width), Height(height), Pixels(size_t(width) * size_t(height), fill) {}

  bool Empty() const { return Width <= 0 || Height <= 0; }
  uint32_t& At(int x, int y) { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

// Colour word helpers.
constexpr uint32_t ColourRGBA(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16) | ((a & 0xFF) << 24);
}
constexpr uint32_t ColourRed(uint32_t c) { return c & 0xFF; }
constexpr uint32_t ColourGreen(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr uint32_t ColourBlue(uint32_t c) { return (c >> 16) & 0xFF; }
constexpr uint32_t ColourAlpha(uint32_t c) { return c >> 24; }

}  // namespace kw
