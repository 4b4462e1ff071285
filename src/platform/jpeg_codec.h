// JPEG reading and writing (libjpeg-turbo) to and from 32-bit pictures.
// Decoded pictures are opaque; grey and CMYK pictures become RGB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/bitmap32.h"

namespace kw {

// Decodes a baseline or progressive JPEG file image. False, with `out`
// empty, when the bytes are not a JPEG, its size is refused or not one row
// could be decoded; data broken after the first rows gives the rows decoded
// so far, the rest transparent. Missing data at the end of the file is
// filled in by the library, as every JPEG viewer does.
bool DecodeJpeg(const uint8_t* data, size_t size, TBitmap32& out);

// Encodes a picture's colours (alpha is dropped) at `quality` 1..100 with
// 4:2:0 chroma, as most cameras and editors write; false on failure.
bool EncodeJpeg(const TBitmap32& picture, int quality, std::string& out);

}  // namespace kw
