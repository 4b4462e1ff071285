#include "platform/blend_span.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KW_CANVAS_AVX2 1
#endif

namespace kw {

bool CanvasHasAvx2() {
#if KW_CANVAS_AVX2
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

namespace {

#if defined(__SSE2__)

// round(x / 255) on 16-bit lanes holding 0..255*255.
inline __m128i Div255(__m128i x) {
  x = _mm_add_epi16(x, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Alpha of each of two unpacked pixels spread over its four lanes.
inline __m128i SpreadAlpha(__m128i px16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3)),
                             _MM_SHUFFLE(3, 3, 3, 3));
}

inline __m128i Modulate4(__m128i s, __m128i c16) {
  const __m128i zero = _mm_setzero_si128();
  __m128i lo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), c16));
  __m128i hi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), c16));
  return _mm_packus_epi16(lo, hi);
}

inline __m128i Alpha4(__m128i s, __m128i d) {
  const __m128i zero = _mm_setzero_si128(), ff = _mm_set1_epi16(255);
  __m128i sl = _mm_unpacklo_epi8(s, zero), sh = _mm_unpackhi_epi8(s, zero);
  __m128i dl = _mm_unpacklo_epi8(d, zero), dh = _mm_unpackhi_epi8(d, zero);
  __m128i al = SpreadAlpha(sl), ah = SpreadAlpha(sh);
  __m128i rl = _mm_add_epi16(_mm_mullo_epi16(sl, al), _mm_mullo_epi16(dl, _mm_sub_epi16(ff, al)));
  __m128i rh = _mm_add_epi16(_mm_mullo_epi16(sh, ah), _mm_mullo_epi16(dh, _mm_sub_epi16(ff, ah)));
  return _mm_packus_epi16(Div255(rl), Div255(rh));
}

inline __m128i Add4(__m128i s, __m128i d) {
  const __m128i zero = _mm_setzero_si128();
  __m128i sl = _mm_unpacklo_epi8(s, zero), sh = _mm_unpackhi_epi8(s, zero);
  __m128i rl = Div255(_mm_mullo_epi16(sl, SpreadAlpha(sl)));
  __m128i rh = Div255(_mm_mullo_epi16(sh, SpreadAlpha(sh)));
  return _mm_adds_epu8(d, _mm_packus_epi16(rl, rh));
}

inline __m128i Copy4(__m128i s, __m128i d) {
  __m128i transparent =
      _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u))), _mm_setzero_si128());
  return _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
}

#endif

#if KW_CANVAS_AVX2
// Eight-pixel forms of the same arithmetic.
__attribute__((target("avx2"))) inline __m256i Div255x(__m256i x) {
  x = _mm256_add_epi16(x, _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
}

__attribute__((target("avx2"))) inline __m256i SpreadAlphax(__m256i px16) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

__attribute__((target("avx2"))) inline __m256i Alpha8(__m256i s, __m256i d) {
  const __m256i zero = _mm256_setzero_si256(), ff = _mm256_set1_epi16(255);
  __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
  __m256i dl = _mm256_unpacklo_epi8(d, zero), dh = _mm256_unpackhi_epi8(d, zero);
  __m256i al = SpreadAlphax(sl), ah = SpreadAlphax(sh);
  __m256i rl = _mm256_add_epi16(_mm256_mullo_epi16(sl, al), _mm256_mullo_epi16(dl, _mm256_sub_epi16(ff, al)));
  __m256i rh = _mm256_add_epi16(_mm256_mullo_epi16(sh, ah), _mm256_mullo_epi16(dh, _mm256_sub_epi16(ff, ah)));
  return _mm256_packus_epi16(Div255x(rl), Div255x(rh));
}

__attribute__((target("avx2"))) inline __m256i Add8(__m256i s, __m256i d) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
  __m256i rl = Div255x(_mm256_mullo_epi16(sl, SpreadAlphax(sl)));
  __m256i rh = Div255x(_mm256_mullo_epi16(sh, SpreadAlphax(sh)));
  return _mm256_adds_epu8(d, _mm256_packus_epi16(rl, rh));
}

__attribute__((target("avx2"))) inline __m256i Copy8(__m256i s, __m256i d) {
  __m256i clear = _mm256_cmpeq_epi32(_mm256_and_si256(s, _mm256_set1_epi32(int(0xFF000000u))), _mm256_setzero_si256());
  return _mm256_blendv_epi8(s, d, clear);
}

template <TBlendKind K>
__attribute__((target("avx2"))) int BlendSpanAvx2(const uint32_t* src, uint32_t* dst, int n) {
  const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i r;
    if constexpr (K == TBlendKind::Alpha) {
      const __m256i a = _mm256_and_si256(s, alphaMask);
      const int opaque = _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, alphaMask));
      if (opaque == -1) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
        continue;
      }
      if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, _mm256_setzero_si256())) == -1) continue;
      r = Alpha8(s, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i)));
    } else if constexpr (K == TBlendKind::Add) {
      r = Add8(s, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i)));
    } else {
      r = Copy8(s, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i)));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), r);
  }
  return i;
}

__attribute__((target("avx2"))) int ModulateAvx2(uint32_t* buf, int n, uint32_t colour) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i c16 = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(colour)), zero);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(buf + i));
    __m256i lo = Div255x(_mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), c16));
    __m256i hi = Div255x(_mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), c16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(buf + i), _mm256_packus_epi16(lo, hi));
  }
  return i;
}
#endif

// Scalar forms of the specialised kinds (the tails of SIMD loops and the
// portable build); the same integer formulas as the reference.
inline uint32_t AlphaPixel(uint32_t s, uint32_t d) {
  uint32_t a = s >> 24, out = 0;
  for (int sh = 0; sh < 32; sh += 8)
    out |= Div255Round(((s >> sh) & 0xFF) * a + ((d >> sh) & 0xFF) * (255 - a)) << sh;
  return out;
}

inline uint32_t AddPixel(uint32_t s, uint32_t d) {
  uint32_t a = s >> 24, out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    uint32_t v = ((d >> sh) & 0xFF) + Div255Round(((s >> sh) & 0xFF) * a);
    out |= (v > 255 ? 255 : v) << sh;
  }
  return out;
}

template <TBlendKind K>
inline uint32_t BlendPixel(const TBlend& b, uint32_t s, uint32_t d) {
  if constexpr (K == TBlendKind::Copy) return (s >> 24) ? s : d;
  else if constexpr (K == TBlendKind::Alpha) return AlphaPixel(s, d);
  else if constexpr (K == TBlendKind::Add) return AddPixel(s, d);
  else return BlendReference(s, d, b);
}

template <TBlendKind K>
void BlendSpanT(const TBlend& b, const uint32_t* src, uint32_t* dst, int n) {
  int i = 0;
#if KW_CANVAS_AVX2
  if constexpr (K != TBlendKind::General)
    if (CanvasHasAvx2()) i = BlendSpanAvx2<K>(src, dst, n);
#endif
#if defined(__SSE2__)
  if constexpr (K != TBlendKind::General) {
    for (; i + 4 <= n; i += 4) {
      __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
      __m128i r;
      if constexpr (K == TBlendKind::Copy) r = Copy4(s, d);
      else if constexpr (K == TBlendKind::Alpha) {
        // Runs of opaque or fully transparent texels are common in sprites.
        int alphaBits = _mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u))), _mm_set1_epi32(int(0xFF000000u))));
        if ((alphaBits & 0x8888) == 0x8888) r = s;
        else {
          int none = _mm_movemask_epi8(_mm_cmpeq_epi32(
              _mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u))), _mm_setzero_si128()));
          if (none == 0xFFFF) continue;
          r = Alpha4(s, d);
        }
      } else r = Add4(s, d);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), r);
    }
  }
#endif
  for (; i < n; ++i) dst[i] = BlendPixel<K>(b, src[i], dst[i]);
}

}  // namespace

void ModulateSpan(uint32_t* buf, int n, uint32_t colour) {
  if (colour == 0xFFFFFFFFu) return;
  int i = 0;
#if KW_CANVAS_AVX2
  if (CanvasHasAvx2()) i = ModulateAvx2(buf, n, colour);
#endif
#if defined(__SSE2__)
  const __m128i c16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(colour)), _mm_setzero_si128());
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(buf + i), Modulate4(s, c16));
  }
#endif
  for (; i < n; ++i) buf[i] = ModulateReference(buf[i], colour);
}

void BlendSpan(const TBlend& blend, const uint32_t* src, uint32_t* dst, int n) {
  switch (blend.Kind) {
    case TBlendKind::Copy: BlendSpanT<TBlendKind::Copy>(blend, src, dst, n); break;
    case TBlendKind::Alpha: BlendSpanT<TBlendKind::Alpha>(blend, src, dst, n); break;
    case TBlendKind::Add: BlendSpanT<TBlendKind::Add>(blend, src, dst, n); break;
    case TBlendKind::General: BlendSpanT<TBlendKind::General>(blend, src, dst, n); break;
  }
}

#if KW_CANVAS_AVX2
namespace {
__attribute__((target("avx2"))) int AddSaturatedAvx2(const uint32_t* src, uint32_t* dst, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_adds_epu8(d, s));
  }
  return i;
}
}  // namespace
#endif

void AddSaturatedSpan(const uint32_t* src, uint32_t* dst, int n) {
  int i = 0;
#if KW_CANVAS_AVX2
  if (CanvasHasAvx2()) i = AddSaturatedAvx2(src, dst, n);
#endif
#if defined(__SSE2__)
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_adds_epu8(d, s));
  }
#endif
  for (; i < n; ++i) {
    // Bytewise saturating add in one word: add the low seven bits, then
    // fix the top bits and fill the bytes that overflowed.
    const uint32_t a = src[i], b = dst[i];
    const uint32_t low = (a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu);
    const uint32_t top = (a ^ b) & 0x80808080u;
    const uint32_t overflow = ((a & b) | (top & low)) & 0x80808080u;
    dst[i] = (low ^ top) | ((overflow >> 7) * 0xFFu);
  }
}

void BlendSpanReference(const TBlend& blend, const uint32_t* src, uint32_t* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = BlendReference(src[i], dst[i], blend);
}

namespace {

inline uint32_t AddSaturatedPixel(uint32_t a, uint32_t b) {
  // Bytewise saturating add in one word: add the low seven bits, then fix
  // the top bits and fill the bytes that overflowed.
  const uint32_t low = (a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu);
  const uint32_t top = (a ^ b) & 0x80808080u;
  const uint32_t overflow = ((a & b) | (top & low)) & 0x80808080u;
  return (low ^ top) | ((overflow >> 7) * 0xFFu);
}

#if KW_CANVAS_AVX2
// Whole draws in one call keep the per-row cost of small sprites down.
template <TBlendKind K>
__attribute__((target("avx2"))) void BlendRowsAvx2(const TBlend& b, const TRowSpans& r) {
  for (int row = 0; row < r.Rows; ++row) {
    const uint32_t* src = r.Src + row * r.SrcStride;
    uint32_t* dst = r.Dst + row * r.DstStride;
    const int n = r.Width;
    for (int i = BlendSpanAvx2<K>(src, dst, n); i < n; ++i) dst[i] = BlendPixel<K>(b, src[i], dst[i]);
  }
}

template <TBlendKind K>
__attribute__((target("avx2"))) void BlendRowsTintedAvx2(const TBlend& b, const TRowSpans& r, const uint32_t* colours) {
  const __m256i zero = _mm256_setzero_si256();
  for (int row = 0; row < r.Rows; ++row) {
    const uint32_t* src = r.Src + row * r.SrcStride;
    uint32_t* dst = r.Dst + row * r.DstStride;
    const uint32_t colour = colours[row];
    const __m256i c16 = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(colour)), zero);
    int i = 0;
    for (; i + 8 <= r.Width; i += 8) {
      const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
      const __m256i s = _mm256_packus_epi16(Div255x(_mm256_mullo_epi16(_mm256_unpacklo_epi8(t, zero), c16)),
                                            Div255x(_mm256_mullo_epi16(_mm256_unpackhi_epi8(t, zero), c16)));
      const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
      __m256i out;
      if constexpr (K == TBlendKind::Copy) out = Copy8(s, d);
      else if constexpr (K == TBlendKind::Alpha) out = Alpha8(s, d);
      else out = Add8(s, d);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), out);
    }
    for (; i < r.Width; ++i) dst[i] = BlendPixel<K>(b, ModulateReference(src[i], colour), dst[i]);
  }
}

__attribute__((target("avx2"))) void AddSaturatedRowsAvx2(const TRowSpans& r) {
  for (int row = 0; row < r.Rows; ++row) {
    const uint32_t* src = r.Src + row * r.SrcStride;
    uint32_t* dst = r.Dst + row * r.DstStride;
    const int n = r.Width;
    int i = AddSaturatedAvx2(src, dst, n);
    for (; i < n; ++i) dst[i] = AddSaturatedPixel(src[i], dst[i]);
  }
}
#endif

}  // namespace

void BlendRows(const TBlend& blend, const TRowSpans& r) {
#if KW_CANVAS_AVX2
  if (CanvasHasAvx2()) {
    switch (blend.Kind) {
      case TBlendKind::Copy: BlendRowsAvx2<TBlendKind::Copy>(blend, r); return;
      case TBlendKind::Alpha: BlendRowsAvx2<TBlendKind::Alpha>(blend, r); return;
      case TBlendKind::Add: BlendRowsAvx2<TBlendKind::Add>(blend, r); return;
      case TBlendKind::General: break;
    }
  }
#endif
  for (int row = 0; row < r.Rows; ++row) {
    BlendSpan(blend, r.Src + row * r.SrcStride, r.Dst + row * r.DstStride, r.Width);
  }
}

void BlendRowsTinted(const TBlend& blend, const TRowSpans& r, const uint32_t* colours) {
#if KW_CANVAS_AVX2
  if (CanvasHasAvx2()) {
    switch (blend.Kind) {
      case TBlendKind::Copy: BlendRowsTintedAvx2<TBlendKind::Copy>(blend, r, colours); return;
      case TBlendKind::Alpha: BlendRowsTintedAvx2<TBlendKind::Alpha>(blend, r, colours); return;
      case TBlendKind::Add: BlendRowsTintedAvx2<TBlendKind::Add>(blend, r, colours); return;
      case TBlendKind::General: break;
    }
  }
#endif
  constexpr int chunk = 256;
  alignas(16) uint32_t buf[chunk];
  for (int row = 0; row < r.Rows; ++row) {
    for (int x = 0; x < r.Width; x += chunk) {
      const int n = std::min(chunk, r.Width - x);
      std::copy_n(r.Src + row * r.SrcStride + x, n, buf);
      ModulateSpan(buf, n, colours[row]);
      BlendSpan(blend, buf, r.Dst + row * r.DstStride + x, n);
    }
  }
}

void AddSaturatedRows(const TRowSpans& r) {
#if KW_CANVAS_AVX2
  if (CanvasHasAvx2()) {
    AddSaturatedRowsAvx2(r);
    return;
  }
#endif
  for (int row = 0; row < r.Rows; ++row) {
    AddSaturatedSpan(r.Src + row * r.SrcStride, r.Dst + row * r.DstStride, r.Width);
  }
}

}  // namespace kw
