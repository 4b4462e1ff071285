// JPEG reading: any bytes either decode into an opaque picture within the
// size limits or are refused with an empty picture. Small pictures are
// encoded and decoded again at the same size.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kw::TBitmap32 picture;
  if (!kw::DecodeJpeg(data, size, picture)) {
    if (!picture.Pixels.empty()) std::abort();
    return 0;
  }
  if (picture.Width < 1 || picture.Height < 1 || picture.Width > 16384 || picture.Height > 16384 ||
      picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
    std::abort();
  if (picture.Pixels.size() <= 4096) {
    std::string bytes;
    kw::TBitmap32 back;
    if (!kw::EncodeJpeg(picture, 90, bytes) ||
        !kw::DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back) ||
        back.Width != picture.Width || back.Height != picture.Height)
      std::abort();
  }
  return 0;
}
