// The pixel stages of the canvas's inner loops: colour modulation and
// blending of whole spans. Each blend kind has its own loop (SSE2 on
// x86-64, plain C++ elsewhere); all give exactly the pixels of
// BlendReference and ModulateReference.
#pragma once

#include <cstdint>

#include "platform/blend.h"

namespace kw {

// buf[i] = texel × colour, channel by channel.
void ModulateSpan(uint32_t* buf, int n, uint32_t colour);

// dst[i] = blend of src[i] onto dst[i] by `blend`, alpha test included.
void BlendSpan(const TBlend& blend, const uint32_t* src, uint32_t* dst, int n);

// dst[i] = dst[i] + src[i] per channel, saturated: additive blending of
// texels already multiplied by their alpha.
void AddSaturatedSpan(const uint32_t* src, uint32_t* dst, int n);

// True when the processor runs the AVX2 forms of the loops (checked once).
bool CanvasHasAvx2();

// The general loop alone, whatever the blend kind: the reference the
// specialised loops are tested against.
void BlendSpanReference(const TBlend& blend, const uint32_t* src, uint32_t* dst, int n);

}  // namespace kw
