// The glyph table, its measures and the drawing of glyph lines on small
// canvases with a glyph picture made here.
#include "media/glyph_font.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/canvas.h"
#include "platform/escaped_text.h"
#include "platform/font_list.h"
#include "platform/texture.h"

namespace kw {
namespace {

std::string Hex(uint32_t c) {
  char b[16];
  std::snprintf(b, sizeof b, "%08X", c);
  return b;
}

std::string Escaped(std::initializer_list<uint32_t> codes) {
  std::string s;
  for (uint32_t c : codes) AppendEscape(s, c);
  return s;
}

TEST(GlyphTable, ReadsCodesWidthsAndFace) {
  for (const char* eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
    const std::string e = eol;
    TGlyphFont font;
    std::string error = "stale";
    ASSERT_TRUE(font.ReadTable("3 glyphs follow" + e + "41 17" + e + "42 16" + e + "416 34" + e + "Nimbrel Sans" + e,
                               &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(font.Size(), 0x417u);
    EXPECT_EQ(font.FaceName(), "Nimbrel Sans");
    ASSERT_NE(font.Entry(0x41), nullptr);
    EXPECT_EQ(font.Entry(0x41)->Pattern, 0);
    EXPECT_EQ(font.Entry(0x41)->Advance, 10);
    EXPECT_EQ(font.Entry(0x42)->Pattern, 1);
    EXPECT_EQ(font.Entry(0x42)->Advance, 9);  // 9.41 rounded
    EXPECT_EQ(font.Entry(0x416)->Pattern, 2);
    EXPECT_EQ(font.Entry(0x416)->Advance, 20);
    // Codes no line sets lie inside the table without a glyph; beyond it there is no entry.
    EXPECT_EQ(font.Entry(0x43)->Advance, 0);
    EXPECT_EQ(font.Entry(0x417), nullptr);
    EXPECT_EQ(font.Advance(0x417, 1), 0);
    EXPECT_EQ(font.Advance(0x41, 1.5), 15);
  }
}

TEST(GlyphTable, RepeatedCodeKeepsTheLaterLine) {
  TGlyphFont font;
  ASSERT_TRUE(font.ReadTable("3\r\n41 17\r\n5a 8\r\n41 34\r\nFace\r\n"));
  EXPECT_EQ(font.Entry(0x41)->Pattern, 2);
  EXPECT_EQ(font.Entry(0x41)->Advance, 20);
  EXPECT_EQ(font.Entry(0x5A)->Pattern, 1);
}

TEST(GlyphTable, WidthsRoundHalfToEvenIntoEightBits) {
  // {width, stored advance}: Round(w / 1.7); past 255 the advance stays 255,
  // a negative width takes no room.
  const std::pair<int, int> cases[] = {{0, 0},     {1, 1},     {2, 1},     {16, 9},     {17, 10},
                                       {18, 11},   {100, 59},  {433, 255}, {434, 255},  {435, 255},
                                       {1000, 255}, {-5, 0}};
  for (const auto& [width, advance] : cases) {
    TGlyphFont font;
    ASSERT_TRUE(font.ReadTable("1\r\n41 " + std::to_string(width) + "\r\nF\r\n")) << width;
    EXPECT_EQ(font.Entry(0x41)->Advance, advance) << "width " << width;
  }
}

TEST(GlyphTable, CodesBeyondSixteenBitsAreIgnoredButKeepTheirPattern) {
  TGlyphFont font;
  ASSERT_TRUE(font.ReadTable("3\r\n41 17\r\n7FFFFFFF 17\r\n42 17\r\nF\r\n"));
  EXPECT_EQ(font.Size(), 0x43u);
  EXPECT_EQ(font.Entry(0x42)->Pattern, 2);
  // The huge count of a short file is not trusted either.
  EXPECT_FALSE(font.ReadTable("4000000000\r\n41 17\r\nF\r\n"));
}

TEST(GlyphTable, FaceLineIsOptional) {
  TGlyphFont font;
  ASSERT_TRUE(font.ReadTable("1\r\n41 17"));
  EXPECT_EQ(font.FaceName(), "");
  EXPECT_EQ(font.Entry(0x41)->Advance, 10);
  ASSERT_TRUE(font.ReadTable("0\r\nFace"));
  EXPECT_TRUE(font.Empty());
  EXPECT_EQ(font.FaceName(), "Face");
}

TEST(GlyphTable, BadTablesFailAndLeaveItEmpty) {
  const char* const bad[] = {
      "",                        // no count
      "\r\n41 17\r\nF",          // empty count line
      "three\r\n41 17\r\nF",     // count is not a number
      "-1\r\nF",                 // nor is a negative one
      "2\r\n41 17\r\n",          // fewer lines than the count
      "2\r\n41 17",              // the same without a face line
      "1\r\nzz 17\r\nF",         // code not hexadecimal
      "1\r\n 17\r\nF",           // no code
      "1\r\n41 1.5\r\nF",        // width not an integer
      "1\r\n41 0x11\r\nF",       // nor hexadecimal
      "1\r\n41\r\nF",            // no width
      "1\r\n41 17 3\r\nF",       // more than a width
  };
  for (const char* text : bad) {
    TGlyphFont font;
    ASSERT_TRUE(font.ReadTable("1\r\n41 17\r\nOld\r\n"));
    std::string error;
    EXPECT_FALSE(font.ReadTable(text, &error)) << text;
    EXPECT_NE(error, "") << text;
    EXPECT_TRUE(font.Empty()) << text;
    EXPECT_EQ(font.Entry(0x41), nullptr) << text;
    EXPECT_EQ(font.FaceName(), "") << text;
  }
}

TEST(GlyphTable, TextWidthSumsEscapedCharacters) {
  TGlyphFont font;
  ASSERT_TRUE(font.ReadTable("3\r\n41 17\r\n416 34\r\n20 34\r\nF\r\n"));
  const std::string zhe = Escaped({0x416});
  EXPECT_EQ(zhe, std::string("\x01\x16\x04", 3));
  EXPECT_EQ(font.TextWidth("A", 1), 10);
  EXPECT_EQ(font.TextWidth("A" + zhe + "A", 1), 40);
  EXPECT_EQ(font.TextWidth("A" + zhe, 0.5), 15);
  // Characters without a glyph take no room, inside the table or beyond it.
  EXPECT_EQ(font.TextWidth("ABA" + Escaped({0x417, 0xFFFF}), 1), 20);
  // An escape cut short ends the sum.
  EXPECT_EQ(font.TextWidth("A" + std::string("\x01\x16", 2), 1), 10);
  EXPECT_EQ(font.TextWidth("A\x01", 1), 10);
  EXPECT_EQ(font.TextWidth("", 1), 0);
}

TBitmapFont FontWithCell(int height) {
  TBitmapFont f;
  f.Name = "Cell";
  f.CellHeight = height;
  f.Atlas = TBitmap32(1, 1, 0x00FFFFFF);
  for (auto& g : f.Glyphs) g.Advance = 1;
  return f;
}

// Patterns of w × h, solid in the given colours, side by side.
TTexture GlyphPicture(int w, int h, const std::vector<uint32_t>& colours) {
  TBitmap32 bitmap(w * int(colours.size()), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < bitmap.Width; ++x) bitmap.At(x, y) = colours[size_t(x / w)];
  TTexture picture;
  EXPECT_TRUE(picture.LoadFromBitmap(bitmap, w, h, int(colours.size()), w, h, int(colours.size()), false));
  return picture;
}

TEST(GlyphFactor, FontHeightOverPatternHeight) {
  TFont font(FontWithCell(24));
  const TTexture picture = GlyphPicture(48, 48, {0xFFFFFFFF});
  EXPECT_EQ(GlyphFactor(&font, &picture), 0.5);
  TGlyphFont glyphs;
  ASSERT_TRUE(glyphs.ReadTable("1\r\n41 34\r\nF\r\n"));  // advance 20
  EXPECT_EQ(glyphs.Advance(0x41, GlyphFactor(&font, &picture)), 10);
  font.Scale = 2;  // the scale the font last received counts
  EXPECT_EQ(GlyphFactor(&font, &picture), 1.0);
  EXPECT_EQ(GlyphFactor(&font, nullptr), 1.0);
  const TTexture empty;
  EXPECT_EQ(GlyphFactor(&font, &empty), 1.0);
  EXPECT_EQ(GlyphFactor(nullptr, &picture), 0.0);
}

constexpr uint32_t Back = 0xFF000000;
constexpr uint32_t Red = 0xFF0000FF, Green = 0xFF00FF00, White = 0xFFFFFFFF, Blue = 0xFFFF0000;

// 'A' draws the red pattern, 'B' the green one, U+0416 the white one, all
// advancing 4 picture pixels; 'C' names a pattern the picture lacks.
struct TDrawFixture : ::testing::Test {
  TDrawFixture() {
    EXPECT_TRUE(Glyphs.ReadTable("4\r\n41 7\r\n42 7\r\n416 7\r\n43 7\r\nF\r\n"));
  }
  // The row `y` of the target as one character per pixel: r, g, w, b, '.'
  // for the background and '?' for anything else.
  std::string Row(int y, int from = 0, int to = -1) const {
    std::string s;
    if (to < 0) to = Target.Width;
    for (int x = from; x < to; ++x) {
      const uint32_t c = Target.At(x, y);
      s += c == Back ? '.' : c == Red ? 'r' : c == Green ? 'g' : c == White ? 'w' : c == Blue ? 'b' : '?';
    }
    return s;
  }
  TGlyphFont Glyphs;
  TTexture Picture = GlyphPicture(4, 4, {Red, Green, White});
  TBitmap32 Target{16, 6, Back};
  TCanvas Canvas{Target};
};

TEST_F(TDrawFixture, DrawsGlyphsLeftToRightAndSkipsMissingOnes) {
  Glyphs.DrawLine(Canvas, &Picture, "AxB" + Escaped({0x416}), 1, 1, White, 0x504, 1);
  EXPECT_TRUE(Canvas.Antialias());
  EXPECT_EQ(Row(0), "................");
  for (int y = 1; y <= 4; ++y) EXPECT_EQ(Row(y), ".rrrrggggwwww...") << y;
  EXPECT_EQ(Row(5), "................");
}

TEST_F(TDrawFixture, ScalesGlyphsAndAdvancesByK) {
  Glyphs.DrawLine(Canvas, &Picture, "ABA", 0, 0, White, 0x504, 0.5);
  EXPECT_EQ(Row(0), "rrggrr..........");
  EXPECT_EQ(Row(1), "rrggrr..........");
  EXPECT_EQ(Row(2), "................");
}

TEST_F(TDrawFixture, ColourTintsEveryCorner) {
  Glyphs.DrawLine(Canvas, &Picture, Escaped({0x416}), 0, 0, Blue, 1, 1);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(Row(y), "bbbb............") << y;
  // Half opacity blends with the background.
  Glyphs.DrawLine(Canvas, &Picture, Escaped({0x416}), 8, 0, 0x80FFFFFF, 0x504, 1);
  EXPECT_EQ(Hex(Target.At(9, 1) & 0xFFFFFF), Hex(0x808080)) << "white blended half over black";
}

TEST_F(TDrawFixture, CutEscapeEndsTheLine) {
  Glyphs.DrawLine(Canvas, &Picture, "A" + std::string("\x01\x42", 2) + "B", 0, 0, White, 0x504, 1);
  EXPECT_EQ(Row(0), "rrrr............");
  Target = TBitmap32(16, 6, Back);
  Glyphs.DrawLine(Canvas, &Picture, std::string("AB\x01", 3), 0, 0, White, 0x504, 1);
  EXPECT_EQ(Row(0), "rrrrgggg........");
}

TEST_F(TDrawFixture, PatternThePictureLacksMeasuresButIsNotDrawn) {
  Glyphs.DrawLine(Canvas, &Picture, "ACB", 0, 0, White, 0x504, 1);
  EXPECT_EQ(Row(0), "rrrr....gggg....");
}

TEST_F(TDrawFixture, NothingWithoutPictureOrScale) {
  const TTexture empty;
  for (double k : {1.0, 0.0, -1.0}) Glyphs.DrawLine(Canvas, k == 1 ? &empty : &Picture, "AB", 0, 0, White, 1, k);
  Glyphs.DrawLine(Canvas, nullptr, "AB", 0, 0, White, 1, 1);
  for (int y = 0; y < Target.Height; ++y) EXPECT_EQ(Row(y), "................");
}

// One pattern whose four columns are red, green, white and blue.
TTexture ColumnPicture() {
  TBitmap32 bitmap(4, 4);
  const uint32_t columns[] = {Red, Green, White, Blue};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) bitmap.At(x, y) = columns[x];
  TTexture picture;
  EXPECT_TRUE(picture.LoadFromBitmap(bitmap, 4, 4, 1, 4, 4, 1, false));
  return picture;
}

char PixelLetter(uint32_t p) {
  return p == Back ? '.' : p == Red ? 'r' : p == Green ? 'g' : p == White ? 'w' : p == Blue ? 'b' : '?';
}

// A target reaching past 2048 shows the band's cut on the right and bottom:
// one texel more than the overhang goes, and what is left keeps its size.
TEST(GlyphClip, CutsAtTheFarEdgeOfTheBand) {
  TGlyphFont glyphs;
  ASSERT_TRUE(glyphs.ReadTable("1\r\n41 7\r\nF\r\n"));
  const TTexture picture = ColumnPicture();
  struct TCase {
    double X, K;
    const char* Expected;  // pixels 2038 to 2053 ('?': a filtered blend)
  };
  const TCase cases[] = {
      {2044, 1, "......rgwb......"},    // ends at 2048: not cut
      {2046, 1, "........r......."},    // two over: three texels cut
      {2045, 1, ".......rg......."},
      {2050, 1, "................"},    // wholly past the band: nothing
      {2047.5, 1, "................"},
      {2040, 2, "..r??????b......"},    // ends at 2048
      {2042, 2, "....r???........"},    // two texels cut, four pixels left
  };
  for (const TCase& c : cases) {
    TBitmap32 target(2054, 2, Back);
    TCanvas canvas(target);
    glyphs.DrawLine(canvas, &picture, "A", c.X, 0, White, 1, c.K);
    std::string row;
    for (int x = 2038; x < 2054; ++x) row += PixelLetter(target.At(x, 1));
    EXPECT_EQ(row, c.Expected) << "x " << c.X << " k " << c.K;
  }

  // The same rule on the vertical axis.
  TBitmap32 target(1, 2054, Back);
  TCanvas canvas(target);
  glyphs.DrawLine(canvas, &picture, "A", 0, 2046, White, 1, 1);
  EXPECT_EQ(PixelLetter(target.At(0, 2045)), '.');
  EXPECT_EQ(PixelLetter(target.At(0, 2046)), 'r');
  EXPECT_EQ(PixelLetter(target.At(0, 2047)), '.');
}

// Past the near edge the cut lies outside every target; what shows must be
// exactly the uncut glyph, so the source rectangle moves with the quad.
TEST(GlyphClip, CutAtTheNearEdgeKeepsWhatShows) {
  TGlyphFont glyphs;
  ASSERT_TRUE(glyphs.ReadTable("1\r\n41 7\r\nF\r\n"));
  const TTexture picture = ColumnPicture();
  struct TCase {
    double X, Y, K;
  };
  for (const TCase& c : {TCase{-2600, -2600, 1000}, TCase{-2000, -1990.5, 520}, TCase{-1500, 0, 400},
                         TCase{-1030, -1030, 258}}) {
    TBitmap32 cut(8, 8, Back), whole(8, 8, Back);
    TCanvas cutCanvas(cut), wholeCanvas(whole);
    glyphs.DrawLine(cutCanvas, &picture, "A", c.X, c.Y, White, 1, c.K);
    const double r = c.X + 4 * c.K, b = c.Y + 4 * c.K;
    wholeCanvas.SetAntialias(true);
    wholeCanvas.Map(&picture, {{{c.X, c.Y}, {r, c.Y}, {r, b}, {c.X, b}}}, Colour4(White), 0, 0, 0, 4, 4, 1);
    int drawn = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        ASSERT_EQ(Hex(cut.At(x, y)), Hex(whole.At(x, y))) << "x " << c.X << " k " << c.K << " at " << x << "," << y;
        drawn += cut.At(x, y) != Back;
      }
    EXPECT_GT(drawn, 0) << "x " << c.X;
  }
}

}  // namespace
}  // namespace kw
