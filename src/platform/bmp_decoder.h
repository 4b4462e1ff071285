// BMP reading: Windows bitmaps (info headers of 40, 52, 56, 108 and 124
// bytes) and OS/2 ones (12 and 16 to 64 bytes), 1, 4 and 8 bits a pixel
// through a palette (uncompressed, RLE4 and RLE8), 16 and 32 bits with or
// without bit-field masks, and 24 bits; rows bottom-up or top-down.
//
// The fourth byte of an uncompressed 32-bit pixel is its alpha, as the
// picture was stored; every other kind of picture is opaque. A file cut
// short gives the rows it holds, the rest left transparent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/bitmap32.h"

namespace kw {

// The palette indices of an indexed picture, one byte a pixel, rows top to
// bottom, each row padded to an even number of bytes (alpha masks are read
// this way).
struct TIndexedPicture {
  int Width = 0;
  int Height = 0;
  int Stride = 0;  // Width rounded up to even
  std::vector<uint8_t> Indices;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  uint8_t At(int x, int y) const { return Indices[size_t(y) * size_t(Stride) + size_t(x)]; }
};

// Decodes a BMP file image into a 32-bit picture. False, with `out` empty,
// when the bytes are not a BMP this reader takes, its size is refused, or
// no pixel data could be read.
bool DecodeBmp(const uint8_t* data, size_t size, TBitmap32& out);

// The palette indices of a 1, 4 or 8-bit BMP, untouched by the palette.
// False, with `out` empty, for other depths and for what DecodeBmp refuses.
bool DecodeBmpIndices(const uint8_t* data, size_t size, TIndexedPicture& out);

}  // namespace kw
