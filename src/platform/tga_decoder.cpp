// The TGA reader: the 18-byte header, the image id, the colour map, then
// the pixels in file order (packets for the RLE kinds), decoded into a run
// of colour words and then laid out in the order the descriptor names.
// Every read is checked against the bytes given.
#include "platform/tga_decoder.h"

#include <algorithm>
#include <vector>

#include "platform/log.h"
#include "platform/picture_limits.h"

namespace kw {

namespace {

constexpr size_t kHeaderBytes = 18;

enum class TKind { Mapped, TrueColour, Grey };

struct TTgaHeader {
  TKind Kind = TKind::TrueColour;
  bool Rle = false;
  int Width = 0, Height = 0;
  int Depth = 0;         // bits a pixel in the file
  int AlphaBits = 0;     // attribute bits the descriptor declares
  bool TopDown = false;  // descriptor bit 5
  bool RightToLeft = false;
  size_t PixelStart = 0;
  std::vector<uint32_t> Map;  // colour map, already as colour words
  int MapFirst = 0;
};

uint32_t Scale5(uint32_t v) { return (v * 255 + 15) / 31; }

// One stored pixel of `bits` bits (true colour or a colour-map entry).
uint32_t ColourOf(const uint8_t* p, int bits) {
  switch (bits) {
    case 15:
    case 16: {
      const uint32_t v = uint32_t(p[0]) | (uint32_t(p[1]) << 8);
      const uint32_t a = bits == 16 && (v & 0x8000) ? 0xFF : (bits == 16 ? 0 : 0xFF);
      return ColourRGBA(Scale5((v >> 10) & 31), Scale5((v >> 5) & 31), Scale5(v & 31), a);
    }
    case 24: return ColourRGBA(p[2], p[1], p[0], 0xFF);
    case 32: return ColourRGBA(p[2], p[1], p[0], p[3]);
    default: return 0xFF000000u;
  }
}

bool ReadHeader(const uint8_t* d, size_t size, TTgaHeader& h) {
  if (d == nullptr || size < kHeaderBytes) return false;
  const int idLength = d[0], mapType = d[1], type = d[2];
  const int mapFirst = d[3] | (d[4] << 8), mapLength = d[5] | (d[6] << 8), mapBits = d[7];
  h.Width = d[12] | (d[13] << 8);
  h.Height = d[14] | (d[15] << 8);
  h.Depth = d[16];
  h.AlphaBits = d[17] & 0x0F;
  h.RightToLeft = (d[17] & 0x10) != 0;
  h.TopDown = (d[17] & 0x20) != 0;
  h.Rle = type >= 9;
  switch (type) {
    case 1: case 9: h.Kind = TKind::Mapped; break;
    case 2: case 10: h.Kind = TKind::TrueColour; break;
    case 3: case 11: h.Kind = TKind::Grey; break;
    default: KwLog("tga: picture type %d not supported", type); return false;
  }
  const bool depthOk = (h.Kind == TKind::Mapped && h.Depth == 8 && mapType == 1 &&
                        (mapBits == 15 || mapBits == 16 || mapBits == 24 || mapBits == 32)) ||
                       (h.Kind == TKind::TrueColour && (h.Depth == 15 || h.Depth == 16 || h.Depth == 24 || h.Depth == 32)) ||
                       (h.Kind == TKind::Grey && (h.Depth == 8 || h.Depth == 16));
  if (!depthOk) {
    KwLog("tga: %d bits a pixel (map type %d, %d-bit entries) not supported for type %d", h.Depth, mapType,
          mapBits, type);
    return false;
  }
  size_t at = kHeaderBytes + size_t(idLength);
  if (mapType == 1) {
    const size_t entryBytes = (size_t(mapBits) + 7) / 8;
    const size_t mapBytes = size_t(mapLength) * entryBytes;
    if (at + mapBytes > size) {
      KwLog("tga: colour map runs past the end of the file");
      return false;
    }
    if (h.Kind == TKind::Mapped) {
      h.MapFirst = mapFirst;
      h.Map.resize(size_t(mapLength));
      for (int i = 0; i < mapLength; ++i) h.Map[size_t(i)] = ColourOf(d + at + size_t(i) * entryBytes, mapBits);
    }
    at += mapBytes;
  }
  if (at >= size) {
    KwLog("tga: no pixel data");
    return false;
  }
  h.PixelStart = at;
  return PictureSizeAllowed("tga", h.Width, h.Height, size - at, h.Rle ? 128 : 8);
}

uint32_t PixelAt(const TTgaHeader& h, const uint8_t* p) {
  switch (h.Kind) {
    case TKind::Mapped: {
      const int index = p[0] - h.MapFirst;
      return index >= 0 && size_t(index) < h.Map.size() ? h.Map[size_t(index)] : 0xFF000000u;
    }
    case TKind::Grey:
      return ColourRGBA(p[0], p[0], p[0], h.Depth == 16 ? p[1] : 0xFF);
    case TKind::TrueColour:
      return ColourOf(p, h.Depth);
  }
  return 0;
}

// Pixels in file order; returns how many the file held.
size_t ReadPixels(const uint8_t* d, size_t size, const TTgaHeader& h, std::vector<uint32_t>& seq) {
  const size_t bytes = (size_t(h.Depth) + 7) / 8;
  const size_t total = seq.size();
  size_t at = h.PixelStart, n = 0;
  if (!h.Rle) {
    while (n < total && at + bytes <= size) {
      seq[n++] = PixelAt(h, d + at);
      at += bytes;
    }
    return n;
  }
  // Packets may run on from one row into the next.
  while (n < total && at < size) {
    const uint8_t packet = d[at++];
    const size_t count = size_t(packet & 0x7F) + 1;
    if (packet & 0x80) {
      if (at + bytes > size) break;
      const uint32_t c = PixelAt(h, d + at);
      at += bytes;
      for (size_t i = 0; i < count && n < total; ++i) seq[n++] = c;
    } else {
      for (size_t i = 0; i < count && n < total && at + bytes <= size; ++i) {
        seq[n++] = PixelAt(h, d + at);
        at += bytes;
      }
    }
  }
  return n;
}

bool CarriesAlpha(const TTgaHeader& h) {
  return (h.Kind == TKind::TrueColour && (h.Depth == 16 || h.Depth == 32)) ||
         (h.Kind == TKind::Grey && h.Depth == 16) || h.Kind == TKind::Mapped;
}

}  // namespace

bool DecodeTga(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  TTgaHeader h;
  if (!ReadHeader(data, size, h)) return false;
  std::vector<uint32_t> seq(size_t(h.Width) * size_t(h.Height), 0);
  const size_t read = ReadPixels(data, size, h, seq);
  if (read == 0) {
    KwLog("tga: not one pixel could be read");
    return false;
  }
  if (read < seq.size()) KwLog("tga: file cut short, %zu of %zu pixels", read, seq.size());
  if (h.AlphaBits == 0 && CarriesAlpha(h)) {
    bool anyAlpha = false;
    for (size_t i = 0; i < read && !anyAlpha; ++i) anyAlpha = ColourAlpha(seq[i]) != 0;
    if (!anyAlpha)
      for (size_t i = 0; i < read; ++i) seq[i] |= 0xFF000000u;
  }
  TBitmap32 picture(h.Width, h.Height, 0);
  for (int r = 0; r < h.Height; ++r) {
    const int y = h.TopDown ? r : h.Height - 1 - r;
    const uint32_t* src = &seq[size_t(r) * size_t(h.Width)];
    uint32_t* dst = &picture.Pixels[size_t(y) * size_t(h.Width)];
    if (h.RightToLeft) {
      for (int x = 0; x < h.Width; ++x) dst[h.Width - 1 - x] = src[x];
    } else {
      std::copy(src, src + h.Width, dst);
    }
  }
  out = std::move(picture);
  return true;
}

}  // namespace kw
