// Blending by the effect word, through every drawing path.
#include <gtest/gtest.h>

#include "canvas_pixels.h"
#include "platform/blend.h"
#include "platform/canvas.h"

namespace kw {
namespace {

using test::Hex;

constexpr uint32_t Src = 0x80402010;  // R 16, G 32, B 64, A 128
constexpr uint32_t Dst = 0xC0306090;  // R 144, G 96, B 48, A 192

struct TBlendCase {
  uint32_t Effect;
  uint32_t Expected;
};

// Known answers: each source factor with a zero destination, each
// destination factor with a zero source, each operation, and a few mixes.
const TBlendCase BlendCases[] = {
    {0x0, 0x00000000},      {0x1, 0x80402010},      {0x2, 0x40100401},      {0x3, 0x40301C0F},
    {0x4, 0x40201008},      {0x5, 0x40201008},      {0x6, 0x6030180C},      {0x7, 0x20100804},
    {0x8, 0x600C0C09},      {0x9, 0x20341407},      {0xA, 0x80100804},      {0x100, 0xC0306090},
    {0x200, 0x600C0C09},    {0x300, 0x60245487},    {0x400, 0x60183048},    {0x500, 0x60183048},
    {0x600, 0x9124486C},    {0x700, 0x2F0C1824},    {0x800, 0x91092451},    {0x900, 0x2F273C3F},
    {0xA00, 0xC00C1824},    {0x101, 0xFF7080A0},    {0x10101, 0x40004080},  {0x20101, 0x00100000},
    {0x30101, 0x80302010},  {0x40101, 0xC0406090},  {0x10504, 0x1F002040},  {0x20504, 0x00080000},
    {0x802, 0xD1192852},    {0x10A, 0xFF406894},    {0x30504, 0x80302010},  {0x40706, 0xC0406090},
    // Bits 24-31 are not part of the blend.
    {0xFF000504, 0xA0384050},
};

class BlendTable : public ::testing::TestWithParam<TBlendCase> {};

// One pixel drawn three ways: as a fill, as a texel of a picture (fast
// loops) and through the general loop.
TEST_P(BlendTable, EveryPathGivesTheKnownAnswer) {
  const TBlendCase c = GetParam();
  const TTexture texture = test::TextureOf(TBitmap32(1, 1, Src));
  for (int way = 0; way < 4; ++way) {
    TBitmap32 target(1, 1, Dst);
    TCanvas canvas(target);
    canvas.SetReferenceMode(way >= 2);
    if (way % 2 == 0) canvas.FillRect(0, 0, 1, 1, Colour4(Src), c.Effect);
    else canvas.Draw(&texture, 0, 0, 0, 0xFFFFFFFF, c.Effect);
    EXPECT_EQ(Hex(target.At(0, 0)), Hex(c.Expected))
        << "effect " << Hex(c.Effect) << " way " << way << " src " << Hex(Src) << " dst " << Hex(Dst);
  }
  EXPECT_EQ(Hex(BlendReference(Src, Dst, DecodeEffect(c.Effect))), Hex(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(Effects, BlendTable, ::testing::ValuesIn(BlendCases));

TEST(Blend, UnknownCodesDrawAsAlphaBlending) {
  const uint32_t alpha = BlendReference(Src, Dst, DecodeEffect(0x504));
  for (uint32_t effect : {0xB04u, 0x50Bu, 0x50504u, 0xFF0101u, 0x0C0Cu}) {
    TBitmap32 target(1, 1, Dst);
    TCanvas canvas(target);
    canvas.FillRect(0, 0, 1, 1, Colour4(Src), effect);
    EXPECT_EQ(Hex(target.At(0, 0)), Hex(alpha)) << "effect " << Hex(effect);
  }
}

// A fragment whose alpha is 0 is never written, whatever the blend would
// give (here a copy, a zeroing, an inverse and a subtraction).
TEST(Blend, AlphaTestSkipsTransparentFragments) {
  const uint32_t clear = 0x00FFFFFF;
  const TTexture texture = test::TextureOf(TBitmap32(1, 1, clear));
  for (uint32_t effect : {0x1u, 0x0u, 0x903u, 0x20101u, 0x504u, 0x104u}) {
    for (bool reference : {false, true}) {
      TBitmap32 target(2, 1, Dst);
      TCanvas canvas(target);
      canvas.SetReferenceMode(reference);
      canvas.FillRect(0, 0, 1, 1, Colour4(clear), effect);
      canvas.Draw(&texture, 0, 1, 0, 0xFFFFFFFF, effect);
      EXPECT_EQ(Hex(target.At(0, 0)), Hex(Dst)) << "fill, effect " << Hex(effect);
      EXPECT_EQ(Hex(target.At(1, 0)), Hex(Dst)) << "draw, effect " << Hex(effect);
    }
  }
  // The test applies to the tinted texel: opacity 0 in the colour hides it.
  TBitmap32 target(1, 1, Dst);
  TCanvas canvas(target);
  const TTexture opaque = test::TextureOf(TBitmap32(1, 1, 0xFF112233));
  canvas.Draw(&opaque, 0, 0, 0, 0x00FFFFFF, 0x1);
  EXPECT_EQ(Hex(target.At(0, 0)), Hex(Dst));
}

TEST(Blend, Div255RoundIsExactRounding) {
  for (uint32_t x = 0; x <= 255 * 255; ++x)
    ASSERT_EQ(Div255Round(x), (2 * x + 255) / 510) << x;
}

TEST(Blend, TexelTimesColourPerChannel) {
  TBitmap32 target(1, 1, 0);
  TCanvas canvas(target);
  const TTexture texture = test::TextureOf(TBitmap32(1, 1, 0xFF8040FF));
  canvas.Draw(&texture, 0, 0, 0, 0x80FF8040, 0x1);
  // R 255*64, G 64*128, B 128*255, A 255*128, each /255 rounded.
  EXPECT_EQ(Hex(target.At(0, 0)), Hex(0x80802040));
}

}  // namespace
}  // namespace kw
