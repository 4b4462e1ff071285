// The device's frame cycle: render (optional clear, then the handler) and
// present (the frame handed to the presenter).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/device.h"
#include "platform/png_codec.h"

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

namespace kw {
namespace {

TEST(Device, WritesTheFrameAsPng) {
  TDevice device;
  device.Canvas().Clear(0xFF000000);
  device.Canvas().FillRect(3, 4, 5, 6, Colour4(0x80FF8040), 0x1);
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("kw_frame_" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(WriteFramePng(device, file));
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(file);
  TBitmap32 back;
  ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back));
  EXPECT_EQ(back.Width, 1024);
  EXPECT_EQ(back.Height, 768);
  EXPECT_TRUE(back.Pixels == device.Frame().Pixels);
  EXPECT_FALSE(WriteFramePng(device, "/nonexistent-folder/frame.png"));
}

}  // namespace
}  // namespace kw
