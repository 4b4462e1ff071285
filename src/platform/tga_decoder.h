// TGA reading: true-colour (15, 16, 24 and 32 bits), grey (8 bits, and 16
// bits of grey and alpha) and colour-mapped (8-bit indices into a map of 15
// to 32-bit entries) pictures, uncompressed or run-length encoded, in any
// of the four row and column orders the descriptor byte names.
//
// Alpha comes from the pixels when they carry it (32-bit, 16-bit with its
// attribute bit, grey with alpha, map entries of 32 bits). A picture whose
// descriptor declares no alpha bits and whose alpha bytes are all 0 is
// taken as opaque: many writers put 32-bit pixels out that way. A file cut
// short gives the pixels it holds, the rest left transparent.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap32.h"

namespace kw {

// False, with `out` empty, when the bytes are not a TGA this reader takes,
// its size is refused, or not one pixel could be read.
bool DecodeTga(const uint8_t* data, size_t size, TBitmap32& out);

}  // namespace kw
