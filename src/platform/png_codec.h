// PNG reading and writing (libpng) to and from 32-bit pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/bitmap32.h"

namespace kw {

// Decodes any PNG (palette, grey, 16-bit, with or without alpha) into RGBA.
// False, with `out` empty, on a broken or oversized file (more than
// 16384 pixels on a side).
bool DecodePng(const uint8_t* data, size_t size, TBitmap32& out);

// Encodes RGBA with alpha as a PNG file image; false on failure.
bool EncodePng(const TBitmap32& picture, std::string& out);
bool WritePngFile(const std::filesystem::path& file, const TBitmap32& picture);

}  // namespace kw
