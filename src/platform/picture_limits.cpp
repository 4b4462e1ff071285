#include "platform/picture_limits.h"

#include "platform/log.h"

namespace kw {

bool PictureSizeAllowed(const char* format, int64_t width, int64_t height, uint64_t dataBytes,
                        uint64_t pixelsPerByte) {
  if (width <= 0 || height <= 0) {
    KwLog("%s: no picture (%lldx%lld)", format, static_cast<long long>(width), static_cast<long long>(height));
    return false;
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    KwLog("%s: refused size %lldx%lld (at most %lld on a side, %lld pixels)", format,
          static_cast<long long>(width), static_cast<long long>(height),
          static_cast<long long>(kMaxPictureSide), static_cast<long long>(kMaxPicturePixels));
    return false;
  }
  const uint64_t pixels = uint64_t(width) * uint64_t(height);
  if (pixels > uint64_t(kFreePicturePixels) && pixels / pixelsPerByte > dataBytes) {
    KwLog("%s: %lldx%lld cannot come from %llu bytes", format, static_cast<long long>(width),
          static_cast<long long>(height), static_cast<unsigned long long>(dataBytes));
    return false;
  }
  return true;
}

}  // namespace kw
