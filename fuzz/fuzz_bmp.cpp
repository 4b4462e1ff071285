// BMP reading: any bytes either decode into a picture within the size
// limits or are refused with an empty picture; the indices of an indexed
// BMP match its decoded size, and the alpha-mask reader agrees with both.
#include <cstdint>
#include <cstdlib>

#include "media/picture_pixels.h"
#include "platform/bmp_decoder.h"

namespace {

void CheckPicture(bool decoded, const kw::TBitmap32& picture) {
  if (!decoded) {
    if (!picture.Pixels.empty()) std::abort();
    return;
  }
  if (picture.Width < 1 || picture.Height < 1 || picture.Width > 16384 || picture.Height > 16384 ||
      picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kw::TBitmap32 picture;
  const bool decoded = kw::DecodeBmp(data, size, picture);
  CheckPicture(decoded, picture);
  kw::TIndexedPicture indices;
  if (kw::DecodeBmpIndices(data, size, indices)) {
    if (!decoded || indices.Width != picture.Width || indices.Height != picture.Height ||
        indices.Stride != (indices.Width + 1) / 2 * 2 ||
        indices.Indices.size() != size_t(indices.Stride) * size_t(indices.Height))
      std::abort();
  } else if (!indices.Indices.empty()) {
    std::abort();
  }
  kw::TIndexedPicture mask;
  if (kw::ReadAlphaMask(data, size, mask) != decoded) std::abort();
  if (decoded) {
    if (!kw::MergeAlpha(picture, mask)) std::abort();
    kw::OpaqueRectOf(picture);
  }
  return 0;
}
