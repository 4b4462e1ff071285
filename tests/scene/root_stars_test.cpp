// The star pool: 5001 slots, colours from text or the scripts' random
// source, movement per tick and the end of a star whose scale runs out.
#include "platform/device.h"
#include "root_fixture.h"

namespace kw::test {
namespace {

class RootStars : public TRootTest {
 protected:
  void SetUp() override {
    TRootTest::SetUp();
    LoadRoot("");
  }
  void Add(std::string_view colour, double scale = 1, double scaleStep = 0, int32_t layer = 0) {
    root->AddStar(3, colour, 10, 100, 200, scale, 5, scaleStep, 1.5, -2, layer, 0x504);
  }
  size_t ActiveCount() const {
    size_t n = 0;
    for (const TStar& s : root->Stars()) n += s.Active;
    return n;
  }
};

TEST_F(RootStars, AStarTakesTheFirstFreeSlotWithItsValues) {
  Add("$FF00", 2, 0, 7);
  const TStar& s = root->Stars()[0];
  EXPECT_TRUE(s.Active);
  EXPECT_EQ(s.Pattern, 3);
  EXPECT_EQ(s.Colour, 0xFF00u);
  EXPECT_EQ(s.Angle, 10);
  EXPECT_EQ(s.X, 100);
  EXPECT_EQ(s.Y, 200);
  EXPECT_EQ(s.Scale, 2);
  EXPECT_EQ(s.Layer, 7);
  EXPECT_EQ(s.DrawFx, 0x504);
  Add("123");
  EXPECT_EQ(root->Stars()[1].Colour, 123u);
}

TEST_F(RootStars, ColourTextRules) {
  // Random colours stay below 0xFFFFFF.
  for (int i = 0; i < 200; ++i) Add("");
  for (size_t i = 0; i < 200; ++i) EXPECT_LT(root->Stars()[i].Colour, 0xFFFFFFu);
  EXPECT_NE(root->Stars()[0].Colour, root->Stars()[1].Colour);
  // A text that is no number leaves the slot's colour as its last star had it.
  root->ClearStars();
  Add("4660");
  root->ClearStars();
  Add("red");
  EXPECT_EQ(root->Stars()[0].Colour, 4660u);
}

TEST_F(RootStars, ThePoolHolds5001StarsAndDropsTheNext) {
  for (size_t i = 0; i < TKwDB::kStarCount; ++i) Add("1");
  EXPECT_EQ(ActiveCount(), 5001u);
  root->AddStar(9, "2", 0, 0, 0, 1, 0, 0, 0, 0, 0, 0);  // the 5002nd
  EXPECT_EQ(ActiveCount(), 5001u);
  for (const TStar& s : root->Stars()) EXPECT_EQ(s.Pattern, 3);
}

TEST_F(RootStars, StarsMoveEachTickAndGoOutWhenTheirScaleRunsOut) {
  Add("1", 1, -0.5);
  Add("1", 1, 0);
  root->UpdateStars();
  const TStar& s = root->Stars()[0];
  EXPECT_TRUE(s.Active);
  EXPECT_EQ(s.Angle, 15);
  EXPECT_EQ(s.X, 101.5);
  EXPECT_EQ(s.Y, 198);
  EXPECT_EQ(s.Scale, 0.5);
  root->UpdateStars();  // scale 0: out
  EXPECT_FALSE(s.Active);
  EXPECT_TRUE(root->Stars()[1].Active);
  // The freed slot is taken first.
  Add("5");
  EXPECT_EQ(root->Stars()[0].Colour, 5u);
}

TEST_F(RootStars, RenderingWithoutTheParticlePictureDrawsNothing) {
  TDevice device;
  root->Device = &device;
  Add("1", 1, 0, 2);
  device.Frame().Pixels.assign(device.Frame().Pixels.size(), 0x11223344u);
  root->RenderStars(2);
  for (uint32_t p : device.Frame().Pixels) ASSERT_EQ(p, 0x11223344u);
  root->Device = nullptr;
  root->RenderStars(2);  // no device: nothing, no fault
}

}  // namespace
}  // namespace kw::test
