#include "platform/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/picture_files.h"

namespace kw {
namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// A smooth picture, so that a high-quality JPEG stays close to it.
TBitmap32 Gradient(int w, int h) {
  TBitmap32 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = ColourRGBA(uint32_t(x * 4), uint32_t(y * 4), 128, 0x40);
  return p;
}

int LargestDifference(const TBitmap32& a, const TBitmap32& b) {
  int worst = 0;
  for (size_t i = 0; i < a.Pixels.size(); ++i)
    for (int sh = 0; sh < 24; sh += 8)
      worst = std::max(worst, std::abs(int((a.Pixels[i] >> sh) & 0xFF) - int((b.Pixels[i] >> sh) & 0xFF)));
  return worst;
}

TEST(JpegCodec, DecodesWhatLibjpegWrote) {
  const TBitmap32 picture = Gradient(50, 30);
  struct TCase { const char* What; std::string File; };
  std::string ours;
  ASSERT_TRUE(EncodeJpeg(picture, 95, ours));
  const TCase cases[] = {{"baseline", test::JpegFile(picture, {95})},
                         {"progressive", test::JpegFile(picture, {95, false, true})},
                         {"our encoder", ours}};
  for (const TCase& c : cases) {
    TBitmap32 decoded;
    ASSERT_TRUE(DecodeJpeg(Bytes(c.File), c.File.size(), decoded)) << c.What;
    ASSERT_EQ(decoded.Width, 50) << c.What;
    ASSERT_EQ(decoded.Height, 30) << c.What;
    EXPECT_LE(LargestDifference(picture, decoded), 8) << c.What;
    for (uint32_t p : decoded.Pixels) ASSERT_EQ(ColourAlpha(p), 0xFFu) << c.What << ": JPEG pictures are opaque";
  }
  // Grey pictures come out with red = green = blue.
  const std::string grey = test::JpegFile(picture, {95, true});
  TBitmap32 decoded;
  ASSERT_TRUE(DecodeJpeg(Bytes(grey), grey.size(), decoded));
  for (uint32_t p : decoded.Pixels) {
    ASSERT_EQ(ColourRed(p), ColourGreen(p));
    ASSERT_EQ(ColourRed(p), ColourBlue(p));
  }
  EXPECT_NEAR(int(ColourRed(decoded.At(49, 0))), 49 * 4, 8);
}

TEST(JpegCodec, BrokenFiles) {
  const std::string file = test::JpegFile(Gradient(64, 64), {90});
  TBitmap32 decoded;
  // Cut after the header: the library fills in what is missing.
  const std::string cut = file.substr(0, file.size() * 2 / 3);
  ASSERT_TRUE(DecodeJpeg(Bytes(cut), cut.size(), decoded));
  EXPECT_EQ(decoded.Width, 64);
  EXPECT_EQ(decoded.Pixels.size(), 64u * 64u);
  // Garbage after the start marker; not a JPEG at all.
  const std::string garbage = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(200, '\x11');
  EXPECT_FALSE(DecodeJpeg(Bytes(garbage), garbage.size(), decoded));
  EXPECT_TRUE(decoded.Pixels.empty());
  EXPECT_FALSE(DecodeJpeg(Bytes(std::string("BM")), 2, decoded));
  // Every prefix is refused or decoded whole, never read past.
  for (size_t n = 0; n < file.size(); n += 7) {
    TBitmap32 any;
    if (DecodeJpeg(Bytes(file), n, any)) {
      EXPECT_EQ(any.Pixels.size(), 64u * 64u);
    }
  }
}

TEST(JpegCodec, RefusesASizeTheFileCannotHold) {
  std::string file = test::JpegFile(Gradient(8, 8), {90});
  // The baseline frame header: FF C0, length, precision, height, width.
  const size_t sof = file.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  file[sof + 5] = file[sof + 7] = char(0x40);  // 16384 × 16384
  file[sof + 6] = file[sof + 8] = 0;
  TBitmap32 decoded;
  EXPECT_FALSE(DecodeJpeg(Bytes(file), file.size(), decoded));
  EXPECT_TRUE(decoded.Pixels.empty());
}

}  // namespace
}  // namespace kw
