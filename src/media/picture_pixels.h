// What is done to a picture's pixels between its file and its texture:
// decoding by format, the alpha merge with a mask picture, the "*" and "#"
// name-prefix conversions and the opaque rectangle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/picture_rules.h"
#include "platform/bitmap32.h"
#include "platform/bmp_decoder.h"

namespace kw {

// A rectangle in pixels, inclusive on every side.
struct TKwRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TKwRect&) const = default;
};

// Decodes a picture file image with the decoder of its format. A file the
// decoder cannot read leaves `out` empty or, cut short, partly filled.
bool DecodePicture(TPictureFormat format, const uint8_t* data, size_t size, TBitmap32& out);

// An alpha mask from a BMP file image: the palette indices of an indexed
// BMP as they are stored; for a BMP of 16 bits or more, which has no
// indices, the grey level of each pixel (rounded mean of red, green and
// blue). False when the bytes are no readable BMP.
bool ReadAlphaMask(const uint8_t* data, size_t size, TIndexedPicture& mask);

// Gives every pixel of `colours` the mask byte at its position as alpha,
// keeping red, green and blue. False, leaving `colours` as it is, when the
// sizes differ: a mask that does not fit its picture is not used.
bool MergeAlpha(TBitmap32& colours, const TIndexedPicture& mask);

// "*": every channel becomes the pixel's alpha (red = green = blue = alpha),
// a silhouette whose brightness is its opacity.
void MakeSilhouette(TBitmap32& picture);

// "#": red, green and blue become their rounded mean, alpha unchanged. The
// mean of three whole numbers is never exactly halfway between two, so
// rounding to nearest needs no tie rule.
void MakeGrey(TBitmap32& picture);

// The smallest rectangle holding every pixel whose alpha is not 0; the
// whole picture (0, 0, W-1, H-1) when there is none.
TKwRect OpaqueRectOf(const TBitmap32& picture);

}  // namespace kw
