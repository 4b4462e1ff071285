// The canvas's rasteriser: quads and triangles to spans, spans to pixels.
//
// A triangle is walked row by row; each row's span is found from the edge
// crossings at the row's pixel centre with the top-left rule. Texture
// coordinates and colours are planes over the triangle (affine, as a
// hardware rasteriser interpolates them). A span is then processed in
// chunks through three stages: sample (nearest or bilinear) into a buffer,
// multiply by the colour, blend onto the target. Whole-pixel copies of a
// picture skip the sampling stage and read the pattern's rows directly.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/blend_span.h"
#include "platform/canvas.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KW_CANVAS_AVX2 1
#endif

namespace kw {

namespace {

using TVertex = TCanvas::TVertex;
using TPattern = TTexture::TPattern;

constexpr int Chunk = 256;
constexpr double Fixed = 65536.0;
constexpr double CoordLimit = 1e9;   // coordinates beyond this are treated as this
constexpr double FixedLimit = 1e13;  // keeps fixed-point texel coordinates in range

struct TPlane {
  double Dx = 0, Dy = 0, At0 = 0;  // value at the triangle's first vertex
};

struct TSetup {
  double X0 = 0, Y0 = 0;
  TPlane U, V, C[4];        // C: red, green, blue, alpha
  bool ColourVaries = false;  // some channel changes along a row
  bool ColourConstant = false;  // the same colour at every vertex
  uint32_t Constant = 0;

  double Eval(const TPlane& p, double x, double y) const { return p.At0 + p.Dx * (x - X0) + p.Dy * (y - Y0); }
};

TPlane MakePlane(double fa, double fb, double fc, const TVertex& a, const TVertex& b, const TVertex& c,
                 double det) {
  TPlane p;
  p.At0 = fa;
  p.Dx = ((fb - fa) * (c.Y - a.Y) - (fc - fa) * (b.Y - a.Y)) / det;
  p.Dy = ((fc - fa) * (b.X - a.X) - (fb - fa) * (c.X - a.X)) / det;
  return p;
}

TSetup MakeSetup(const TVertex& a, const TVertex& b, const TVertex& c) {
  TSetup s;
  s.X0 = a.X;
  s.Y0 = a.Y;
  const double det = (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
  s.U = MakePlane(a.U, b.U, c.U, a, b, c, det);
  s.V = MakePlane(a.V, b.V, c.V, a, b, c, det);
  for (int i = 0; i < 4; ++i) {
    const int sh = 8 * i;
    s.C[i] = MakePlane((a.Colour >> sh) & 0xFF, (b.Colour >> sh) & 0xFF, (c.Colour >> sh) & 0xFF, a, b, c, det);
    if (s.C[i].Dx != 0) s.ColourVaries = true;
  }
  s.ColourConstant = a.Colour == b.Colour && a.Colour == c.Colour;
  s.Constant = a.Colour;
  return s;
}

// Rounds to the nearest byte (halves up); truncation is the floor once the
// value is clamped non-negative.
uint32_t ChannelByte(double f) { return uint32_t(std::clamp(f, 0.0, 255.0) + 0.5); }

uint32_t ColourAt(const TSetup& s, double x, double y) {
  if (s.ColourConstant) return s.Constant;
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) out |= ChannelByte(s.Eval(s.C[i], x, y)) << (8 * i);
  return out;
}

// 16.16 fixed point, rounded half away from zero.
int64_t ToFixed(double f) {
  const double t = std::clamp(f, -FixedLimit, FixedLimit) * Fixed;
  return t >= 0 ? int64_t(t + 0.5) : -int64_t(0.5 - t);
}

// Ceiling of a value already limited to CoordLimit.
int Ceil(double f) {
  const int i = int(f);
  return i < f ? i + 1 : i;
}

inline uint32_t SampleNearest(const TPattern& p, int64_t u, int64_t v) {
  const int x = int(std::clamp<int64_t>(u >> 16, 0, p.W - 1));
  const int y = int(std::clamp<int64_t>(v >> 16, 0, p.H - 1));
  return p.Origin()[ptrdiff_t(y) * p.Stride() + x];
}

// u, v already moved back half a texel; the border of the padded pattern
// repeats its edge, so clamping the coordinate to one texel outside is
// clamping to the edge.
inline void BilinearSetup(const TPattern& p, int64_t& u, int64_t& v, const uint32_t*& r0, uint32_t& fx,
                          uint32_t& fy) {
  u = std::clamp<int64_t>(u, -65536, int64_t(p.W) * 65536 - 1);
  v = std::clamp<int64_t>(v, -65536, int64_t(p.H) * 65536 - 1);
  fx = uint32_t(u >> 8) & 0xFF;
  fy = uint32_t(v >> 8) & 0xFF;
  r0 = p.Origin() + ptrdiff_t(v >> 16) * p.Stride() + ptrdiff_t(u >> 16);
}

inline uint32_t SampleBilinearScalar(const TPattern& p, int64_t u, int64_t v) {
  const uint32_t* r0;
  uint32_t fx, fy;
  BilinearSetup(p, u, v, r0, fx, fy);
  const uint32_t* r1 = r0 + p.Stride();
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    uint32_t left = (((r0[0] >> sh) & 0xFF) * (256 - fy) + ((r1[0] >> sh) & 0xFF) * fy + 128) >> 8;
    uint32_t right = (((r0[1] >> sh) & 0xFF) * (256 - fy) + ((r1[1] >> sh) & 0xFF) * fy + 128) >> 8;
    out |= ((left * (256 - fx) + right * fx + 128) >> 8) << sh;
  }
  return out;
}

inline uint32_t SampleBilinear(const TPattern& p, int64_t u, int64_t v) {
#if defined(__SSE2__)
  const uint32_t* r0;
  uint32_t fx, fy;
  BilinearSetup(p, u, v, r0, fx, fy);
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128);
  __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)), zero);
  __m128i bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + p.Stride())), zero);
  __m128i col = _mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(short(256 - fy))),
                              _mm_mullo_epi16(bottom, _mm_set1_epi16(short(fy))));
  col = _mm_srli_epi16(_mm_add_epi16(col, half), 8);
  const short wl = short(256 - fx), wr = short(fx);
  __m128i m = _mm_mullo_epi16(col, _mm_set_epi16(wr, wr, wr, wr, wl, wl, wl, wl));
  m = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(m, _mm_srli_si128(m, 8)), half), 8);
  return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(m, zero)));
#else
  return SampleBilinearScalar(p, u, v);
#endif
}

// Texel coordinates of a span: fixed point at the span's first pixel
// centre, stepped by the row gradient (filtering samples half a texel back).
struct TStepper {
  int64_t U = 0, V = 0, Du = 0, Dv = 0;
  TStepper(const TSetup& s, double xc, double yc, bool filter) {
    const double bias = filter ? 0.5 : 0.0;
    U = ToFixed(s.Eval(s.U, xc, yc) - bias);
    V = ToFixed(s.Eval(s.V, xc, yc) - bias);
    Du = ToFixed(s.U.Dx);
    Dv = ToFixed(s.V.Dx);
  }
};

// Filtered samples along a span whose coordinates all stay within one
// texel of the pattern (the padded border covers that), so no clamping is
// needed: the common case inside a turned or scaled picture.
#if KW_CANVAS_AVX2
__attribute__((target("avx2"))) inline __m256i Lerp16(__m256i a, __m256i b, __m256i w0, __m256i w1, __m256i half) {
  return _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, w0), _mm256_mullo_epi16(b, w1)), half), 8);
}

__attribute__((target("avx2"))) inline __m256i Evens(__m256i a, __m256i b) {
  return _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
}

__attribute__((target("avx2"))) inline __m256i Odds(__m256i a, __m256i b) {
  return _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(3, 1, 3, 1)));
}

// Eight samples at a time: the four texels gathered, red with blue and
// green with alpha weighted in the two 16-bit halves of each lane; the same
// integer formula as the scalar sampler. Returns how many it did.
__attribute__((target("avx2"))) int SampleBilinearRunAvx2(const uint32_t* origin, int32_t stride, int32_t u,
                                                           int32_t v, int32_t du, int32_t dv, int n, uint32_t* buf) {
  const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lane, _mm256_set1_epi32(du)));
  __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lane, _mm256_set1_epi32(dv)));
  const __m256i du8 = _mm256_set1_epi32(du * 8), dv8 = _mm256_set1_epi32(dv * 8);
  const __m256i mask = _mm256_set1_epi32(0x00FF00FF), byte = _mm256_set1_epi32(0xFF);
  const __m256i half = _mm256_set1_epi16(128), full = _mm256_set1_epi16(256), strideV = _mm256_set1_epi32(stride);
  const int* t0 = reinterpret_cast<const int*>(origin);
  const int* b0 = reinterpret_cast<const int*>(origin + stride);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i idx = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vv, 16), strideV), _mm256_srai_epi32(uu, 16));
    const __m256i fx = _mm256_permute4x64_epi64(_mm256_and_si256(_mm256_srli_epi32(uu, 8), byte), _MM_SHUFFLE(3, 1, 2, 0));
    const __m256i fy = _mm256_permute4x64_epi64(_mm256_and_si256(_mm256_srli_epi32(vv, 8), byte), _MM_SHUFFLE(3, 1, 2, 0));
    const __m256i wx1 = _mm256_or_si256(fx, _mm256_slli_epi32(fx, 16)), wx0 = _mm256_sub_epi16(full, wx1);
    const __m256i wy1 = _mm256_or_si256(fy, _mm256_slli_epi32(fy, 16)), wy0 = _mm256_sub_epi16(full, wy1);
    // Each texel pair of a row in one 64-bit gather; the pairs come back
    // with the middle quarters of the eight pixels swapped, so the weights
    // are swapped alike and the result is put back in order at the end.
    const __m256i top0 = _mm256_i32gather_epi64(reinterpret_cast<const long long*>(t0), _mm256_castsi256_si128(idx), 4);
    const __m256i top1 = _mm256_i32gather_epi64(reinterpret_cast<const long long*>(t0), _mm256_extracti128_si256(idx, 1), 4);
    const __m256i bot0 = _mm256_i32gather_epi64(reinterpret_cast<const long long*>(b0), _mm256_castsi256_si128(idx), 4);
    const __m256i bot1 = _mm256_i32gather_epi64(reinterpret_cast<const long long*>(b0), _mm256_extracti128_si256(idx, 1), 4);
    const __m256i p00 = Evens(top0, top1), p01 = Odds(top0, top1);
    const __m256i p10 = Evens(bot0, bot1), p11 = Odds(bot0, bot1);
    const __m256i rbL = Lerp16(_mm256_and_si256(p00, mask), _mm256_and_si256(p10, mask), wy0, wy1, half);
    const __m256i rbR = Lerp16(_mm256_and_si256(p01, mask), _mm256_and_si256(p11, mask), wy0, wy1, half);
    const __m256i gaL = Lerp16(_mm256_and_si256(_mm256_srli_epi32(p00, 8), mask),
                             _mm256_and_si256(_mm256_srli_epi32(p10, 8), mask), wy0, wy1, half);
    const __m256i gaR = Lerp16(_mm256_and_si256(_mm256_srli_epi32(p01, 8), mask),
                             _mm256_and_si256(_mm256_srli_epi32(p11, 8), mask), wy0, wy1, half);
    const __m256i rb = Lerp16(rbL, rbR, wx0, wx1, half), ga = Lerp16(gaL, gaR, wx0, wx1, half);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(buf + i),
                        _mm256_permute4x64_epi64(_mm256_or_si256(rb, _mm256_slli_epi32(ga, 8)), _MM_SHUFFLE(3, 1, 2, 0)));
    uu = _mm256_add_epi32(uu, du8);
    vv = _mm256_add_epi32(vv, dv8);
  }
  return i;
}
#endif

void SampleBilinearRun(const TPattern& p, int32_t u, int32_t v, int32_t du, int32_t dv, int n, uint32_t* buf) {
  const uint32_t* origin = p.Origin();
  const ptrdiff_t stride = p.Stride();
#if KW_CANVAS_AVX2
  if (CanvasHasAvx2()) {
    const int done = SampleBilinearRunAvx2(origin, int32_t(stride), u, v, du, dv, n, buf);
    u += du * done;
    v += dv * done;
    n -= done;
    buf += done;
  }
#endif
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi32(128);
  for (int i = 0; i < n; ++i, u += du, v += dv) {
    const uint32_t fx = uint32_t(u >> 8) & 0xFF, fy = uint32_t(v >> 8) & 0xFF;
    const uint32_t* r0 = origin + ptrdiff_t(v >> 16) * stride + (u >> 16);
    // Top and bottom texels interleaved per channel, then weighted in pairs.
    const __m128i t = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)),
                                        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + stride)));
    const __m128i wy = _mm_set1_epi32(int((fy << 16) | (256 - fy)));
    const __m128i left = _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(t, zero), wy), half), 8);
    const __m128i right = _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi8(t, zero), wy), half), 8);
    const __m128i lr = _mm_packs_epi32(left, right);
    const __m128i wx = _mm_set1_epi32(int((fx << 16) | (256 - fx)));
    const __m128i h = _mm_srli_epi32(
        _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(lr, _mm_srli_si128(lr, 8)), wx), half), 8);
    buf[i] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(h, zero), zero)));
  }
#else
  for (int i = 0; i < n; ++i, u += du, v += dv) buf[i] = SampleBilinearScalar(p, u, v);
#endif
}

template <bool Filter>
void SampleSpan(const TPattern& p, TStepper& t, int n, uint32_t* buf) {
  int64_t u = t.U, v = t.V;
  const int64_t du = t.Du, dv = t.Dv;
  if constexpr (Filter) {
    const int64_t uLast = u + du * (n - 1), vLast = v + dv * (n - 1);
    const int64_t uMax = int64_t(p.W) * 65536 - 1, vMax = int64_t(p.H) * 65536 - 1;
    if (std::min(u, uLast) >= -65536 && std::max(u, uLast) <= uMax && std::min(v, vLast) >= -65536 &&
        std::max(v, vLast) <= vMax) {
      SampleBilinearRun(p, int32_t(u), int32_t(v), int32_t(du), int32_t(dv), n, buf);
    } else {
      for (int i = 0; i < n; ++i, u += du, v += dv) buf[i] = SampleBilinear(p, u, v);
    }
    t.U += du * n;
    t.V += dv * n;
    return;
  }
  if (dv == 0) {  // a row of the picture, scaled: one source row
    const int y = int(std::clamp<int64_t>(v >> 16, 0, p.H - 1));
    const uint32_t* row = p.Origin() + ptrdiff_t(y) * p.Stride();
    for (int i = 0; i < n; ++i, u += du) buf[i] = row[std::clamp<int64_t>(u >> 16, 0, p.W - 1)];
  } else {
    for (int i = 0; i < n; ++i, u += du, v += dv) buf[i] = SampleNearest(p, u, v);
  }
  t.U = u;
  t.V = v;  // unchanged on the one-row loop, where dv is 0
}

// Colours along a row that changes colour, pixel by pixel.
void VaryingColours(const TSetup& s, double xc, double yc, int n, uint32_t* colours) {
  for (int k = 0; k < n; ++k) colours[k] = ColourAt(s, xc + k, yc);
}

struct TRaster {
  const TPattern* Pattern;  // null: untextured
  bool Filter;
  bool Reference;
  TBlend Blend;
  TSetup Setup;
};

// The general pixel loop: one pixel at a time through the reference
// arithmetic.
void ReferenceSpan(const TRaster& r, double yc, int xs, int n, uint32_t* dst) {
  const TSetup& s = r.Setup;
  TStepper t(s, xs + 0.5, yc, r.Filter);
  for (int i = 0; i < n; ++i, t.U += t.Du, t.V += t.Dv) {
    const uint32_t colour = ColourAt(s, xs + i + 0.5, yc);
    uint32_t frag = colour;
    if (r.Pattern) {
      const uint32_t texel =
          r.Filter ? SampleBilinearScalar(*r.Pattern, t.U, t.V) : SampleNearest(*r.Pattern, t.U, t.V);
      frag = ModulateReference(texel, colour);
    }
    dst[i] = BlendReference(frag, dst[i], r.Blend);
  }
}

void ProcessSpan(const TRaster& r, double yc, int xs, int xe, uint32_t* row) {
  if (r.Reference) {
    ReferenceSpan(r, yc, xs, xe - xs, row + xs);
    return;
  }
  alignas(16) uint32_t buf[Chunk];
  alignas(16) uint32_t colours[Chunk];
  const TSetup& s = r.Setup;
  TStepper t(s, xs + 0.5, yc, r.Filter);
  for (int x = xs; x < xe; x += Chunk) {
    const int n = std::min(Chunk, xe - x);
    const double xc = x + 0.5;
    uint32_t* dst = row + x;
    if (!r.Pattern) {
      if (s.ColourVaries) {
        VaryingColours(s, xc, yc, n, buf);
      } else {
        const uint32_t c = ColourAt(s, xc, yc);
        if (r.Blend.Kind == TBlendKind::Copy && (c >> 24)) {
          std::fill_n(dst, n, c);  // solid opaque fill
          continue;
        }
        std::fill_n(buf, n, c);
      }
    } else {
      if (r.Filter) SampleSpan<true>(*r.Pattern, t, n, buf);
      else SampleSpan<false>(*r.Pattern, t, n, buf);
      if (s.ColourVaries) {
        VaryingColours(s, xc, yc, n, colours);
        for (int i = 0; i < n; ++i) buf[i] = ModulateReference(buf[i], colours[i]);
      } else {
        ModulateSpan(buf, n, ColourAt(s, xc, yc));
      }
    }
    BlendSpan(r.Blend, buf, dst, n);
  }
}

bool Finite(const TVertex& v) {
  return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.U) && std::isfinite(v.V);
}

bool Whole(double f) { return f == std::floor(f) && std::fabs(f) < CoordLimit; }

}  // namespace

void TCanvas::DrawQuad(const TPattern* pattern, const std::array<TVertex, 4>& v, uint32_t effect) {
  const TBlend blend = DecodeEffect(effect);
  if (pattern && !reference_ && TryBlit(*pattern, v, blend)) return;
  DrawTriangle(pattern, v[0], v[1], v[2], blend);
  DrawTriangle(pattern, v[0], v[2], v[3], blend);
}

// Whole-pixel copy of an axis-aligned part of the pattern at natural size,
// with constant colour or a colour changing only from top to bottom: the
// rows of the pattern are read as they are. The pixels equal those of the
// triangle path, which shares the colour plane.
bool TCanvas::TryBlit(const TPattern& p, const std::array<TVertex, 4>& v, const TBlend& blend) {
  const double x0 = v[0].X, y0 = v[0].Y, x1 = v[2].X, y1 = v[2].Y;
  if (v[1].X != x1 || v[1].Y != y0 || v[3].X != x0 || v[3].Y != y1) return false;
  if (!(x1 > x0) || !(y1 > y0) || !Whole(x0) || !Whole(y0) || !Whole(x1) || !Whole(y1)) return false;
  const double u0 = v[0].U, t0 = v[0].V;
  if (!Whole(u0) || !Whole(t0) || v[3].U != u0 || v[1].V != t0 || v[1].U != u0 + (x1 - x0) ||
      v[2].U != v[1].U || v[3].V != t0 + (y1 - y0) || v[2].V != v[3].V)
    return false;
  if (u0 < 0 || t0 < 0 || v[1].U > p.W || v[3].V > p.H) return false;
  if (v[0].Colour != v[1].Colour || v[3].Colour != v[2].Colour) return false;

  const TClipRect b = Bounds();
  const int areaLeft = std::max(int(x0), b.Left), areaRight = std::min(int(x1), b.Right);
  const int top = std::max(int(y0), b.Top), bottom = std::min(int(y1), b.Bottom);
  if (areaLeft >= areaRight || top >= bottom) return true;
  const bool gradient = v[0].Colour != v[3].Colour;
  const uint32_t flat = v[0].Colour;
  const int firstRow = int(t0) + top - int(y0), shift = int(u0) - int(x0);
  TRowSpans rows;
  const ptrdiff_t at = ptrdiff_t(firstRow) * p.Stride() + (shift + areaLeft);
  const bool untinted = !gradient && flat == 0xFFFFFFFFu;
  rows.Src = (untinted && blend.Kind == TBlendKind::Add ? p.PremultipliedOrigin() : p.Origin()) + at;
  rows.SrcStride = p.Stride();
  rows.Dst = target_.Pixels.data() + size_t(top) * size_t(target_.Width) + size_t(areaLeft);
  rows.DstStride = target_.Width;
  rows.Rows = bottom - top;
  rows.Width = areaRight - areaLeft;
  if (untinted) {
    if (blend.Kind == TBlendKind::Add) {
      AddSaturatedRows(rows);
    } else if (blend.Kind == TBlendKind::Copy && p.NoClearTexels) {
      for (int r = 0; r < rows.Rows; ++r)
        std::copy_n(rows.Src + r * rows.SrcStride, rows.Width, rows.Dst + r * rows.DstStride);
    } else {
      BlendRows(blend, rows);
    }
    return true;
  }
  // Tinted: one colour per row, from the same colour plane as the triangles.
  rowColours_.assign(size_t(rows.Rows), flat);
  if (gradient) {
    const TSetup setup = MakeSetup(v[0], v[1], v[2]);
    for (int y = top; y < bottom; ++y) rowColours_[size_t(y - top)] = ColourAt(setup, areaLeft + 0.5, y + 0.5);
  }
  BlendRowsTinted(blend, rows, rowColours_.data());
  return true;
}

void TCanvas::DrawTriangle(const TPattern* pattern, TVertex a, TVertex b, TVertex c, const TBlend& blend) {
  if (!Finite(a) || !Finite(b) || !Finite(c)) return;
  for (TVertex* p : {&a, &b, &c}) {
    p->X = std::clamp(p->X, -CoordLimit, CoordLimit);
    p->Y = std::clamp(p->Y, -CoordLimit, CoordLimit);
  }
  // Orient so that the inside is where every edge function is positive.
  const double side = (c.X - a.X) * (b.Y - a.Y) - (c.Y - a.Y) * (b.X - a.X);
  if (side == 0) return;
  if (side < 0) std::swap(b, c);

  const TClipRect bounds = Bounds();
  const double ymin = std::min({a.Y, b.Y, c.Y}), ymax = std::max({a.Y, b.Y, c.Y});
  const int rowFirst = std::max(bounds.Top, Ceil(ymin - 0.5));
  const int rowEnd = std::min(bounds.Bottom, Ceil(ymax - 0.5));
  if (rowFirst >= rowEnd || bounds.Left >= bounds.Right) return;

  TRaster r{pattern, antialias_, reference_, blend, MakeSetup(a, b, c)};
  // Each edge from its upper endpoint, so that both triangles sharing an
  // edge compute the same crossings.
  struct TEdge {
    double X0, Y0, Slope, Dx;
    int Side;  // 1 left (inclusive), -1 right (exclusive), 0 horizontal
  } edges[3];
  const TVertex* ends[3][2] = {{&a, &b}, {&b, &c}, {&c, &a}};
  for (int i = 0; i < 3; ++i) {
    const TVertex& p = *ends[i][0];
    const TVertex& q = *ends[i][1];
    const TVertex& lo = p.Y < q.Y ? p : q;
    const TVertex& hi = p.Y < q.Y ? q : p;
    const double dy = q.Y - p.Y;
    edges[i] = {lo.X, lo.Y, dy == 0 ? 0 : (hi.X - lo.X) / (hi.Y - lo.Y), q.X - p.X, dy > 0 ? 1 : dy < 0 ? -1 : 0};
    if (dy == 0) edges[i].Y0 = p.Y;
  }
  for (int y = rowFirst; y < rowEnd; ++y) {
    const double yc = y + 0.5;
    int xs = bounds.Left, xe = bounds.Right;
    bool empty = false;
    for (const TEdge& e : edges) {
      if (e.Side == 0) {
        // Horizontal edge: the row is inside below a top edge (running
        // left) and above a bottom edge; a top edge includes its own row.
        const double f = -(yc - e.Y0) * e.Dx;
        if (f < 0 || (f == 0 && e.Dx >= 0)) empty = true;
        continue;
      }
      const double xi = e.X0 + (yc - e.Y0) * e.Slope;
      const int bound = Ceil(std::clamp(xi - 0.5, -CoordLimit, CoordLimit));
      if (e.Side > 0) xs = std::max(xs, bound);  // left edge, inclusive
      else xe = std::min(xe, bound);             // right edge, exclusive
    }
    if (empty || xs >= xe) continue;
    ProcessSpan(r, yc, xs, xe, target_.Pixels.data() + size_t(y) * size_t(target_.Width));
  }
}

}  // namespace kw
