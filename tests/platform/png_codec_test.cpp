#include "platform/png_codec.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>

#include "support/pack_writer.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

TBitmap32 TestPicture(int width, int height) {
  TBitmap32 picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.At(x, y) = ColourRGBA(x * 37 + y, y * 11 + 3, (x ^ y) * 5, (x * 29 + y * 13) & 0xFF);
  return picture;
}

std::string Encoded(const TBitmap32& picture) {
  std::string bytes;
  EXPECT_TRUE(EncodePng(picture, bytes));
  return bytes;
}

bool Decode(const std::string& bytes, TBitmap32& out) {
  return DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

// A PNG written by libpng itself in another format than ours.
std::string LibpngEncoded(png_uint_32 format, int width, int height, const void* pixels,
                          const void* colormap = nullptr, int colormapEntries = 0) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = format;
  image.colormap_entries = png_uint_32(colormapEntries);
  png_alloc_size_t length = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &length, 0, pixels, 0, colormap));
  std::string out(length, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &length, 0, pixels, 0, colormap));
  out.resize(length);
  return out;
}

void AppendChunk(std::string& png, const char* type, const std::string& data) {
  auto be32 = [&](uint32_t v) {
    for (int i = 3; i >= 0; --i) png.push_back(char((v >> (8 * i)) & 0xFF));
  };
  be32(uint32_t(data.size()));
  const std::string body = std::string(type, 4) + data;
  png += body;
  be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

// A tiny, well-formed-looking file whose header claims a given size.
std::string ClaimedSize(uint32_t width, uint32_t height) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string ihdr;
  for (uint32_t v : {width, height})
    for (int i = 3; i >= 0; --i) ihdr.push_back(char((v >> (8 * i)) & 0xFF));
  ihdr += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA
  AppendChunk(png, "IHDR", ihdr);
  AppendChunk(png, "IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
  AppendChunk(png, "IEND", "");
  return png;
}

TEST(PngCodec, RoundTripKeepsEveryPixelAndAlpha) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 33}}) {
    const TBitmap32 picture = TestPicture(w, h);
    TBitmap32 back;
    ASSERT_TRUE(Decode(Encoded(picture), back)) << w << "x" << h;
    ASSERT_EQ(back.Width, w);
    ASSERT_EQ(back.Height, h);
    EXPECT_EQ(back.Pixels, picture.Pixels) << w << "x" << h;
  }
}

TEST(PngCodec, RedLandsInTheLowByte) {
  const uint8_t rgba[] = {0x11, 0x22, 0x33, 0x44};
  TBitmap32 out;
  ASSERT_TRUE(Decode(LibpngEncoded(PNG_FORMAT_RGBA, 1, 1, rgba), out));
  EXPECT_EQ(out.Pixels[0], 0x44332211u);
}

TEST(PngCodec, GreyAndPaletteFilesExpandToRgba) {
  const uint8_t grey[] = {0, 128, 255};
  TBitmap32 out;
  ASSERT_TRUE(Decode(LibpngEncoded(PNG_FORMAT_GRAY, 3, 1, grey), out));
  EXPECT_EQ(out.Pixels, (std::vector<uint32_t>{0xFF000000u, 0xFF808080u, 0xFFFFFFFFu}));

  // Palette with transparency (tRNS): index 0 clear, index 1 half red.
  const uint8_t palette[] = {0, 0, 0, 0, 255, 0, 0, 128};
  const uint8_t indices[] = {1, 0, 1, 1};
  ASSERT_TRUE(Decode(LibpngEncoded(PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP, 2, 2, indices, palette, 2), out));
  ASSERT_EQ(out.Width, 2);
  EXPECT_EQ(ColourAlpha(out.Pixels[1]), 0u);
  EXPECT_EQ(out.Pixels[0], 0x800000FFu);
  EXPECT_EQ(out.Pixels[3], 0x800000FFu);
}

TEST(PngCodec, BrokenFilesFailWithAnEmptyPicture) {
  const std::string good = Encoded(TestPicture(9, 9));
  TBitmap32 out;
  // Every truncation fails (the last chunk, IEND, is the only one not needed).
  for (size_t keep = 0; keep + 12 < good.size(); ++keep) {
    out = TestPicture(2, 2);
    EXPECT_FALSE(Decode(good.substr(0, keep), out)) << "kept " << keep << " bytes";
    EXPECT_TRUE(out.Empty());
    EXPECT_TRUE(out.Pixels.empty());
  }
  // A flipped byte in the image data breaks its checksum.
  std::string flipped = good;
  flipped[good.size() - 20] ^= 0x5A;
  EXPECT_FALSE(Decode(flipped, out));
  EXPECT_FALSE(Decode("not a png at all", out));
  EXPECT_FALSE(DecodePng(nullptr, 0, out));
}

TEST(PngCodec, SidesAboveTheLimitAreRefused) {
  TBitmap32 out;
  TBitmap32 atLimit(16384, 1, 0xFF0000FFu);
  ASSERT_TRUE(Decode(Encoded(atLimit), out));
  EXPECT_EQ(out.Width, 16384);
  for (auto [w, h] : {std::pair{16385, 1}, std::pair{1, 16385}}) {
    EXPECT_FALSE(Decode(Encoded(TBitmap32(w, h, 0xFFFFFFFFu)), out)) << w << "x" << h;
    EXPECT_TRUE(out.Empty());
  }
  // A header that claims far more than the file can hold.
  EXPECT_FALSE(Decode(ClaimedSize(16384, 16384), out));
  EXPECT_FALSE(Decode(ClaimedSize(0x7FFFFFFF, 1), out));
}

TEST(PngCodec, EncodeRefusesAnEmptyPictureAndWritesFiles) {
  std::string bytes = "x";
  EXPECT_FALSE(EncodePng(TBitmap32(), bytes));
  EXPECT_TRUE(bytes.empty());

  test::TTempFolder folder;
  const TBitmap32 picture = TestPicture(5, 4);
  ASSERT_TRUE(WritePngFile(folder / "shot.png", picture));
  TBitmap32 back;
  ASSERT_TRUE(Decode(test::TTempFolder::Read(folder / "shot.png"), back));
  EXPECT_EQ(back.Pixels, picture.Pixels);
  EXPECT_FALSE(WritePngFile(folder / "no" / "such" / "folder.png", picture));
}

}  // namespace
}  // namespace kw
