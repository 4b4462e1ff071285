// PNG decoding: any bytes either decode into a picture within the size limit
// or are refused with an empty picture.
#include <cstdint>
#include <cstdlib>

#include "platform/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kw::TBitmap32 picture;
  if (!kw::DecodePng(data, size, picture)) {
    if (!picture.Empty() || !picture.Pixels.empty()) std::abort();
    return 0;
  }
  if (picture.Width < 1 || picture.Height < 1 || picture.Width > 16384 || picture.Height > 16384 ||
      picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
    std::abort();
  // Small pictures round-trip exactly.
  if (picture.Pixels.size() <= 4096) {
    std::string bytes;
    kw::TBitmap32 back;
    if (!kw::EncodePng(picture, bytes) ||
        !kw::DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back) ||
        back.Pixels != picture.Pixels)
      std::abort();
  }
  return 0;
}
