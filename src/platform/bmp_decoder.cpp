// The BMP reader. Every header field is read as explicit little-endian
// bytes at an offset checked against the file size; pixel rows are read
// only as far as the file reaches, so no input makes it read outside the
// bytes it was given.
#include "platform/bmp_decoder.h"

#include <algorithm>
#include <bit>

#include "platform/log.h"
#include "platform/picture_limits.h"

namespace kw {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr size_t kFileHeaderBytes = 14;

// Field reads that answer 0 past the end: a header cut short reads as zeros
// and is then refused by the checks on what it says.
uint32_t Le16(const uint8_t* data, size_t size, size_t at) {
  if (at > size || size - at < 2) return 0;
  return uint32_t(data[at]) | (uint32_t(data[at + 1]) << 8);
}
uint32_t Le32(const uint8_t* data, size_t size, size_t at) {
  if (at > size || size - at < 4) return 0;
  return uint32_t(data[at]) | (uint32_t(data[at + 1]) << 8) | (uint32_t(data[at + 2]) << 16) |
         (uint32_t(data[at + 3]) << 24);
}

// One channel of a bit-field mask: where it sits and how wide it is.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit TChannel(uint32_t mask = 0) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = std::popcount(mask);
  }
  // The channel of a pixel scaled to 0..255 (rounded); `absent` when the
  // mask is empty.
  uint32_t Of(uint32_t pixel, uint32_t absent) const {
    if (Mask == 0) return absent;
    const uint64_t top = (uint64_t(1) << std::min(Bits, 32)) - 1;
    const uint64_t v = (uint64_t(pixel & Mask) >> Shift) & top;
    return uint32_t((v * 255 + top / 2) / top);
  }
};

struct TBmpHeader {
  int Width = 0;
  int Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = kRgb;
  TChannel Red, Green, Blue, Alpha;
  std::vector<uint32_t> Palette;  // opaque colour words
  size_t PixelOffset = 0;

  bool Indexed() const { return Bits <= 8; }
};

bool ReadHeader(const uint8_t* data, size_t size, TBmpHeader& h) {
  if (data == nullptr || size < kFileHeaderBytes + 12 || data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t offBits = Le32(data, size, 10);
  const uint32_t infoSize = Le32(data, size, 14);
  if (infoSize < 12 || infoSize > size - kFileHeaderBytes) {
    KwLog("bmp: info header of %u bytes does not fit the file", infoSize);
    return false;
  }
  const size_t info = kFileHeaderBytes;
  int64_t width = 0, height = 0;
  uint32_t colorsUsed = 0;
  bool os2 = false;
  if (infoSize == 12) {  // OS/2 1.x core header: 16-bit sizes, 3-byte palette entries
    os2 = true;
    width = Le16(data, size, info + 4);
    height = int16_t(Le16(data, size, info + 6));
    h.Bits = int(Le16(data, size, info + 10));
  } else {
    // Windows info headers and OS/2 2.x ones (16 to 64 bytes) share their
    // first fields; fields the header is too short to hold read as 0. The
    // plane count is not looked at: many writers leave it 0.
    auto field32 = [&](size_t at) { return at + 4 <= infoSize ? Le32(data, size, info + at) : 0u; };
    width = int32_t(field32(4));
    height = int32_t(field32(8));
    h.Bits = infoSize >= 16 ? int(Le16(data, size, info + 14)) : 0;
    h.Compression = field32(16);
    colorsUsed = field32(32);
    // OS/2 2.x compressions 3 and 4 are Huffman and RLE24, not taken here.
    const bool os2v2 = infoSize == 64 || (infoSize > 12 && infoSize < 40);
    if (os2v2 && (h.Compression == 3 || h.Compression == 4)) {
      KwLog("bmp: OS/2 compression %u not supported", h.Compression);
      return false;
    }
  }
  if (height < 0) {
    h.TopDown = true;
    height = -height;
  }
  const int bits = h.Bits;
  const uint32_t comp = h.Compression;
  const bool depthOk = ((bits == 1 || bits == 4 || bits == 8) && comp == kRgb) ||
                       (bits == 8 && comp == kRle8) || (bits == 4 && comp == kRle4) ||
                       (bits == 24 && comp == kRgb) ||
                       ((bits == 16 || bits == 32) && (comp == kRgb || comp == kBitFields || comp == kAlphaBitFields));
  if (!depthOk) {
    KwLog("bmp: %d bits a pixel with compression %u not supported", bits, comp);
    return false;
  }
  if (h.TopDown && (comp == kRle8 || comp == kRle4)) {
    KwLog("bmp: compressed pictures cannot be top-down");
    return false;
  }
  const uint64_t dataBytes = size > offBits ? size - offBits : 0;
  const uint64_t perByte = comp == kRle8 || comp == kRle4 ? 1024 : 8 * std::max(1, 8 / bits);
  if (!PictureSizeAllowed("bmp", width, height, dataBytes, perByte)) return false;
  h.Width = int(width);
  h.Height = int(height);

  // Bit-field masks: in the header from 52 bytes on, else right after a
  // 40-byte header (three, or four with ALPHABITFIELDS).
  size_t after = info + infoSize;
  if (bits == 16 || bits == 32) {
    uint32_t r = 0, g = 0, b = 0, a = 0;
    if (comp == kRgb) {
      if (bits == 16) r = 0x7C00, g = 0x03E0, b = 0x001F;
      else r = 0x00FF0000, g = 0x0000FF00, b = 0x000000FF, a = 0xFF000000;
    } else if (infoSize >= 52) {
      r = Le32(data, size, info + 40), g = Le32(data, size, info + 44), b = Le32(data, size, info + 48);
      a = infoSize >= 56 ? Le32(data, size, info + 52) : 0;
    } else {
      r = Le32(data, size, after), g = Le32(data, size, after + 4), b = Le32(data, size, after + 8);
      after += 12;
      if (comp == kAlphaBitFields) a = Le32(data, size, after), after += 4;
    }
    if (bits == 16) r &= 0xFFFF, g &= 0xFFFF, b &= 0xFFFF, a &= 0xFFFF;
    h.Red = TChannel(r), h.Green = TChannel(g), h.Blue = TChannel(b), h.Alpha = TChannel(a);
  }
  if (h.Indexed()) {
    const uint32_t full = 1u << bits;
    const uint32_t count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    const size_t entry = os2 ? 3 : 4;
    h.Palette.assign(count, 0xFF000000u);  // entries the file lacks are black
    for (uint32_t i = 0; i < count; ++i) {
      const size_t at = after + size_t(i) * entry;
      if (at + 3 > size) break;
      h.Palette[i] = ColourRGBA(data[at + 2], data[at + 1], data[at], 0xFF);
    }
    after += size_t(count) * entry;
  }
  // The pixels start where the file header says; a zero or impossible
  // offset (some writers leave it out) means right after the palette.
  h.PixelOffset = offBits >= kFileHeaderBytes + 12 && offBits < size ? offBits : after;
  if (h.PixelOffset >= size) {
    KwLog("bmp: no pixel data");
    return false;
  }
  return true;
}

// The indices of an uncompressed indexed picture, rows as on screen; the
// rows the file does not hold stay 0 and are reported in `rowsRead`.
void ReadIndexedRows(const uint8_t* data, size_t size, const TBmpHeader& h, TIndexedPicture& out,
                     int& rowsRead) {
  const size_t stride = ((size_t(h.Width) * size_t(h.Bits) + 31) / 32) * 4;
  const uint8_t* pixels = data + h.PixelOffset;
  const size_t available = size - h.PixelOffset;
  rowsRead = int(std::min<size_t>(size_t(h.Height), available / stride));
  const int perByte = 8 / h.Bits;
  const uint32_t mask = (1u << h.Bits) - 1;
  for (int r = 0; r < rowsRead; ++r) {
    const uint8_t* row = pixels + size_t(r) * stride;
    const int y = h.TopDown ? r : h.Height - 1 - r;
    uint8_t* dst = &out.Indices[size_t(y) * size_t(out.Stride)];
    for (int x = 0; x < h.Width; ++x) {
      const uint8_t byte = row[x / perByte];
      const int shift = 8 - h.Bits * (x % perByte + 1);
      dst[x] = uint8_t((byte >> shift) & mask);
    }
  }
}

// RLE8 and RLE4: runs, absolute runs padded to 16 bits, end of line, delta
// moves and end of picture, from the bottom row up. Pixels moved over or
// never reached keep index 0; writes past the right edge are dropped.
void ReadRleRows(const uint8_t* data, size_t size, const TBmpHeader& h, TIndexedPicture& out) {
  const bool four = h.Compression == kRle4;
  size_t at = h.PixelOffset;
  int64_t x = 0, row = 0;  // row counts from the bottom
  auto put = [&](uint8_t index) {
    if (x < h.Width && row < h.Height)
      out.Indices[size_t(h.Height - 1 - row) * size_t(out.Stride) + size_t(x)] = index;
    ++x;
  };
  while (at + 2 <= size && row < h.Height) {
    const uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(four ? uint8_t(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // delta
      if (at + 2 > size) break;
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {  // absolute run of `value` pixels
      const size_t bytes = four ? (size_t(value) + 1) / 2 : size_t(value);
      const size_t padded = (bytes + 1) & ~size_t(1);
      for (int i = 0; i < value; ++i) {
        const size_t byteAt = at + (four ? size_t(i) / 2 : size_t(i));
        if (byteAt >= size) break;
        const uint8_t b = data[byteAt];
        put(four ? uint8_t(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
      }
      at += padded;
    }
  }
}

bool ReadIndices(const uint8_t* data, size_t size, const TBmpHeader& h, TIndexedPicture& out,
                 int& rowsRead) {
  out.Width = h.Width;
  out.Height = h.Height;
  out.Stride = (h.Width + 1) & ~1;
  out.Indices.assign(size_t(out.Stride) * size_t(h.Height), 0);
  if (h.Compression == kRle8 || h.Compression == kRle4) {
    ReadRleRows(data, size, h, out);
    rowsRead = h.Height;
  } else {
    ReadIndexedRows(data, size, h, out, rowsRead);
    if (rowsRead == 0) {
      KwLog("bmp: not one row of pixel data");
      out = TIndexedPicture();
      return false;
    }
  }
  if (rowsRead < h.Height) KwLog("bmp: file cut short, %d of %d rows", rowsRead, h.Height);
  return true;
}

// Rows of 16, 24 and 32-bit pixels; unread rows stay transparent.
bool ReadDirectRows(const uint8_t* data, size_t size, const TBmpHeader& h, TBitmap32& out) {
  const size_t bytesPerPixel = size_t(h.Bits) / 8;
  const size_t stride = ((size_t(h.Width) * size_t(h.Bits) + 31) / 32) * 4;
  const size_t available = size - h.PixelOffset;
  const int rowsRead = int(std::min<size_t>(size_t(h.Height), available / stride));
  if (rowsRead == 0) {
    KwLog("bmp: not one row of pixel data");
    return false;
  }
  if (rowsRead < h.Height) KwLog("bmp: file cut short, %d of %d rows", rowsRead, h.Height);
  out = TBitmap32(h.Width, h.Height, 0);
  for (int r = 0; r < rowsRead; ++r) {
    const uint8_t* row = data + h.PixelOffset + size_t(r) * stride;
    const int y = h.TopDown ? r : h.Height - 1 - r;
    uint32_t* dst = &out.Pixels[size_t(y) * size_t(h.Width)];
    for (int x = 0; x < h.Width; ++x) {
      const uint8_t* p = row + size_t(x) * bytesPerPixel;
      if (h.Bits == 24) {
        dst[x] = ColourRGBA(p[2], p[1], p[0], 0xFF);
        continue;
      }
      const uint32_t v = h.Bits == 16 ? uint32_t(p[0]) | (uint32_t(p[1]) << 8)
                                      : uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                                            (uint32_t(p[3]) << 24);
      dst[x] = ColourRGBA(h.Red.Of(v, 0), h.Green.Of(v, 0), h.Blue.Of(v, 0), h.Alpha.Of(v, 0xFF));
    }
  }
  return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  TBmpHeader h;
  if (!ReadHeader(data, size, h)) return false;
  if (!h.Indexed()) return ReadDirectRows(data, size, h, out);

  TIndexedPicture indices;
  int rowsRead = 0;
  if (!ReadIndices(data, size, h, indices, rowsRead)) return false;
  TBitmap32 picture(h.Width, h.Height, 0);
  for (int r = 0; r < rowsRead; ++r) {
    const int y = h.TopDown ? r : h.Height - 1 - r;
    for (int x = 0; x < h.Width; ++x) {
      const uint8_t index = indices.At(x, y);
      picture.At(x, y) = index < h.Palette.size() ? h.Palette[index] : 0xFF000000u;
    }
  }
  out = std::move(picture);
  return true;
}

bool DecodeBmpIndices(const uint8_t* data, size_t size, TIndexedPicture& out) {
  out = TIndexedPicture();
  TBmpHeader h;
  if (!ReadHeader(data, size, h) || !h.Indexed()) return false;
  int rowsRead = 0;
  return ReadIndices(data, size, h, out, rowsRead);
}

}  // namespace kw
