#include "platform/bmp_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/picture_files.h"

namespace kw {
namespace {

using test::BmpFile;
using test::IndexedBmpFile;

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

void ExpectSamePixels(const TBitmap32& expected, const TBitmap32& actual, const std::string& what) {
  ASSERT_EQ(actual.Width, expected.Width) << what;
  ASSERT_EQ(actual.Height, expected.Height) << what;
  for (int y = 0; y < expected.Height; ++y)
    for (int x = 0; x < expected.Width; ++x)
      ASSERT_EQ(actual.At(x, y), expected.At(x, y)) << what << " at " << x << "," << y;
}

// Odd widths make every row padded; both row orders.
TEST(BmpDecoder, DirectColourRoundTrips) {
  struct TCase { int Bits; int W, H; bool TopDown; };
  const TCase cases[] = {{24, 5, 3, false}, {24, 1, 1, true}, {32, 3, 4, false}, {32, 7, 2, true},
                         {16, 3, 3, false}, {16, 5, 2, true}};
  for (const TCase& c : cases) {
    TBitmap32 picture = test::PatternPicture(c.W, c.H, c.Bits == 32 ? 0x80 : 0xFF);
    if (c.Bits == 32) picture.At(0, 0) = 0x00123456;  // alpha 0 is kept as stored
    if (c.Bits == 16)  // colours five bits can hold exactly: 0, 132 (16/31), 255
      for (uint32_t& p : picture.Pixels) p = ColourRGBA(p & 1 ? 255 : 0, p & 2 ? 132 : 0, p & 4 ? 255 : 132, 0xFF);
    TBitmap32 decoded;
    const std::string file = BmpFile(picture, c.Bits, c.TopDown);
    ASSERT_TRUE(DecodeBmp(Bytes(file), file.size(), decoded));
    ExpectSamePixels(picture, decoded, std::to_string(c.Bits) + " bits" + (c.TopDown ? " top-down" : ""));
  }
}

TEST(BmpDecoder, IndexedPicturesGoThroughThePaletteAndKeepTheirIndices) {
  struct TCase { int Bits; int W, H; bool TopDown, Rle; };
  const TCase cases[] = {{1, 9, 3, false, false}, {4, 5, 3, true, false}, {8, 7, 3, false, false},
                         {8, 3, 2, true, false}, {8, 300, 3, false, true}};
  for (const TCase& c : cases) {
    const int colours = 1 << c.Bits;
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i) palette.push_back(ColourRGBA(uint32_t(i * 3), 255 - uint32_t(i), uint32_t(i * 7), 0xFF));
    std::vector<uint8_t> indices;
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) indices.push_back(uint8_t((c.Rle ? x / 100 + y : x * 3 + y) % colours));
    const std::string file = IndexedBmpFile(c.W, c.H, c.Bits, palette, indices, c.TopDown, c.Rle);
    const std::string what = std::to_string(c.Bits) + " bits" + (c.Rle ? " RLE" : "");

    TBitmap32 decoded;
    ASSERT_TRUE(DecodeBmp(Bytes(file), file.size(), decoded)) << what;
    TBitmap32 expected(c.W, c.H);
    for (size_t i = 0; i < indices.size(); ++i) expected.Pixels[i] = palette[indices[i]];
    ExpectSamePixels(expected, decoded, what);

    TIndexedPicture raw;
    ASSERT_TRUE(DecodeBmpIndices(Bytes(file), file.size(), raw)) << what;
    EXPECT_EQ(raw.Stride, (c.W + 1) / 2 * 2) << what;
    ASSERT_EQ(raw.Indices.size(), size_t(raw.Stride) * size_t(c.H)) << what;
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) ASSERT_EQ(raw.At(x, y), indices[size_t(y * c.W + x)]) << what;
  }
  // A direct-colour BMP has no indices.
  const std::string rgb = BmpFile(TBitmap32(2, 2, 0xFF000000), 24);
  TIndexedPicture none;
  EXPECT_FALSE(DecodeBmpIndices(Bytes(rgb), rgb.size(), none));
  EXPECT_TRUE(none.Empty());
}

// RLE4 and the RLE escapes (delta, absolute runs with padding, end of
// picture) as a writer would lay them out by hand.
TEST(BmpDecoder, RleEscapes) {
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < 16; ++i) palette.push_back(ColourRGBA(i * 16, 0, 0, 0xFF));
  // 6 × 3, bottom-up. Bottom row: a run of 3 of the nibbles 1, 2, then an
  // absolute run of 3, 4, 5 (two bytes, already even), end of line; then a
  // delta over the middle row to x = 2 of the top row, a run of two 7s and
  // the end of the picture.
  const std::string rle = std::string("\x03\x12", 2) + std::string("\x00\x03\x34\x50", 4) +
                          std::string("\x00\x00", 2) + std::string("\x00\x02\x02\x01", 4) +
                          std::string("\x02\x77", 2) + std::string("\x00\x01", 2);
  std::string file = IndexedBmpFile(6, 3, 4, palette, std::vector<uint8_t>(18, 0));
  // Replace the uncompressed rows with the RLE4 data and mark the compression.
  const size_t offset = 14 + 40 + 16 * 4;
  file.resize(offset);
  file += rle;
  file[30] = 2;
  TIndexedPicture raw;
  ASSERT_TRUE(DecodeBmpIndices(Bytes(file), file.size(), raw));
  const uint8_t expected[3][6] = {{0, 0, 7, 7, 0, 0}, {0, 0, 0, 0, 0, 0}, {1, 2, 1, 3, 4, 5}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(raw.At(x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpDecoder, BitFieldMasksPlaceTheChannels) {
  // 32-bit BI_BITFIELDS with masks after a 40-byte header, red in the low
  // byte and no alpha mask: the picture is opaque.
  std::string file = BmpFile(TBitmap32(1, 1, 0), 32);
  const size_t offset = 14 + 40 + 12;
  file.resize(14 + 40);
  file[30] = 3;
  file[10] = char(offset);
  for (uint32_t mask : {0x000000FFu, 0x0000FF00u, 0x00FF0000u})
    for (int i = 0; i < 4; ++i) file += char((mask >> (8 * i)) & 0xFF);
  file += std::string("\x11\x22\x33\x44", 4);
  TBitmap32 decoded;
  ASSERT_TRUE(DecodeBmp(Bytes(file), file.size(), decoded));
  EXPECT_EQ(decoded.At(0, 0), ColourRGBA(0x11, 0x22, 0x33, 0xFF));
}

TEST(BmpDecoder, FileCutShortGivesTheRowsItHolds) {
  const TBitmap32 picture = test::PatternPicture(4, 4);
  const std::string file = BmpFile(picture, 24);
  const size_t header = 14 + 40, stride = 12;
  // Two whole rows and part of a third: the bottom two rows, the rest clear.
  const std::string cut = file.substr(0, header + 2 * stride + 5);
  TBitmap32 decoded;
  ASSERT_TRUE(DecodeBmp(Bytes(cut), cut.size(), decoded));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(decoded.At(x, y), y >= 2 ? picture.At(x, y) : 0u) << x << "," << y;
  // Without one whole row there is no picture.
  const std::string headerOnly = file.substr(0, header + 3);
  EXPECT_FALSE(DecodeBmp(Bytes(headerOnly), headerOnly.size(), decoded));
  EXPECT_TRUE(decoded.Empty());
  // Every shorter prefix is refused or partial, never read past.
  for (size_t n = 0; n < file.size(); ++n) {
    TBitmap32 any;
    if (DecodeBmp(Bytes(file), n, any)) {
      EXPECT_EQ(any.Pixels.size(), 16u);
    }
  }
}

TEST(BmpDecoder, RefusesSizesItCannotHold) {
  struct TCase { int32_t W, H; const char* Why; };
  const TCase cases[] = {{20000, 1, "wider than 16384"},
                         {1, -20000, "taller than 16384, top-down"},
                         {16384, 16384, "more pixels than a file of a few bytes can hold"},
                         {0, 5, "no width"},
                         {5, 0, "no height"},
                         {-5, 5, "negative width"}};
  for (const TCase& c : cases) {
    std::string file = BmpFile(TBitmap32(1, 1, 0xFF000000), 24);
    for (int i = 0; i < 4; ++i) {
      file[18 + i] = char((uint32_t(c.W) >> (8 * i)) & 0xFF);
      file[22 + i] = char((uint32_t(c.H) >> (8 * i)) & 0xFF);
    }
    TBitmap32 decoded;
    EXPECT_FALSE(DecodeBmp(Bytes(file), file.size(), decoded)) << c.Why;
    EXPECT_TRUE(decoded.Pixels.empty()) << c.Why;
  }
  const std::string notBmp = "PK\x03\x04 not a bitmap at all, but long enough";
  TBitmap32 decoded;
  EXPECT_FALSE(DecodeBmp(Bytes(notBmp), notBmp.size(), decoded));
  EXPECT_FALSE(DecodeBmp(nullptr, 0, decoded));
}

}  // namespace
}  // namespace kw
