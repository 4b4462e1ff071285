// Helpers of the canvas tests: tiny targets and textures, and a comparison
// of whole pictures that prints every differing pixel with the input.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/bitmap32.h"
#include "platform/texture.h"

namespace kw::test {

inline std::string Hex(uint32_t c) {
  char b[16];
  std::snprintf(b, sizeof b, "%08X", c);
  return b;
}

inline std::string Dump(const TBitmap32& p) {
  std::string s;
  for (int y = 0; y < p.Height; ++y) {
    for (int x = 0; x < p.Width; ++x) s += Hex(p.At(x, y)) + (x + 1 < p.Width ? " " : "");
    s += "\n";
  }
  return s;
}

// Every pixel equal; otherwise the pictures (small ones) or the first
// differences (large ones) with the caller's description of the input.
inline ::testing::AssertionResult SamePixels(const TBitmap32& expected, const TBitmap32& actual,
                                             const std::string& input = {}) {
  if (expected.Width != actual.Width || expected.Height != actual.Height)
    return ::testing::AssertionFailure() << "size differs";
  std::string diffs;
  int count = 0;
  for (int y = 0; y < expected.Height; ++y)
    for (int x = 0; x < expected.Width; ++x)
      if (expected.At(x, y) != actual.At(x, y) && ++count <= 12)
        diffs += "  (" + std::to_string(x) + "," + std::to_string(y) + ") expected " + Hex(expected.At(x, y)) +
                 " actual " + Hex(actual.At(x, y)) + "\n";
  if (count == 0) return ::testing::AssertionSuccess();
  auto f = ::testing::AssertionFailure();
  f << "input: " << input << "\n" << count << " pixels differ\n" << diffs;
  if (expected.Width * expected.Height <= 64) f << "expected:\n" << Dump(expected) << "actual:\n" << Dump(actual);
  return f;
}

// Deterministic pseudo-random words.
struct TRandom {
  uint32_t State;
  explicit TRandom(uint32_t seed) : State(seed * 2654435761u + 1) {}
  uint32_t Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
  }
};

inline TBitmap32 RandomPicture(int w, int h, uint32_t seed, bool someTransparent = true) {
  TBitmap32 p(w, h);
  TRandom r(seed);
  for (auto& c : p.Pixels) {
    c = r.Next();
    const uint32_t pick = r.Next() % 8;
    if (someTransparent && pick == 0) c &= 0x00FFFFFF;  // alpha 0
    if (pick == 1) c |= 0xFF000000;                     // opaque
    if (!someTransparent && (c >> 24) == 0) c |= 0x01000000;
  }
  return p;
}

inline TTexture TextureOf(const TBitmap32& p, int patternW = 0, int patternH = 0, int count = 1) {
  TTexture t;
  t.LoadFromBitmap(p, patternW, patternH, count, patternW + 2, patternH + 2, count, false);
  return t;
}

}  // namespace kw::test
