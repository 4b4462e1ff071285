#include "platform/blend.h"

#include <algorithm>

namespace kw {

TBlend DecodeEffect(uint32_t effect) {
  TBlend b;
  uint32_t src = effect & 0xFF, dst = (effect >> 8) & 0xFF, op = (effect >> 16) & 0xFF;
  if (src > 10 || dst > 10 || op > 4) return b;  // unknown codes: 0x504
  b.SrcFactor = uint8_t(src);
  b.DstFactor = uint8_t(dst);
  b.Op = uint8_t(op);
  if (op == 0 && src == 1 && dst == 0) b.Kind = TBlendKind::Copy;
  else if (op == 0 && src == 4 && dst == 5) b.Kind = TBlendKind::Alpha;
  else if (op == 0 && src == 4 && dst == 1) b.Kind = TBlendKind::Add;
  else b.Kind = TBlendKind::General;
  return b;
}

namespace {

// The factor for one channel (shift selects it; 24 is alpha).
uint32_t Factor(uint32_t code, uint32_t src, uint32_t dst, int shift) {
  uint32_t sc = (src >> shift) & 0xFF, dc = (dst >> shift) & 0xFF;
  uint32_t sa = src >> 24, da = dst >> 24;
  switch (code) {
    case 0: return 0;
    case 1: return 255;
    case 2: return sc;
    case 3: return 255 - sc;
    case 4: return sa;
    case 5: return 255 - sa;
    case 6: return da;
    case 7: return 255 - da;
    case 8: return dc;
    case 9: return 255 - dc;
    case 10: return shift == 24 ? 255 : std::min(sa, 255 - da);
  }
  return 0;
}

}  // namespace

uint32_t BlendReference(uint32_t src, uint32_t dst, const TBlend& blend) {
  if ((src >> 24) == 0) return dst;  // alpha test
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    int s = int((src >> shift) & 0xFF), d = int((dst >> shift) & 0xFF);
    int fs = int(Factor(blend.SrcFactor, src, dst, shift));
    int fd = int(Factor(blend.DstFactor, src, dst, shift));
    uint32_t v;
    switch (blend.Op) {
      case 3: v = uint32_t(std::min(s, d)); break;
      case 4: v = uint32_t(std::max(s, d)); break;
      default: {
        int sum = blend.Op == 0 ? s * fs + d * fd : blend.Op == 1 ? d * fd - s * fs : s * fs - d * fd;
        v = Div255Round(uint32_t(std::clamp(sum, 0, 255 * 255)));
      }
    }
    out |= v << shift;
  }
  return out;
}

}  // namespace kw
