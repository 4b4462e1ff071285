// Where the canvas draws: exact whole-pixel copies, turns, clipping,
// pattern clamping, rectangles and triangles.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canvas_pixels.h"
#include "platform/canvas.h"
#include "platform/image_list.h"

namespace kw {
namespace {

using test::SamePixels;

constexpr uint32_t Back = 0xFF000000;

// The picture pasted at (x, y) where its pixels are not transparent.
TBitmap32 Pasted(const TBitmap32& back, const TBitmap32& picture, int x, int y) {
  TBitmap32 out = back;
  for (int j = 0; j < picture.Height; ++j)
    for (int i = 0; i < picture.Width; ++i)
      if (x + i >= 0 && y + j >= 0 && x + i < out.Width && y + j < out.Height && (picture.At(i, j) >> 24))
        out.At(x + i, y + j) = picture.At(i, j);
  return out;
}

TEST(CanvasGeometry, WholePixelDrawsReproduceThePictureFilteredOrNot) {
  // With some clear texels, and fully opaque (a plain copy).
  for (bool someClear : {true, false}) {
    const TBitmap32 picture = test::RandomPicture(5, 4, 3, someClear);
    const TTexture texture = test::TextureOf(picture);
    const struct { double X, Y; } places[] = {{1, 2}, {0, 0}, {-2, -1}, {5, 6}};
    for (bool filter : {false, true})
      for (bool reference : {false, true})
        for (auto at : places) {
          TBitmap32 target(8, 8, Back);
          TCanvas canvas(target);
          canvas.SetAntialias(filter);
          canvas.SetReferenceMode(reference);
          canvas.Draw(&texture, 0, at.X, at.Y, 0xFFFFFFFF, 0x1);
          EXPECT_TRUE(SamePixels(Pasted(TBitmap32(8, 8, Back), picture, int(at.X), int(at.Y)), target,
                                 "5x4 picture at " + std::to_string(at.X) + "," + std::to_string(at.Y) +
                                     (filter ? " filtered" : "") + (reference ? " general loop" : "") +
                                     (someClear ? "" : " opaque")));
        }
  }
}

// Pixel centres map to texel centres: at scale 2 unfiltered every texel
// covers a 2x2 block; filtered, a 1-pixel shift of half a texel averages.
TEST(CanvasGeometry, ScaledDrawsSampleAtPixelCentres) {
  TBitmap32 picture(2, 1);
  picture.At(0, 0) = 0xFF000000;
  picture.At(1, 0) = 0xFFC8C8C8;
  const TTexture texture = test::TextureOf(picture);
  TBitmap32 target(4, 2, 0);
  TCanvas canvas(target);
  canvas.DrawScaled(&texture, 0, 0, 0, 2, 0xFFFFFFFF, 0x1);
  TBitmap32 expected(4, 2, 0xFF000000);
  for (int y = 0; y < 2; ++y) expected.At(2, y) = expected.At(3, y) = 0xFFC8C8C8;
  EXPECT_TRUE(SamePixels(expected, target, "2x1 picture black|grey200 at scale 2, unfiltered"));

  canvas.SetAntialias(true);
  canvas.DrawScaled(&texture, 0, 0, 0, 2, 0xFFFFFFFF, 0x1);
  // Centres at texel 0.25, 0.75, 1.25, 1.75: edge, 1/4, 3/4, edge.
  const uint32_t row[4] = {0xFF000000, 0xFF323232, 0xFF969696, 0xFFC8C8C8};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(test::Hex(target.At(x, 0)), test::Hex(row[x])) << "x " << x;
}

TEST(CanvasGeometry, QuarterTurnIsTheTransposedPicture) {
  const TBitmap32 picture = test::RandomPicture(4, 3, 5, false);
  const TTexture texture = test::TextureOf(picture);
  for (bool filter : {false, true}) {
    // Map with the corners swapped across the diagonal: exactly the transpose.
    TBitmap32 target(3, 4, Back), expected(3, 4, Back);
    TCanvas canvas(target);
    canvas.SetAntialias(filter);
    canvas.Map(&texture, {{{0, 0}, {0, 4}, {3, 4}, {3, 0}}}, Colour4(0xFFFFFFFF), 0, 0, 0, 0, 0, 0x1);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 3; ++x) expected.At(x, y) = picture.At(y, x);
    EXPECT_TRUE(SamePixels(expected, target, std::string("map transposed") + (filter ? " filtered" : "")));

    // Turned by 90 degrees about its centre: clockwise on screen, the
    // transpose mirrored left to right.
    TBitmap32 turned(3, 4, Back);
    TCanvas turnCanvas(turned);
    turnCanvas.SetAntialias(filter);
    turnCanvas.DrawRotated(&texture, 0, 1.5, 2, M_PI / 2, 1, 0xFFFFFFFF, 0x1);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 3; ++x) expected.At(x, y) = picture.At(y, 2 - x);
    EXPECT_TRUE(SamePixels(expected, turned, std::string("rotated 90") + (filter ? " filtered" : "")));
  }
}

TEST(CanvasGeometry, ClipRectangleConfinesDrawingAndNormalisesCorners) {
  TBitmap32 target(6, 6, Back);
  TCanvas canvas(target);
  EXPECT_EQ(canvas.ClipRect(), (TClipRect{0, 0, 6, 6}));
  canvas.SetClipRect({4, 5, 1, 2});  // swapped corners
  EXPECT_EQ(canvas.ClipRect(), (TClipRect{1, 2, 4, 5}));
  const TTexture texture = test::TextureOf(TBitmap32(8, 8, 0xFFFFFFFF));
  canvas.Draw(&texture, 0, -1, -1, 0xFFFFFFFF, 0x1);
  canvas.FillRect(-10, -10, 100, 100, Colour4(0xFFFFFFFF), 0x504);
  canvas.DrawRotated(&texture, 0, 3, 3, 0.3, 2, 0xFFFFFFFF, 0x104);
  TBitmap32 expected(6, 6, Back);
  for (int y = 2; y < 5; ++y)
    for (int x = 1; x < 4; ++x) expected.At(x, y) = 0xFFFFFFFF;
  EXPECT_TRUE(SamePixels(expected, target, "clip (4,5)-(1,2), draws over everything"));

  // A clip outside the target draws nothing; reset gives the whole target.
  canvas.SetClipRect({10, 10, 20, 20});
  canvas.FillRect(0, 0, 6, 6, Colour4(0xFF0000FF), 0x1);
  EXPECT_TRUE(SamePixels(expected, target, "clip outside the target"));
  canvas.ResetClipRect();
  EXPECT_EQ(canvas.ClipRect(), (TClipRect{0, 0, 6, 6}));
}

TEST(CanvasGeometry, MapClampsPatternAndTakesWholePatternBelowOne) {
  TBitmap32 strip(6, 2);
  const uint32_t colours[3] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 2; ++y) strip.At(x, y) = colours[x / 2];
  strip.At(3, 1) = 0xFFFFFFFF;  // one marked texel in pattern 1
  TTexture texture;
  ASSERT_TRUE(texture.LoadFromBitmap(strip, 2, 2, 3, 4, 4, 3, false));
  auto mapped = [&](int pattern, double sx, double sy, double sw, double sh) {
    TBitmap32 target(2, 2, Back);
    TCanvas canvas(target);
    canvas.Map(&texture, {{{0, 0}, {2, 0}, {2, 2}, {0, 2}}}, Colour4(0xFFFFFFFF), pattern, sx, sy, sw, sh, 0x1);
    return target;
  };
  EXPECT_EQ(mapped(7, 0, 0, 0, 0).At(0, 0), colours[2]) << "beyond the last pattern";
  EXPECT_EQ(mapped(-3, 0, 0, 0, 0).At(0, 0), colours[0]) << "below the first";
  EXPECT_EQ(mapped(1, 0, 0, 0.5, 2).At(1, 1), 0xFFFFFFFFu) << "width below 1 takes the whole pattern";
  // A one-texel source rectangle stretched over 2x2.
  const TBitmap32 one = mapped(1, 1, 1, 1, 1);
  for (uint32_t c : one.Pixels) EXPECT_EQ(c, 0xFFFFFFFFu);
}

TEST(CanvasGeometry, FilteringClampsToThePatternsOwnEdges) {
  TBitmap32 strip(4, 2);
  for (int y = 0; y < 2; ++y) {
    strip.At(0, y) = strip.At(1, y) = 0xFF0000FF;
    strip.At(2, y) = strip.At(3, y) = 0xFF00FF00;
  }
  TTexture texture;
  ASSERT_TRUE(texture.LoadFromBitmap(strip, 2, 2, 2, 4, 4, 2, false));
  TBitmap32 target(9, 9, Back);
  TCanvas canvas(target);
  canvas.SetAntialias(true);
  canvas.DrawRotated(&texture, 0, 4.5, 4.5, 0.4, 4.3, 0xFFFFFFFF, 0x504);
  for (uint32_t c : target.Pixels) EXPECT_EQ(ColourGreen(c), 0u) << test::Hex(c);
}

TEST(CanvasGeometry, RectangleCornerColours) {
  TBitmap32 target(2, 2, Back);
  TCanvas canvas(target);
  // Left corners red 0, right red 200: centres at 1/4 and 3/4.
  canvas.FillRect(0, 0, 2, 2, {0xFF000000, 0xFF0000C8, 0xFF0000C8, 0xFF000000}, 0x1);
  EXPECT_EQ(ColourRed(target.At(0, 0)), 50u);
  EXPECT_EQ(ColourRed(target.At(1, 1)), 150u);
  // Top corners green 200, bottom 0.
  canvas.FillRect(0, 0, 2, 2, {0xFF00C800, 0xFF00C800, 0xFF000000, 0xFF000000}, 0x1);
  EXPECT_EQ(ColourGreen(target.At(1, 0)), 150u);
  EXPECT_EQ(ColourGreen(target.At(0, 1)), 50u);

  // Four corners of a larger rectangle: each corner pixel is closest to its
  // own corner colour.
  TBitmap32 big(40, 40, Back);
  TCanvas bigCanvas(big);
  const TColour4 corners = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
  bigCanvas.FillRect(0, 0, 40, 40, corners, 0x1);
  const int at[4][2] = {{0, 0}, {39, 0}, {39, 39}, {0, 39}};
  for (int i = 0; i < 4; ++i) {
    const uint32_t got = big.At(at[i][0], at[i][1]);
    for (int sh = 0; sh < 24; sh += 8)
      EXPECT_NEAR(double((got >> sh) & 0xFF), double((corners[size_t(i)] >> sh) & 0xFF), 13) << "corner " << i;
  }
}

TEST(CanvasGeometry, FrameAndFillFrameDrawEachPixelOnce) {
  TBitmap32 target(6, 5, Back);
  TCanvas canvas(target);
  canvas.FrameRect(1, 1, 4, 3, Colour4(0xFF404040), 0x104);
  TBitmap32 expected(6, 5, Back);
  for (int x = 1; x < 5; ++x) expected.At(x, 1) = expected.At(x, 3) = 0xFF404040;
  expected.At(1, 2) = expected.At(4, 2) = 0xFF404040;
  EXPECT_TRUE(SamePixels(expected, target, "frame 1,1 4x3 additive grey 64"));

  TBitmap32 both(6, 5, Back);
  TCanvas bothCanvas(both);
  bothCanvas.FillFrameRect(1, 1, 4, 3, Colour4(0xFF101010), Colour4(0xFF404040), 0x104);
  expected.At(2, 2) = expected.At(3, 2) = 0xFF101010;
  EXPECT_TRUE(SamePixels(expected, both, "fill grey 16 and frame grey 64, additive"));
}

TEST(CanvasGeometry, TrianglesCoverByPixelCentreWithoutOverlap) {
  TBitmap32 target(5, 5, Back);
  TCanvas canvas(target);
  canvas.FillTriangle({0, 0}, {4, 0}, {0, 4}, 0xFF404040, 0x104);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(target.At(x, y), x + y < 3 ? 0xFF404040u : Back) << x << "," << y;
  // The other half of the square: together every pixel exactly once.
  canvas.FillTriangle({4, 0}, {4, 4}, {0, 4}, 0xFF404040, 0x104);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(target.At(x, y), x < 4 && y < 4 ? 0xFF404040u : Back) << x << "," << y;
}

TEST(CanvasGeometry, BadCoordinatesDrawNothingAndDoNotCrash) {
  TBitmap32 target(4, 4, Back);
  TCanvas canvas(target);
  const TTexture texture = test::TextureOf(TBitmap32(2, 2, 0xFFFFFFFF));
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  canvas.Draw(&texture, 0, nan, 0, 0xFFFFFFFF, 0x1);
  canvas.DrawRotated(&texture, 0, 1, 1, inf, 1, 0xFFFFFFFF, 0x1);
  canvas.DrawScaled(&texture, 0, 0, 0, nan, 0xFFFFFFFF, 0x1);
  canvas.FillTriangle({0, 0}, {nan, 1}, {1, 1}, 0xFFFFFFFF, 0x1);
  canvas.Draw(nullptr, 0, 0, 0, 0xFFFFFFFF, 0x1);
  for (uint32_t c : target.Pixels) EXPECT_EQ(c, Back);
  // Enormous shapes are clipped, not walked.
  canvas.FillRect(-1e12, -1e12, 3e12, 3e12, Colour4(0xFFFFFFFF), 0x1);
  canvas.DrawScaled(&texture, 0, -1e7, -1e7, 1e8, 0xFFFFFFFF, 0x1);
  for (uint32_t c : target.Pixels) EXPECT_EQ(c, 0xFFFFFFFFu);
}

TEST(Texture, KeyFlagMakesNearBlackTransparent) {
  TBitmap32 p(4, 1);
  p.At(0, 0) = 0xFF000000;
  p.At(1, 0) = 0xFF080808;  // at the threshold
  p.At(2, 0) = 0xFF000009;  // red just above it
  p.At(3, 0) = 0xFFFFFFFF;
  TTexture keyed;
  ASSERT_TRUE(keyed.LoadFromBitmap(p, 4, 1, 1, 6, 4, 1, true));
  EXPECT_EQ(keyed.Pixel(0, 0, 0), 0u);
  EXPECT_EQ(keyed.Pixel(1, 0, 0), 0u);
  EXPECT_EQ(keyed.Pixel(2, 0, 0), 0xFF000009u);
  EXPECT_EQ(keyed.Pixel(3, 0, 0), 0xFFFFFFFFu);
  TTexture plain;
  ASSERT_TRUE(plain.LoadFromBitmap(p, 4, 1, 1, 6, 4, 1, false));
  EXPECT_EQ(plain.Pixel(0, 0, 0), 0xFF000000u);
}

TEST(Texture, PixelReadsAPatternOfATexture) {
  // 2 columns x 2 rows of 3x2 frames; frame k filled with k + 1.
  TBitmap32 sheet(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) sheet.At(x, y) = uint32_t(1 + x / 3 + 2 * (y / 2));
  TTexture t;
  ASSERT_TRUE(t.LoadFromBitmap(sheet, 3, 2, 4, 6, 4, 4, false));  // one frame per texture
  EXPECT_EQ(t.PatternCount(), 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(t.Pixel(2, 1, k), uint32_t(k + 1)) << "texture " << k;
  EXPECT_EQ(t.Pixel(3, 0, 0), 0u) << "padding of the texture";
  EXPECT_EQ(t.Pixel(-1, 0, 0), 0u);
  EXPECT_EQ(t.Pixel(0, 0, 4), 0u);
  // A frame reaching past the bitmap is transparent there.
  TTexture over;
  ASSERT_TRUE(over.LoadFromBitmap(sheet, 4, 4, 2, 6, 6, 2, false));
  EXPECT_EQ(over.PatternPixel(1, 1, 0), 0u);
  EXPECT_FALSE(over.LoadFromBitmap(TBitmap32(), 1, 1, 1, 1, 1, 1, false));
  EXPECT_FALSE(over.LoadFromBitmap(sheet, 1, 1, 1 << 30, 1, 1, 1, false));
}

TEST(ImageList, AddFindRemove) {
  TImageList list;
  TTexture& a = list.Add("HERO");
  TTexture& b = list.Add("BACK");
  EXPECT_EQ(list.Find("BACK"), &b);
  EXPECT_EQ(list.Find("NONE"), nullptr);
  EXPECT_TRUE(list.Remove(&a));
  EXPECT_FALSE(list.Contains(&a));
  EXPECT_FALSE(list.Remove(&a));
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.At(0), &b);
}

}  // namespace
}  // namespace kw
