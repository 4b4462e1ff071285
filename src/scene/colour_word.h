// The colour word of drawn elements: opacity in bits 24-31 (the "hxTrans"
// properties), tint 0xBBGGRR in bits 0-23 (the "hxColor" properties).
// Writing either half keeps the other.
#pragma once

#include <cstdint>

namespace kw {

constexpr uint32_t ColourTint(uint32_t word) { return word & 0xFFFFFFu; }
constexpr uint32_t ColourOpacity(uint32_t word) { return word >> 24; }
constexpr uint32_t WithTint(uint32_t word, uint32_t tint) { return (word & 0xFF000000u) | (tint & 0xFFFFFFu); }
constexpr uint32_t WithOpacity(uint32_t word, uint32_t opacity) {
  return (word & 0xFFFFFFu) | ((opacity & 0xFFu) << 24);
}

}  // namespace kw
