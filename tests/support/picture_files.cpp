#include "support/picture_files.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <stdexcept>

namespace kw::test {

namespace {

void Put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// File header and 40-byte info header; the caller appends palette and pixels.
std::string BmpHeaders(int width, int height, int bits, uint32_t compression, uint32_t paletteCount,
                       uint32_t pixelBytes, bool topDown) {
  std::string s = "BM";
  const uint32_t offset = 14 + 40 + paletteCount * 4;
  Put32(s, offset + pixelBytes);
  Put32(s, 0);
  Put32(s, offset);
  Put32(s, 40);
  Put32(s, uint32_t(width));
  Put32(s, uint32_t(topDown ? -height : height));
  Put16(s, 1);
  Put16(s, uint32_t(bits));
  Put32(s, compression);
  Put32(s, pixelBytes);
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, paletteCount);
  Put32(s, 0);
  return s;
}

size_t Stride(int width, int bits) { return ((size_t(width) * size_t(bits) + 31) / 32) * 4; }

// RLE8: runs of equal indices (at most 255), an end of line after every
// row and an end of picture after the last.
std::string Rle8(int width, int height, const std::vector<uint8_t>& indices) {
  std::string out;
  for (int r = 0; r < height; ++r) {
    const uint8_t* row = &indices[size_t(height - 1 - r) * size_t(width)];
    for (int x = 0; x < width;) {
      int n = 1;
      while (x + n < width && n < 255 && row[x + n] == row[x]) ++n;
      out += char(n);
      out += char(row[x]);
      x += n;
    }
    out += '\0';
    out += r + 1 == height ? '\1' : '\0';
  }
  return out;
}

}  // namespace

std::string BmpFile(const TBitmap32& picture, int bits, bool topDown) {
  const size_t stride = Stride(picture.Width, bits);
  std::string pixels(stride * size_t(picture.Height), '\0');
  for (int r = 0; r < picture.Height; ++r) {
    const int y = topDown ? r : picture.Height - 1 - r;
    char* row = &pixels[size_t(r) * stride];
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t c = picture.At(x, y);
      if (bits == 16) {
        const uint32_t v = ((ColourRed(c) >> 3) << 10) | ((ColourGreen(c) >> 3) << 5) | (ColourBlue(c) >> 3);
        row[x * 2] = char(v & 0xFF);
        row[x * 2 + 1] = char(v >> 8);
      } else {
        const size_t n = size_t(bits) / 8;
        row[x * n + 0] = char(ColourBlue(c));
        row[x * n + 1] = char(ColourGreen(c));
        row[x * n + 2] = char(ColourRed(c));
        if (n == 4) row[x * n + 3] = char(ColourAlpha(c));
      }
    }
  }
  return BmpHeaders(picture.Width, picture.Height, bits, 0, 0, uint32_t(pixels.size()), topDown) + pixels;
}

std::string IndexedBmpFile(int width, int height, int bits, const std::vector<uint32_t>& palette,
                           const std::vector<uint8_t>& indices, bool topDown, bool rle) {
  std::string pal;
  for (uint32_t c : palette) {
    pal += char(ColourBlue(c));
    pal += char(ColourGreen(c));
    pal += char(ColourRed(c));
    pal += '\0';
  }
  std::string pixels;
  if (rle) {
    if (bits != 8 || topDown) throw std::invalid_argument("RLE8 is 8-bit and bottom-up");
    pixels = Rle8(width, height, indices);
  } else {
    const size_t stride = Stride(width, bits);
    pixels.assign(stride * size_t(height), '\0');
    for (int r = 0; r < height; ++r) {
      const int y = topDown ? r : height - 1 - r;
      for (int x = 0; x < width; ++x) {
        const uint32_t index = indices[size_t(y) * size_t(width) + size_t(x)];
        const size_t bit = size_t(x) * size_t(bits);
        char& byte = pixels[size_t(r) * stride + bit / 8];
        byte = char(uint8_t(byte) | uint8_t(index << (8 - bits - int(bit % 8))));
      }
    }
  }
  return BmpHeaders(width, height, bits, rle ? 1 : 0, uint32_t(palette.size()), uint32_t(pixels.size()),
                    topDown) +
         pal + pixels;
}

std::vector<uint32_t> GreyPalette() {
  std::vector<uint32_t> palette(256);
  for (uint32_t i = 0; i < 256; ++i) palette[i] = ColourRGBA(i, i, i, 0xFF);
  return palette;
}

std::string TgaFile(const TBitmap32& picture, const TTgaLayout& layout) {
  const int alphaBits = layout.AlphaBits >= 0 ? layout.AlphaBits : (layout.Depth == 32 ? 8 : 0);
  std::string s;
  s += '\0';  // no image id
  s += '\0';  // no colour map
  s += char((layout.Depth == 8 ? 3 : 2) + (layout.Rle ? 8 : 0));
  s.append(5, '\0');  // colour map fields: none
  Put16(s, 0);
  Put16(s, 0);
  Put16(s, uint32_t(picture.Width));
  Put16(s, uint32_t(picture.Height));
  s += char(layout.Depth);
  s += char(alphaBits | (layout.RightToLeft ? 0x10 : 0) | (layout.TopDown ? 0x20 : 0));
  auto pixel = [&](uint32_t c) {
    std::string p;
    if (layout.Depth == 8) return std::string(1, char(ColourRed(c)));
    p += char(ColourBlue(c));
    p += char(ColourGreen(c));
    p += char(ColourRed(c));
    if (layout.Depth == 32) p += char(ColourAlpha(c));
    return p;
  };
  std::vector<uint32_t> seq;
  for (int r = 0; r < picture.Height; ++r) {
    const int y = layout.TopDown ? r : picture.Height - 1 - r;
    for (int i = 0; i < picture.Width; ++i) seq.push_back(picture.At(layout.RightToLeft ? picture.Width - 1 - i : i, y));
  }
  if (!layout.Rle) {
    for (uint32_t c : seq) s += pixel(c);
    return s;
  }
  // Run packets for repeats, raw packets otherwise; packets cross rows.
  for (size_t i = 0; i < seq.size();) {
    size_t run = 1;
    while (i + run < seq.size() && run < 128 && seq[i + run] == seq[i]) ++run;
    if (run > 1) {
      s += char(0x80 | (run - 1));
      s += pixel(seq[i]);
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < seq.size() && raw < 128 && (i + raw + 1 >= seq.size() || seq[i + raw] != seq[i + raw + 1])) ++raw;
    s += char(raw - 1);
    for (size_t k = 0; k < raw; ++k) s += pixel(seq[i + k]);
    i += raw;
  }
  return s;
}

std::string JpegFile(const TBitmap32& picture, const TJpegLayout& layout) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  jpeg_mem_dest(&info, &buffer, &length);
  info.image_width = JDIMENSION(picture.Width);
  info.image_height = JDIMENSION(picture.Height);
  info.input_components = layout.Grey ? 1 : 3;
  info.in_color_space = layout.Grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, layout.Quality, TRUE);
  if (layout.Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(picture.Width) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t c = picture.At(x, int(info.next_scanline));
      if (layout.Grey) {
        row[size_t(x)] = uint8_t(ColourRed(c));
      } else {
        row[size_t(x) * 3] = uint8_t(ColourRed(c));
        row[size_t(x) * 3 + 1] = uint8_t(ColourGreen(c));
        row[size_t(x) * 3 + 2] = uint8_t(ColourBlue(c));
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), length);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

TBitmap32 PatternPicture(int w, int h, uint32_t alpha) {
  TBitmap32 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = ColourRGBA(uint32_t(x * 37 + y * 11), uint32_t(x * 5 + y * 71), uint32_t(x * 23 ^ y * 13), alpha);
  return p;
}

}  // namespace kw::test
