// Bitmap font measuring and drawing on tiny atlases built here.
#include <gtest/gtest.h>

#include "canvas_pixels.h"
#include "platform/canvas.h"
#include "platform/font_list.h"

namespace kw {
namespace {

using test::Hex;

constexpr uint32_t Back = 0xFF000000;

// Every code advances 1 and draws nothing, except 'A' (a 2x4 white block,
// advance 3) and 'B' (a 1x2 block, 1 down, advance 2). Cell height 4.
TBitmapFont TinyFont(const std::string& name = "Tiny") {
  TBitmapFont f;
  f.Name = name;
  f.CellHeight = 4;
  f.Atlas = TBitmap32(4, 4, 0x00FFFFFF);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) f.Atlas.At(x, y) = 0xFFFFFFFF;
  for (auto& g : f.Glyphs) g.Advance = 1;
  f.Glyphs['A'] = {0, 0, 2, 4, 0, 0, 3};
  f.Glyphs['B'] = {2, 0, 1, 2, 0, 1, 2};
  return f;
}

struct TTextFixture : ::testing::Test {
  TBitmap32 Target{12, 8, Back};
  TCanvas Canvas{Target};
  TFont Font{TinyFont()};
};

TEST_F(TTextFixture, WidthAndHeightAtTheFontsScale) {
  EXPECT_EQ(Font.TextWidth("AB"), 5);
  EXPECT_EQ(Font.TextWidth("xAx"), 5);
  EXPECT_EQ(Font.TextHeight("B"), 4);
  EXPECT_EQ(Font.TextHeight("AAAA"), 4);
  EXPECT_EQ(Font.TextHeight(""), 0);
  Font.Scale = 1.5;
  EXPECT_EQ(Font.TextWidth("AB"), 7.5);
  EXPECT_EQ(Font.TextHeight("x"), 6);
}

TEST_F(TTextFixture, InlineCodesAreNeitherDrawnNorMeasured) {
  const struct {
    const char* Text;
    double Width;
  } cases[] = {
      {"#$FF00FF00A", 3},      {"&$FF00FF00A", 3},   {"0xFF00FF00AB", 5}, {"A0x00000000B", 5},
      {"A#$FF00FF00", 3 + 10},  // at the very end: ordinary text
      {"#$FF00FF0GA", 11 - 1 + 3},  // not eight hex digits
      {"0X11223344A", 13},     {"#$FF00FF00#$FF0000FFA", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(Font.TextWidth(c.Text), c.Width) << c.Text;
}

TEST_F(TTextFixture, GlyphsShadeFromTopToBottomOfTheCell) {
  Font.TextOut(Canvas, "A", 1, 2, 0xFF0000FF, 0xFFFF0000, 0x504);
  // Red falls and blue rises over the four rows (centres 1/8 .. 7/8).
  const uint32_t rows[4] = {0xFF2000DF, 0xFF60009F, 0xFF9F0060, 0xFFDF0020};
  for (int y = 0; y < 4; ++y)
    for (int x = 1; x < 3; ++x) EXPECT_EQ(Hex(Target.At(x, 2 + y)), Hex(rows[y])) << x << "," << 2 + y;
  EXPECT_EQ(Target.At(3, 2), Back);
  EXPECT_EQ(Target.At(1, 1), Back);
  // 'B' sits one row down in the same cell: its rows take the cell's shading.
  Font.TextOut(Canvas, "B", 8, 2, 0xFF0000FF, 0xFFFF0000, 0x504);
  EXPECT_EQ(Hex(Target.At(8, 3)), Hex(rows[1]));
  EXPECT_EQ(Hex(Target.At(8, 4)), Hex(rows[2]));
  EXPECT_EQ(Target.At(8, 2), Back);
}

TEST_F(TTextFixture, InlineColourCodesChangeTheColours) {
  Font.TextOut(Canvas, "A#$FF00FF00A&$FFFF0000A", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x1);
  EXPECT_EQ(Hex(Target.At(0, 0)), "FFFFFFFF");
  // Top green, bottom still white; row centres at 1/8 and 7/8 of the cell.
  EXPECT_EQ(Hex(Target.At(3, 0)), "FF20FF20");
  EXPECT_EQ(Hex(Target.At(3, 3)), "FFDFFFDF");
  EXPECT_EQ(Hex(Target.At(6, 0)), Hex(0xFF20DF00)) << "top green, bottom blue";
  EXPECT_EQ(Hex(Target.At(6, 3)), Hex(0xFFDF2000));
  // 0x sets both; a code at the very end is drawn as characters (which
  // here have no glyphs) and changes nothing.
  TBitmap32 t2(12, 8, Back);
  TCanvas c2(t2);
  Font.TextOut(c2, "0xFF0000FFAA0xFF00FF00", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x1);
  EXPECT_EQ(Hex(t2.At(0, 3)), "FF0000FF");
  EXPECT_EQ(Hex(t2.At(3, 0)), "FF0000FF");
}

TEST_F(TTextFixture, ShadowGoesFirstTwoPixelsRightAndDownTimesTheScale) {
  Font.Effects = FontShadow;
  // Green at opacity 128 over opaque black: colour 128, alpha 64 + 127.
  const uint32_t Shadowed = 0xBF008000;
  Font.ShadowColour = 0x5500FF00;  // its own opacity is replaced by 128
  Font.TextOut(Canvas, "A", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x504);
  EXPECT_EQ(Hex(Target.At(0, 0)), "FFFFFFFF") << "the glyph is drawn over its shadow";
  EXPECT_EQ(Hex(Target.At(1, 3)), "FFFFFFFF");
  EXPECT_EQ(Hex(Target.At(2, 2)), Hex(Shadowed)) << "shadow only: green at opacity 128 over black";
  EXPECT_EQ(Hex(Target.At(3, 5)), Hex(Shadowed));
  EXPECT_EQ(Target.At(4, 5), Back);
  EXPECT_EQ(Target.At(2, 1), Back);

  TBitmap32 big(12, 12, Back);
  TCanvas c2(big);
  Font.Scale = 2;
  Font.TextOut(c2, "A", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x504);
  EXPECT_EQ(Hex(big.At(4, 4)), Hex(Shadowed));
  EXPECT_EQ(Hex(big.At(7, 11)), Hex(Shadowed));
  EXPECT_EQ(big.At(8, 11), Back);
  EXPECT_EQ(big.At(3, 3), 0xFFFFFFFFu);
}

TEST_F(TTextFixture, EmbossDrawsUpLeftThenABlackCopyInPlace) {
  Font.Effects = FontEmboss;
  Font.TextOut(Canvas, "A", 2, 2, 0xFFFFFFFF, 0xFFFFFFFF, 0x504);
  // Up-left copy only: white. Both: white under black at opacity 204.
  // Black copy only: black over black.
  EXPECT_EQ(Hex(Target.At(1, 1)), "FFFFFFFF");
  EXPECT_EQ(Hex(Target.At(2, 1)), "FFFFFFFF");
  EXPECT_EQ(Hex(Target.At(2, 2) & 0xFFFFFF), Hex(0x333333));
  EXPECT_EQ(Hex(Target.At(2, 4) & 0xFFFFFF), Hex(0x333333));
  EXPECT_EQ(ColourRed(Target.At(3, 5)), 0u);
  EXPECT_EQ(ColourRed(Target.At(3, 2)), 0u);
  EXPECT_EQ(Hex(Target.At(1, 4)), "FFFFFFFF");
  EXPECT_EQ(Target.At(4, 2), Back);
}

TEST(FontList, FindsWithoutRegardToCase) {
  TFontList fonts;
  fonts.Add(TinyFont("Arial14"));
  TFont& cyr = fonts.Add(TinyFont("\xD8\xF0\xE8\xF4\xF2"));  // Cyrillic "Shrift"
  EXPECT_NE(fonts.Find("ARIAL14"), nullptr);
  EXPECT_EQ(fonts.Find("arial14")->Name(), "Arial14");
  EXPECT_EQ(fonts.Find("\xF8\xF0\xE8\xF4\xF2"), &cyr);
  EXPECT_EQ(fonts.Find("Arial"), nullptr);
  EXPECT_EQ(fonts.Find(""), nullptr);
}

// A font whose atlas is missing still measures; glyph rectangles beyond the
// atlas are clipped to it.
TEST(FontList, BrokenAtlasMeasuresAndDrawsSafely) {
  TBitmapFont f = TinyFont();
  f.Glyphs['C'] = {3, 3, 500, 500, -3, -3, 4};
  TFont clipped(f);
  TBitmap32 target(8, 8, Back);
  TCanvas canvas(target);
  clipped.TextOut(canvas, "CAC", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x504);
  f.Atlas = TBitmap32();
  TFont none(f);
  EXPECT_EQ(none.TextWidth("CAC"), 11);
  none.TextOut(canvas, "A", 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0x504);
}

}  // namespace
}  // namespace kw
