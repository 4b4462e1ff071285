// Drawing text elements into the device's frame with the "Mono" font:
// letters are 8 × 20 white blocks 10 apart, so every line's place can be
// read off the frame.
#include <cmath>

#include "text_fixture.h"

namespace kw::test {
namespace {

using TextRender = TTextTest;

TEST_F(TextRender, ANewTextWithOnlyTextDrawsNothing) {
  auto* t = new TKwText(screen);
  Write(*t, "Font", std::string("Mono"));
  Write(*t, "Text", std::string("ABC"));
  Write(*t, "hxColor2", int64_t(0xFFFFFF));
  Draw(*t);
  EXPECT_EQ(Drawn(), 0) << "the bottom colour starts fully transparent";
  Write(*t, "hxTrans2", int64_t(255));
  Draw(*t);
  EXPECT_EQ(Drawn(), 3 * 8 * 20);
}

TEST_F(TextRender, DrawsOnlyInItsLayerWithAFontTextAndBothOpacitiesAbove5) {
  struct {
    const char* name;
    void (*change)(TKwText&);
    bool draws;
  } cases[] = {
      {"as made", [](TKwText&) {}, true},
      {"other layer", [](TKwText& t) { t.SetOrder(3); }, false},
      {"no font", [](TKwText& t) { t.SetFont("Nothing"); }, false},
      {"empty text", [](TKwText& t) { t.SetText(""); }, false},
      {"top opacity 5", [](TKwText& t) { Write(t, "hxTrans1", int64_t(5)); }, false},
      {"bottom opacity 5", [](TKwText& t) { Write(t, "hxTrans2", int64_t(5)); }, false},
      {"opacities 6", [](TKwText& t) { Write(t, "hxTrans1", int64_t(6)); Write(t, "hxTrans2", int64_t(6)); }, true},
  };
  for (const auto& c : cases) {
    device.Canvas().Clear(Black);
    TKwText& t = NewText("A");
    c.change(t);
    Draw(t);
    EXPECT_EQ(Drawn() > 0, c.draws) << c.name;
    t.Vis = 0;  // out of the way of the next case
  }
}

TEST_F(TextRender, LinePlacesFollowTheAnchorsAndTheOffset) {
  TKwText& t = NewText("A");
  t.rX = 10;
  t.rY = 20;
  Draw(t, 0, 100, 200);
  EXPECT_EQ(Px(110, 220), White);
  EXPECT_EQ(Px(117, 239), White);
  EXPECT_EQ(Px(118, 220), Black);
  EXPECT_EQ(Px(109, 220), Black);
  EXPECT_EQ(Px(110, 219), Black);
  EXPECT_EQ(Px(110, 240), Black);
  EXPECT_EQ(Drawn(), 8 * 20);
}

struct TBlockCase {
  const char* Name;
  const char* Text;
  uint8_t PosHor, PosVert;
  double Interval;
  std::vector<std::pair<int, int>> Lines;  // left and top of each line's first glyph
};

void PrintTo(const TBlockCase& c, std::ostream* os) { *os << c.Name; }

class TextBlock : public TTextTest, public ::testing::WithParamInterface<TBlockCase> {};

TEST_P(TextBlock, LinesArePlacedInTheBox) {
  const TBlockCase& c = GetParam();
  TKwText& t = NewText();
  Write(t, "EnEnter", int64_t(1));
  Write(t, "PosHor", int64_t(c.PosHor));
  Write(t, "PosVert", int64_t(c.PosVert));
  Write(t, "Interval", c.Interval);
  Write(t, "Text", std::string(c.Text));
  Draw(t);
  int glyphs = 0;
  for (auto [left, top] : c.Lines) {
    EXPECT_EQ(Px(left, top), White) << c.Name << ": line at " << left << "," << top;
    EXPECT_EQ(Px(left, top + 19), White) << c.Name;
    if (top > 0) {
      EXPECT_EQ(Px(left, top - 1), Black) << c.Name;
    }
    if (left > 0) {
      EXPECT_EQ(Px(left - 1, top), Black) << c.Name;
    }
    EXPECT_EQ(Px(left, top + 20), Black) << c.Name;
  }
  for (const char* p = c.Text; *p; ++p) glyphs += (*p >= 'A' && *p <= 'Z');
  EXPECT_EQ(Drawn(), glyphs * 8 * 20) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBlock,
    ::testing::Values(
        // Three lines of height 20 with interval 5 make a block of 70: in a
        // box 100 high it starts 15 down.
        TBlockCase{"centre", "A\\nA\\nA", phLeft, pvCenter, 5, {{0, 15}, {0, 40}, {0, 65}}},
        TBlockCase{"top", "A\\nA", phLeft, pvTop, 5, {{0, 0}, {0, 25}}},
        TBlockCase{"bottom ends at the box's bottom edge", "A\\nA", phLeft, pvBottom, 5, {{0, 55}, {0, 80}}},
        TBlockCase{"each line aligned on its own", "A\\nAAA", phRight, pvTop, 5, {{90, 0}, {70, 25}}},
        TBlockCase{"centred lines", "AA\\nA", phCenter, pvTop, 5, {{40, 0}, {45, 25}}},
        // An empty line has no height: only the interval separates.
        TBlockCase{"empty line", "A\\n\\nA", phLeft, pvTop, 5, {{0, 0}, {0, 30}}}));

TEST_F(TextRender, WithoutEnEnterTheBreakIsText) {
  TKwText& t = NewText("A\\nB");
  Draw(t);
  // A, a backslash and an n (which draw nothing) and B on one line.
  EXPECT_EQ(Px(0, 0), White);
  EXPECT_EQ(Px(30, 0), White);
  EXPECT_EQ(Px(0, 25), Black);
  EXPECT_EQ(Drawn(), 2 * 8 * 20);
}

TEST_F(TextRender, GradientFromColour1AtTheTopToColour2AtTheBottom) {
  TKwText& t = NewText("A");
  Write(t, "hxColor1", int64_t(0x0000FF));  // red
  Write(t, "hxColor2", int64_t(0xFF0000));  // blue
  Draw(t);
  EXPECT_GT(ColourRed(Px(0, 0)), 240u);
  EXPECT_LT(ColourBlue(Px(0, 0)), 15u);
  EXPECT_GT(ColourBlue(Px(0, 19)), 240u);
  EXPECT_LT(ColourRed(Px(0, 19)), 15u);
}

TEST_F(TextRender, FilteringOnlyOffWholePixelsAtScale1) {
  struct {
    double rX, rY, scale;
    bool filtered;
  } cases[] = {{0, 0, 1, false}, {3, 7, 1, false}, {0.5, 0, 1, true}, {0, 0.25, 1, true}, {0, 0, 2, true}};
  for (const auto& c : cases) {
    TKwText& t = NewText("A");
    t.rX = c.rX;
    t.rY = c.rY;
    Write(t, "Scale", c.scale);
    device.Canvas().SetAntialias(!c.filtered);
    Draw(t);
    EXPECT_EQ(device.Canvas().Antialias(), c.filtered) << c.rX << "," << c.rY << " x" << c.scale;
    t.Vis = 0;
  }
}

TEST_F(TextRender, ShadowAndEmbossReachTheFont) {
  TKwText& t = NewText("A");
  Write(t, "hxShadColor", int64_t(0x00FF00));
  Write(t, "Shadow", int64_t(255));
  Draw(t);
  EXPECT_EQ(t.FoundFont()->Effects, FontShadow);
  EXPECT_EQ(t.FoundFont()->ShadowColour, 0x00FF00u);
  // The shadow shows 2 px right and down of the glyph, half opaque.
  const uint32_t shadow = Px(9, 21);
  EXPECT_EQ(ColourRed(shadow), 0u);
  EXPECT_NEAR(int(ColourGreen(shadow)), 128, 2);
  Write(t, "Emboss", int64_t(1));
  Draw(t);
  EXPECT_EQ(t.FoundFont()->Effects, FontShadow | FontEmboss);
}

TEST_F(TextRender, ScaleAndWrappingOnTheFrame) {
  TKwText& t = NewText();
  Write(t, "EnEnter", int64_t(1));
  Write(t, "AutoEnter", int64_t(1));
  Write(t, "Text", std::string("AAAA BBBB CCCC"));
  Draw(t);
  EXPECT_EQ(Px(0, 20), White) << "the third word went to the second line";
  EXPECT_EQ(Px(95, 0), Black);
  Write(t, "Scale", 0.5);
  device.Canvas().Clear(Black);
  Draw(t);
  EXPECT_EQ(Px(0, 10), Black) << "at half size one line holds it all";
  EXPECT_EQ(Px(45, 0), White);
}

TEST_F(TextRender, ChildrenRenderFromTheTextsPosition) {
  TKwText& t = NewText("A");
  t.rX = 100;
  t.rY = 50;
  auto* child = new TKwText(&t);
  Write(*child, "Font", std::string("Mono"));
  Write(*child, "hxColor2", int64_t(0xFFFFFF));
  Write(*child, "hxTrans2", int64_t(255));
  Write(*child, "Text", std::string("B"));
  child->rX = 20;
  child->rY = 30;
  Write(t, "hxTrans1", int64_t(0));  // the parent itself draws nothing
  Draw(t, 0, 1, 2);
  EXPECT_EQ(Px(121, 82), White);
  EXPECT_EQ(Px(120, 82), Black);
  EXPECT_EQ(Drawn(), 8 * 20);
}

TEST_F(TextRender, UniIsOnlyForUnicodeGames) {
  TKwText& t = NewText("A");
  Write(t, "Uni", int64_t(1));
  Shell().EntryText = &t;
  EXPECT_FALSE(t.DrawnBySystem());
  Draw(t);
  EXPECT_EQ(Drawn(), 8 * 20) << "drawn with the bitmap font";
  EXPECT_EQ(device.Images().Count(), 0);
}

}  // namespace
}  // namespace kw::test

namespace kw::test {
namespace {

// Values a game file or a script may give: drawing stays quiet and inside
// the frame, the layout ends.
TEST_F(TextRender, HostileSizesAndScalesDrawQuietly) {
  const double nan = std::nan("");
  const struct {
    double scale, interval, rX;
    int32_t sizeX, sizeY;
  } cases[] = {
      {nan, 0, 0, 100, 100},   {1e300, 0, 0, 100, 100}, {-3, 0, 0, 100, 100},  {0, 0, 0, 100, 100},
      {1, nan, 0, 100, 100},   {1, 1e308, 0, 100, 100}, {1, 0, 1e300, 100, 100}, {1, 0, nan, 100, 100},
      {1, 0, 0, INT32_MIN, INT32_MAX}, {1, 0, 0, -5, -5},
  };
  for (const auto& c : cases) {
    TKwText& t = NewText();
    Write(t, "EnEnter", int64_t(1));
    Write(t, "AutoEnter", int64_t(1));
    Write(t, "Interval", c.interval);
    Write(t, "SizeY", int64_t(c.sizeY));
    Write(t, "SizeX", int64_t(c.sizeX));
    Write(t, "Scale", c.scale);
    t.rX = c.rX;
    Write(t, "Shadow", int64_t(1));
    Write(t, "Text", std::string("AAAA BBBB\\nCCCC DDDD EEEE FFFF"));
    Draw(t);
    t.Vis = 0;
  }
  SUCCEED();
}

}  // namespace
}  // namespace kw::test
