// PNG through libpng's simplified png_image interface: it expands palette,
// grey and 16-bit images, applies tRNS transparency and converts to 8-bit
// sRGB RGBA with straight (not premultiplied) alpha. Its bytes are R, G, B, A
// per pixel, which we pack into 0xAABBGGRR words (red in the low byte).
#include "platform/png_codec.h"

#include <png.h>

#include <cstring>

#include "platform/files.h"
#include "platform/log.h"

namespace kw {

namespace {

constexpr png_uint_32 kMaxSide = 16384;
// Deflate cannot expand more than about 1032:1, so a file of S bytes cannot
// hold more than this many times S bytes of scan lines. A header that claims
// more is a lie and is refused before the picture is allocated.
constexpr uint64_t kMaxInflateRatio = 1100;

// Copies bytes into words so the result does not depend on the host's byte
// order: byte 0 is red, byte 3 alpha.
void BytesToWords(const std::vector<uint8_t>& bytes, TBitmap32& out) {
  const size_t count = out.Pixels.size();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &bytes[i * 4];
    out.Pixels[i] = ColourRGBA(p[0], p[1], p[2], p[3]);
  }
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    KwLog("png: cannot read header: %s", image.message);
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    KwLog("png: refused size %ux%u (at most %u on a side)", image.width, image.height, kMaxSide);
    png_image_free(&image);
    return false;
  }
  // Smallest possible scan-line data: one bit per pixel plus a filter byte a row.
  const uint64_t leastRaw = uint64_t(image.height) * (1 + (uint64_t(image.width) + 7) / 8);
  if (leastRaw > uint64_t(size) * kMaxInflateRatio) {
    KwLog("png: %ux%u cannot fit in %zu bytes", image.width, image.height, size);
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    KwLog("png: broken image data: %s", image.message);
    png_image_free(&image);
    return false;
  }
  TBitmap32 picture(int(image.width), int(image.height));
  BytesToWords(bytes, picture);
  png_image_free(&image);
  out = std::move(picture);
  return true;
}

bool EncodePng(const TBitmap32& picture, std::string& out) {
  out.clear();
  if (picture.Empty() || picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
    return false;
  std::vector<uint8_t> bytes(picture.Pixels.size() * 4);
  for (size_t i = 0; i < picture.Pixels.size(); ++i) {
    const uint32_t c = picture.Pixels[i];
    bytes[i * 4 + 0] = uint8_t(ColourRed(c));
    bytes[i * 4 + 1] = uint8_t(ColourGreen(c));
    bytes[i * 4 + 2] = uint8_t(ColourBlue(c));
    bytes[i * 4 + 3] = uint8_t(ColourAlpha(c));
  }

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(picture.Width);
  image.height = png_uint_32(picture.Height);
  image.format = PNG_FORMAT_RGBA;

  // First call measures, second writes.
  png_alloc_size_t length = 0;
  if (!png_image_write_to_memory(&image, nullptr, &length, 0, bytes.data(), 0, nullptr)) {
    KwLog("png: cannot encode %dx%d: %s", picture.Width, picture.Height, image.message);
    return false;
  }
  out.resize(length);
  if (!png_image_write_to_memory(&image, out.data(), &length, 0, bytes.data(), 0, nullptr)) {
    KwLog("png: cannot encode %dx%d: %s", picture.Width, picture.Height, image.message);
    out.clear();
    return false;
  }
  out.resize(length);
  return true;
}

bool WritePngFile(const std::filesystem::path& file, const TBitmap32& picture) {
  std::string bytes;
  if (!EncodePng(picture, bytes)) return false;
  // Through a temporary file, so a screenshot or tool output is never half written.
  if (!WriteFileAtomically(file, bytes)) {
    KwLog("png: cannot write %s", file.string().c_str());
    return false;
  }
  return true;
}

}  // namespace kw
