#include "media/picture_pixels.h"

#include <algorithm>

#include "platform/jpeg_codec.h"
#include "platform/png_codec.h"
#include "platform/tga_decoder.h"

namespace kw {

bool DecodePicture(TPictureFormat format, const uint8_t* data, size_t size, TBitmap32& out) {
  switch (format) {
    case TPictureFormat::Bmp: return DecodeBmp(data, size, out);
    case TPictureFormat::Jpeg: return DecodeJpeg(data, size, out);
    case TPictureFormat::Png: return DecodePng(data, size, out);
    case TPictureFormat::Tga: return DecodeTga(data, size, out);
  }
  out = TBitmap32();
  return false;
}

namespace {

uint32_t GreyOf(uint32_t c) { return (ColourRed(c) + ColourGreen(c) + ColourBlue(c) + 1) / 3; }

}  // namespace

bool ReadAlphaMask(const uint8_t* data, size_t size, TIndexedPicture& mask) {
  if (DecodeBmpIndices(data, size, mask)) return true;
  TBitmap32 picture;
  if (!DecodeBmp(data, size, picture)) return false;
  mask.Width = picture.Width;
  mask.Height = picture.Height;
  mask.Stride = (picture.Width + 1) & ~1;
  mask.Indices.assign(size_t(mask.Stride) * size_t(mask.Height), 0);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      mask.Indices[size_t(y) * size_t(mask.Stride) + size_t(x)] = uint8_t(GreyOf(picture.At(x, y)));
  return true;
}

bool MergeAlpha(TBitmap32& colours, const TIndexedPicture& mask) {
  if (colours.Empty() || colours.Width != mask.Width || colours.Height != mask.Height) return false;
  for (int y = 0; y < colours.Height; ++y)
    for (int x = 0; x < colours.Width; ++x) {
      uint32_t& c = colours.At(x, y);
      c = (c & 0x00FFFFFFu) | (uint32_t(mask.At(x, y)) << 24);
    }
  return true;
}

void MakeSilhouette(TBitmap32& picture) {
  for (uint32_t& c : picture.Pixels) c = 0x01010101u * ColourAlpha(c);
}

void MakeGrey(TBitmap32& picture) {
  for (uint32_t& c : picture.Pixels) {
    const uint32_t g = GreyOf(c);
    c = ColourRGBA(g, g, g, ColourAlpha(c));
  }
}

TKwRect OpaqueRectOf(const TBitmap32& picture) {
  const TKwRect whole{0, 0, picture.Width - 1, picture.Height - 1};
  int left = picture.Width, top = picture.Height, right = -1, bottom = -1;
  for (int y = 0; y < picture.Height; ++y) {
    const uint32_t* row = &picture.Pixels[size_t(y) * size_t(picture.Width)];
    int first = -1, last = -1;
    for (int x = 0; x < picture.Width; ++x)
      if (row[x] >> 24) {
        first = x;
        break;
      }
    if (first < 0) continue;
    for (int x = picture.Width - 1; x >= first; --x)
      if (row[x] >> 24) {
        last = x;
        break;
      }
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return whole;
  return TKwRect{left, top, right, bottom};
}

}  // namespace kw
