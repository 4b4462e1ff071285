// The specialised loops against the general loop: the same draws, once
// each way, must give the same pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "canvas_pixels.h"
#include "platform/canvas.h"

namespace kw {
namespace {

struct TPathCase {
  uint32_t Effect;
  const char* Name;
  std::function<void(TCanvas&, const TTexture&)> Draw;
};

const uint32_t Effects[] = {0x1, 0x504, 0x104, 0x0, 0x902, 0x10504, 0x40101, 0x30605, 0xA0A};

std::vector<TPathCase> PathCases() {
  std::vector<TPathCase> cases;
  for (uint32_t e : Effects) {
    cases.push_back({e, "whole-pixel draw", [e](TCanvas& c, const TTexture& t) {
                       c.Draw(&t, 0, 3, 2, 0xFFFFFFFF, e);
                       c.Draw(&t, 1, -5, 20, 0xFFFFFFFF, e);
                     }});
    cases.push_back({e, "tinted", [e](TCanvas& c, const TTexture& t) { c.Draw(&t, 0, 7, 1, 0x9F30C0FF, e); }});
    cases.push_back({e, "gradient", [e](TCanvas& c, const TTexture& t) {
                       c.Map(&t, {{{4, 3}, {294, 3}, {294, 33}, {4, 33}}}, {0xFFFFFFFF, 0xFFFFFFFF, 0x40804020, 0x40804020},
                             0, 0, 0, 0, 0, e);
                     }});
    cases.push_back({e, "scaled", [e](TCanvas& c, const TTexture& t) { c.DrawScaled(&t, 0, 1.25, 0.5, 1.5, 0xC0FFFFFF, e); }});
    cases.push_back({e, "rotated", [e](TCanvas& c, const TTexture& t) {
                       c.DrawRotated(&t, 1, 150, 20, 0.52, 1.5, 0xFFFFFFFF, e);
                     }});
    cases.push_back({e, "corner colours", [e](TCanvas& c, const TTexture& t) {
                       c.Map(&t, {{{0, 0}, {200, 5}, {190, 40}, {10, 35}}}, {0xFF0000FF, 0x8000FF00, 0xFFFF0000, 0x20FFFFFF},
                             0, 2.5, 1.5, 100, 20, e);
                     }});
    cases.push_back({e, "fills", [e](TCanvas& c, const TTexture&) {
                       c.FillRect(2, 2, 290, 30, Colour4(0x90406080), e);
                       c.FillRect(10.5, 4.25, 40, 20, {0xFF0000FF, 0x8000FF00, 0xFFFF0000, 0x20FFFFFF}, e);
                       c.FillTriangle({5, 5}, {250, 12.5}, {40, 39}, 0xC0FFFFFF, e);
                     }});
  }
  return cases;
}

TEST(CanvasPaths, FastLoopsMatchTheGeneralLoop) {
  // A picture wider than one chunk of the span loops, with transparent,
  // opaque and partly transparent texels; a target with varied alpha.
  const TBitmap32 picture = test::RandomPicture(290, 30, 7);
  TTexture texture;
  ASSERT_TRUE(texture.LoadFromBitmap(picture, 290, 15, 2, 292, 17, 2, false));
  const TBitmap32 start = test::RandomPicture(300, 40, 11, false);
  int index = 0;
  for (const TPathCase& c : PathCases()) {
    for (bool filter : {false, true}) {
      TBitmap32 fast = start, reference = start;
      TCanvas fastCanvas(fast), referenceCanvas(reference);
      referenceCanvas.SetReferenceMode(true);
      fastCanvas.SetAntialias(filter);
      referenceCanvas.SetAntialias(filter);
      fastCanvas.SetClipRect({1, 1, 299, 39});
      referenceCanvas.SetClipRect({1, 1, 299, 39});
      c.Draw(fastCanvas, texture);
      c.Draw(referenceCanvas, texture);
      EXPECT_TRUE(test::SamePixels(reference, fast,
                                   std::string(c.Name) + " effect " + test::Hex(c.Effect) + " case " + std::to_string(index) +
                                       (filter ? " filtered" : " unfiltered") + " (random picture 290x30, seed 7)"));
    }
    ++index;
  }
}

}  // namespace
}  // namespace kw
