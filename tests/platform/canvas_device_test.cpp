// The device's frame cycle: render (optional clear, then the handler) and
// present (the frame handed to the presenter).
#include <gtest/gtest.h>

#include "platform/device.h"

namespace kw {
namespace {

TEST(Device, RenderClearsOptionallyThenDrawsAndPresentHandsOverTheFrame) {
  TDevice device;
  ASSERT_EQ(device.Frame().Width, 1024);
  ASSERT_EQ(device.Frame().Height, 768);
  int renders = 0;
  device.OnRender = [&] {
    ++renders;
    EXPECT_EQ(device.Canvas().ClipRect(), (TClipRect{0, 0, 1024, 768})) << "each frame starts unclipped";
    device.Canvas().FillRect(10, 10, 2, 2, Colour4(0xFF00FF00), 0x1);
    device.Canvas().SetClipRect({0, 0, 1, 1});
  };
  device.Render(0xFF112233, true);
  EXPECT_EQ(device.Frame().At(0, 0), 0xFF112233u);
  EXPECT_EQ(device.Frame().At(11, 11), 0xFF00FF00u);

  device.Canvas().FillRect(0, 0, 1024, 768, Colour4(0xFF445566), 0x1);
  device.Render(0, false);  // a repaint over the last frame
  EXPECT_EQ(device.Frame().At(0, 0), 0xFF445566u);
  EXPECT_EQ(renders, 2);

  const TBitmap32* presented = nullptr;
  device.Present();  // no presenter: nothing happens
  device.Presenter = [&](const TBitmap32& frame) { presented = &frame; };
  device.Present();
  EXPECT_EQ(presented, &device.Frame());
}

}  // namespace
}  // namespace kw
