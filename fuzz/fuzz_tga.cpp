// TGA reading: any bytes either decode into a picture within the size
// limits or are refused with an empty picture.
#include <cstdint>
#include <cstdlib>

#include "platform/tga_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kw::TBitmap32 picture;
  if (!kw::DecodeTga(data, size, picture)) {
    if (!picture.Pixels.empty()) std::abort();
    return 0;
  }
  if (picture.Width < 1 || picture.Height < 1 || picture.Width > 16384 || picture.Height > 16384 ||
      picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
    std::abort();
  return 0;
}
