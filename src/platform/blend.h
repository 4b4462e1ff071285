// Blending by the effect word: the reference arithmetic every drawing path
// must reproduce. Colours are 0xAABBGGRR words; factors and channels are
// bytes standing for 0..1.
//
// The effect word holds the source factor in bits 0-7, the destination
// factor in bits 8-15 and the operation in bits 16-23 (bits 24-31 are not
// looked at). Factors 0-10: zero, one, source colour, inverse source colour,
// source alpha, inverse source alpha, destination alpha, inverse
// destination alpha, destination colour, inverse destination colour,
// saturated source alpha. Operations 0-4: add, reverse subtract (D - S),
// subtract (S - D), minimum, maximum; minimum and maximum ignore the factors.
// The same equation applies to colour and alpha. A word with a factor or
// operation code outside those ranges draws as 0x504 (alpha blending).
#pragma once

#include <cstdint>

namespace kw {

// Effect words the engine draws most.
constexpr uint32_t EffectCopy = 0x001;   // opaque copy
constexpr uint32_t EffectAlpha = 0x504;  // alpha blending
constexpr uint32_t EffectAdd = 0x104;    // additive

// Which inner loop a decoded effect word selects; General covers every
// other combination through the reference arithmetic.
enum class TBlendKind : uint8_t { Copy, Alpha, Add, General };

struct TBlend {
  TBlendKind Kind = TBlendKind::Alpha;
  uint8_t SrcFactor = 4;
  uint8_t DstFactor = 5;
  uint8_t Op = 0;
};

// Splits an effect word; unknown codes give the 0x504 blend.
TBlend DecodeEffect(uint32_t effect);

// round(x / 255) for 0 <= x <= 255 * 255, exact (255 is odd, so there
// are no ties).
constexpr uint32_t Div255Round(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

// Texel times colour, channel by channel (alpha included), rounded.
constexpr uint32_t ModulateReference(uint32_t texel, uint32_t colour) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    uint32_t t = (texel >> shift) & 0xFF, c = (colour >> shift) & 0xFF;
    out |= Div255Round(t * c) << shift;
  }
  return out;
}

// One fragment blended onto one destination pixel by the rules above, with
// the alpha test: a fragment whose alpha is 0 leaves the pixel unchanged.
uint32_t BlendReference(uint32_t src, uint32_t dst, const TBlend& blend);

}  // namespace kw
