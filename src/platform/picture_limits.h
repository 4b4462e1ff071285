// Size limits shared by the picture decoders. A picture header is outside
// data: it may claim any size. Decoders refuse a size above these limits,
// and one that the bytes of the file could not possibly describe, before
// they allocate anything, so a damaged or hostile file can neither exhaust
// memory nor keep the player busy for long.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kw {

constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 28;
// Pictures up to this many pixels are never refused for their data size:
// small pictures of one colour compress to almost nothing in every format.
constexpr int64_t kFreePicturePixels = int64_t(1) << 20;

// True when a picture of width × height may be decoded from `dataBytes`
// bytes whose coding gives at most `pixelsPerByte` pixels a byte (the
// format's best case, with room for a file cut short). Logs the refusal
// with the format's name.
bool PictureSizeAllowed(const char* format, int64_t width, int64_t height, uint64_t dataBytes,
                        uint64_t pixelsPerByte);

}  // namespace kw
