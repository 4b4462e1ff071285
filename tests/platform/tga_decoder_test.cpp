#include "platform/tga_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "support/picture_files.h"

namespace kw {
namespace {

using test::TgaFile;
using test::TTgaLayout;

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

std::string Describe(const TTgaLayout& s) {
  return std::to_string(s.Depth) + " bits" + (s.Rle ? " RLE" : "") + (s.TopDown ? " top-down" : "") +
         (s.RightToLeft ? " right-to-left" : "");
}

// Pictures with runs (for the run packets) and single pixels (raw packets).
TBitmap32 RunsAndSingles(int w, int h, uint32_t alpha) {
  TBitmap32 p = test::PatternPicture(w, h, alpha);
  for (int x = 0; x < w / 2; ++x) p.At(x, 1) = ColourRGBA(9, 8, 7, alpha);
  return p;
}

TEST(TgaDecoder, RoundTripsInEveryOrderAndCoding) {
  for (int depth : {8, 24, 32})
    for (bool rle : {false, true})
      for (int order = 0; order < 4; ++order) {
        const TTgaLayout layout{depth, rle, (order & 1) != 0, (order & 2) != 0};
        TBitmap32 picture = RunsAndSingles(300, 3, depth == 32 ? 0x7F : 0xFF);
        if (depth == 8)
          for (uint32_t& p : picture.Pixels) p = ColourRGBA(ColourRed(p), ColourRed(p), ColourRed(p), 0xFF);
        const std::string file = TgaFile(picture, layout);
        TBitmap32 decoded;
        ASSERT_TRUE(DecodeTga(Bytes(file), file.size(), decoded)) << Describe(layout);
        ASSERT_EQ(decoded.Width, 300);
        ASSERT_EQ(decoded.Height, 3);
        EXPECT_EQ(decoded.Pixels, picture.Pixels) << Describe(layout);
      }
}

TEST(TgaDecoder, AlphaThatTheDescriptorDoesNotDeclareAndNoPixelUsesMeansOpaque) {
  const TBitmap32 clear(2, 2, 0x00336699);
  TBitmap32 decoded;
  // Declared alpha: transparent pixels stay transparent.
  std::string file = TgaFile(clear, {32, false, false, false, 8});
  ASSERT_TRUE(DecodeTga(Bytes(file), file.size(), decoded));
  EXPECT_EQ(decoded.At(1, 1), 0x00336699u);
  // No attribute bits and every alpha 0: a writer that ignored alpha.
  file = TgaFile(clear, {32, false, false, false, 0});
  ASSERT_TRUE(DecodeTga(Bytes(file), file.size(), decoded));
  EXPECT_EQ(decoded.At(1, 1), 0xFF336699u);
  // No attribute bits but some alpha in use: kept as stored.
  TBitmap32 mixed = clear;
  mixed.At(0, 0) = 0x80336699;
  file = TgaFile(mixed, {32, false, false, false, 0});
  ASSERT_TRUE(DecodeTga(Bytes(file), file.size(), decoded));
  EXPECT_EQ(decoded.At(0, 0), 0x80336699u);
  EXPECT_EQ(decoded.At(1, 1), 0x00336699u);
}

TEST(TgaDecoder, ColourMappedPicture) {
  // Type 1: 8-bit indices into a map of three 24-bit entries starting at 1.
  std::string file("\0\1\1", 3);
  file += std::string("\1\0\3\0\x18", 5);
  file += std::string(4, '\0');
  file += std::string("\3\0\1\0\x08\x20", 6);  // 3 × 1, 8 bits, top-down
  file += std::string("\x00\x00\xFF" "\x00\xFF\x00" "\xFF\x00\x00", 9);
  file += std::string("\x01\x03\x09", 3);  // the last index is outside the map
  TBitmap32 decoded;
  ASSERT_TRUE(DecodeTga(Bytes(file), file.size(), decoded));
  EXPECT_EQ(decoded.At(0, 0), 0xFF0000FFu);  // red
  EXPECT_EQ(decoded.At(1, 0), 0xFFFF0000u);  // blue
  EXPECT_EQ(decoded.At(2, 0), 0xFF000000u);  // outside: black
}

TEST(TgaDecoder, CutShortOrOversizedFiles) {
  const TBitmap32 picture = test::PatternPicture(4, 4);
  for (bool rle : {false, true}) {
    const std::string file = TgaFile(picture, {24, rle, true});
    // Cut inside: the pixels read are kept, the rest is transparent.
    const std::string cut = file.substr(0, file.size() - 10);
    TBitmap32 decoded;
    ASSERT_TRUE(DecodeTga(Bytes(cut), cut.size(), decoded));
    EXPECT_EQ(decoded.At(0, 0), picture.At(0, 0));
    EXPECT_EQ(decoded.At(3, 3), 0u);
    for (size_t n = 0; n < file.size(); ++n) {
      TBitmap32 any;
      if (DecodeTga(Bytes(file), n, any)) {
        EXPECT_EQ(any.Pixels.size(), 16u);
      }
    }
  }
  // 65535 × 65535 claimed by a small file; an unknown picture type.
  std::string huge = TgaFile(picture, {24});
  huge[12] = huge[13] = huge[14] = huge[15] = char(0xFF);
  TBitmap32 decoded;
  EXPECT_FALSE(DecodeTga(Bytes(huge), huge.size(), decoded));
  EXPECT_TRUE(decoded.Pixels.empty());
  std::string odd = TgaFile(picture, {24});
  odd[2] = 32;
  EXPECT_FALSE(DecodeTga(Bytes(odd), odd.size(), decoded));
}

}  // namespace
}  // namespace kw
