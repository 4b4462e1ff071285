// Text elements drawn with the build's default fonts archive (DejaVu Sans
// bitmap fonts made by kwfont): real glyphs land inside the box where the
// anchors put them, and TEXTSZ is the drawn width.
#include <filesystem>

#include "media/fonts_archive.h"
#include "text_fixture.h"

namespace kw::test {
namespace {

const std::filesystem::path kArchive = std::filesystem::path(KW_BINARY_DIR) / "fonts" / "default.fnt";

class TextDefaultFonts : public TTextTest {
 protected:
  void SetUp() override {
    TTextTest::SetUp();
    if (!std::filesystem::exists(kArchive)) GTEST_SKIP() << "the default fonts archive is not built";
    for (TBitmapFont& f : ReadFontsArchiveFile(kArchive)) device.Fonts().Add(std::move(f));
    ASSERT_NE(device.Fonts().Find("Big"), nullptr);
  }
  // Bounding box of the drawn pixels: left, top, right, bottom (inclusive).
  std::array<int, 4> Box() const {
    std::array<int, 4> b{1 << 30, 1 << 30, -1, -1};
    const TBitmap32& f = device.Frame();
    for (int y = 0; y < f.Height; ++y)
      for (int x = 0; x < f.Width; ++x)
        if (f.At(x, y) != Black) b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), std::max(b[3], y)};
    return b;
  }
};

TEST_F(TextDefaultFonts, CentredTextSitsInTheMiddleOfItsBox) {
  TKwText& t = NewText();
  Write(t, "Font", std::string("big"));
  Write(t, "PosHor", int64_t(phCenter));
  Write(t, "PosVert", int64_t(pvCenter));
  Write(t, "SizeX", int64_t(300));
  Write(t, "SizeY", int64_t(80));
  Write(t, "Text", std::string("Play"));
  t.rX = 200;
  t.rY = 100;
  Draw(t);
  const auto [left, top, right, bottom] = Box();
  ASSERT_GE(right, 0);
  const TFont& font = *t.FoundFont();
  const double width = font.TextWidth("Play"), height = font.TextHeight("Play");
  // The ink lies within the pen's cell, which is centred in the box.
  EXPECT_GE(left, int(200 + (300 - width) / 2) - 2);
  EXPECT_LE(right, int(200 + (300 + width) / 2) + 2);
  EXPECT_GE(top, int(100 + (80 - height) / 2) - 1);
  EXPECT_LE(bottom, int(100 + (80 + height) / 2) + 1);
  EXPECT_NEAR((left + right) / 2.0, 350, width / 4);
  EXPECT_DOUBLE_EQ(t.TextSizeValue().f, width);
}

}  // namespace
}  // namespace kw::test
