// The pixel stages of the canvas's inner loops: colour modulation and
// blending of whole spans. Each blend kind has its own loop (SSE2 on
// x86-64, plain C++ elsewhere); all give exactly the pixels of
// BlendReference and ModulateReference.
#pragma once

#include <cstddef>
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

// Rows of an untinted picture onto the target in one call: row r blends
// Width texels from Src + r * SrcStride onto Dst + r * DstStride.
struct TRowSpans {
  const uint32_t* Src = nullptr;
  ptrdiff_t SrcStride = 0;
  uint32_t* Dst = nullptr;
  ptrdiff_t DstStride = 0;
  int Rows = 0;
  int Width = 0;
};
// BlendSpan over every row.
void BlendRows(const TBlend& blend, const TRowSpans& rows);
// Every row's texels multiplied by that row's colour, then blended.
void BlendRowsTinted(const TBlend& blend, const TRowSpans& rows, const uint32_t* colours);
// AddSaturatedSpan over every row (Src premultiplied).
void AddSaturatedRows(const TRowSpans& rows);

// True when the processor runs the AVX2 forms of the loops (checked once).
bool CanvasHasAvx2();

// The general loop alone, whatever the blend kind: the reference the
// specialised loops are tested against.
void BlendSpanReference(const TBlend& blend, const uint32_t* src, uint32_t* dst, int n);

}  // namespace kw
