// Picture files made by the tests themselves, byte by byte: BMP (indexed,
// RLE8, 16, 24 and 32 bits, either row order), TGA (grey, 24 and 32 bits,
// uncompressed or RLE, any row and column order) and JPEG (colour or grey,
// baseline or progressive, through libjpeg).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap32.h"

namespace kw::test {

// A 16 (5-5-5), 24 or 32-bit (alpha in the fourth byte) uncompressed BMP.
std::string BmpFile(const TBitmap32& picture, int bits, bool topDown = false);

// An indexed BMP of 1, 4 or 8 bits: `indices` holds width × height bytes,
// rows top to bottom; palette entries are colour words (alpha ignored).
// `rle` (8 bits only) writes it RLE8-compressed.
std::string IndexedBmpFile(int width, int height, int bits, const std::vector<uint32_t>& palette,
                           const std::vector<uint8_t>& indices, bool topDown = false, bool rle = false);

// The grey ramp palette (index i is grey i), as mask pictures carry.
std::vector<uint32_t> GreyPalette();

struct TTgaLayout {
  int Depth = 32;           // 8 (grey), 24 or 32
  bool Rle = false;
  bool TopDown = false;
  bool RightToLeft = false;
  int AlphaBits = -1;       // descriptor's attribute bits; -1: 8 for 32-bit, else 0
};
std::string TgaFile(const TBitmap32& picture, const TTgaLayout& layout);

struct TJpegLayout {
  int Quality = 95;
  bool Grey = false;
  bool Progressive = false;
};
std::string JpegFile(const TBitmap32& picture, const TJpegLayout& layout = {});

// A picture of `w` × `h` whose every pixel differs from its neighbours
// (a colour pattern from x and y), alpha as given.
TBitmap32 PatternPicture(int w, int h, uint32_t alpha = 0xFF);

}  // namespace kw::test
