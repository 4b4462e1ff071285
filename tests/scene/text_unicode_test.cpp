// Text elements in a Unicode game: layout measured by the glyph font, and
// the operating-system drawing of Uni elements and of the element that
// takes typing (FreeType on a DejaVu face).
#include <filesystem>

#include "platform/escaped_text.h"
#include "platform/system_text.h"
#include "text_fixture.h"

namespace kw::test {
namespace {

const char* const kFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string Shown(std::string s) {
  for (char& c : s)
    if (c == '\0') c = '|';
  return s;
}

// Non-black pixels' bounding box.
struct TBox {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
};

class TextUnicode : public TTextTest {
 protected:
  void SetUp() override {
    TTextTest::SetUp();
    root->UnicodeMode = true;
    // A 10 and B 20 picture pixels wide (widths / 1.7), the space 5; k is 1
    // while the glyph picture is not loaded.
    std::string error;
    ASSERT_TRUE(root->Glyphs.ReadTable("3\r\n41 17\r\n42 34\r\n20 9\r\nDejaVu Sans\r\n", &error)) << error;
  }
  void TearDown() override {
    ForgetRegisteredFonts();
    TTextTest::TearDown();
  }

  static bool HaveFace() { return std::filesystem::exists(kFace); }

  TBox DrawnBox() const {
    TBox b;
    const TBitmap32& f = device.Frame();
    for (int y = 0; y < f.Height; ++y)
      for (int x = 0; x < f.Width; ++x)
        if (f.At(x, y) != Black) {
          b.Left = std::min(b.Left, x);
          b.Top = std::min(b.Top, y);
          b.Right = std::max(b.Right, x);
          b.Bottom = std::max(b.Bottom, y);
        }
    return b;
  }
};

TEST_F(TextUnicode, LayoutMeasuresWithTheGlyphFont) {
  TKwText& t = NewText();
  Write(t, "EnEnter", int64_t(1));
  Write(t, "AutoEnter", int64_t(1));
  struct {
    std::string text, laidOut;
  } cases[] = {
      {"AAAAAAAAAAAA", "AAAAAAAAAA|AA"},       // wider than the box: broken by characters
      {"BBBB BBBB", "BBBB|BBBB"},              // 80 + 85 passes 100
      {"AAAA BB", "AAAA BB"},                  // 40 + 5 + 40 fits
  };
  for (const auto& c : cases) {
    Write(t, "Text", c.text);
    EXPECT_EQ(Shown(t.LaidOut()), c.laidOut) << c.text;
  }
  // Characters without a glyph take no room, and an escape cut short at the
  // end ends the width: ten A's and those still fit the box.
  std::string noGlyph = "AAAAAAAAAA";
  AppendEscape(noGlyph, 0x0416);
  Write(t, "Text", noGlyph);
  EXPECT_EQ(t.LaidOut(), noGlyph);
  Write(t, "Text", std::string("AAAAAAAAAA\x01\x41"));
  EXPECT_EQ(t.LaidOut(), "AAAAAAAAAA\x01\x41");
}

TEST_F(TextUnicode, GlyphLinesWithoutTheGlyphPictureDrawNothing) {
  TKwText& t = NewText("AB");
  Draw(t);
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(device.Images().Count(), 0);
}

TEST_F(TextUnicode, UniTextIsDrawnByTheSystemCentredOnTheAnchor) {
  if (!HaveFace()) GTEST_SKIP() << "no DejaVu face on this machine";
  ASSERT_TRUE(RegisterFontFile(kFace));
  TKwText& t = NewText();
  Write(t, "Uni", int64_t(1));
  Write(t, "PosHor", int64_t(phCenter));
  Write(t, "PosVert", int64_t(pvCenter));
  Write(t, "hxColor1", int64_t(0x0000FF));  // red
  t.rX = 300;
  t.rY = 200;
  std::string text = "Hi ";
  AppendEscape(text, 0x0416);  // a Cyrillic letter the bitmap font could not show
  Write(t, "Text", text);

  Draw(t);
  const TBitmap32& bitmap = t.SystemBitmap();
  ASSERT_FALSE(bitmap.Empty());
  EXPECT_EQ(device.Images().Count(), 1);
  // Scaled to one and a half of the font's line height.
  const double k = 1.5 * 20 / bitmap.Height;
  const double w = bitmap.Width * k, h = bitmap.Height * k;
  const TBox box = DrawnBox();
  ASSERT_GE(box.Right, 0) << "something is drawn";
  EXPECT_GE(box.Left, int(300 + 50 - w / 2) - 1);
  EXPECT_LE(box.Right, int(300 + 50 + w / 2) + 1);
  EXPECT_GE(box.Top, int(200 + 50 - h / 2) - 1);
  EXPECT_LE(box.Bottom, int(200 + 50 + h / 2) + 1);
  for (uint32_t p : device.Frame().Pixels) {
    if (p == Black) continue;
    ASSERT_EQ(ColourGreen(p), 0u) << "colour 1 tints the white coverage";
    ASSERT_EQ(ColourBlue(p), 0u);
  }

  TValue size = t.TextSizeValue();
  EXPECT_EQ(size.kind, TValueKind::Float);
  EXPECT_DOUBLE_EQ(size.f, w);

  // Drawing again keeps one texture; a new text replaces it.
  Draw(t);
  EXPECT_EQ(device.Images().Count(), 1);
  const int oldWidth = bitmap.Width;
  Write(t, "Text", text + text);
  Draw(t);
  EXPECT_EQ(device.Images().Count(), 1);
  EXPECT_GT(t.SystemBitmap().Width, oldWidth);
  // A texture the list dropped is made again.
  device.Images().Clear();
  device.Canvas().Clear(Black);
  Draw(t);
  EXPECT_EQ(device.Images().Count(), 1);
  EXPECT_GT(Drawn(), 0);
}

TEST_F(TextUnicode, TheElementThatTakesTypingIsDrawnByTheSystem) {
  if (!HaveFace()) GTEST_SKIP() << "no DejaVu face on this machine";
  ASSERT_TRUE(RegisterFontFile(kFace));
  TKwText& t = NewText("typed");
  EXPECT_EQ(t.TextSizeValue().kind, TValueKind::Float);
  Shell().EntryText = &t;
  EXPECT_TRUE(t.DrawnBySystem());
  EXPECT_EQ(t.TextSizeValue().kind, TValueKind::Byte);
  Draw(t);
  EXPECT_EQ(device.Images().Count(), 1);
  EXPECT_GT(Drawn(), 0);
  EXPECT_GT(t.TextSizeValue().f, 0.0);
}

}  // namespace
}  // namespace kw::test
