// The rendering device: the 1024 × 768 frame, the canvas that draws into
// it, the image list of textures and the bitmap fonts. The shell sets the
// render handler (the scene's drawing) and the presenter (the window
// back-end's upload of the finished frame, or nothing when headless).
#pragma once

#include <filesystem>
#include <functional>

#include "platform/bitmap32.h"
#include "platform/canvas.h"
#include "platform/font_list.h"
#include "platform/image_list.h"

namespace kw {

class TDevice {
 public:
  static constexpr int Width = 1024;
  static constexpr int Height = 768;

  TDevice();

  // Called by Render between the start and the end of a frame's drawing.
  std::function<void()> OnRender;
  // Takes the finished frame (upload to a window, a screenshot, a hash).
  std::function<void(const TBitmap32&)> Presenter;
  // Display mode as the shell last set it; textures survive a change, so
  // callers that remake them lose nothing.
  bool Windowed = true;

  // Starts a frame: the clip rectangle is reset to the whole frame, the
  // frame is filled with `colour` when `clear` is set, then OnRender runs.
  void Render(uint32_t colour, bool clear);
  // Hands the frame to the presenter, if any.
  void Present();

  TBitmap32& Frame() { return frame_; }
  const TBitmap32& Frame() const { return frame_; }
  TCanvas& Canvas() { return canvas_; }
  TImageList& Images() { return images_; }
  TFontList& Fonts() { return fonts_; }

 private:
  TBitmap32 frame_;
  TCanvas canvas_;
  TImageList images_;
  TFontList fonts_;
};

// Writes the current frame as a PNG file; false on failure.
bool WriteFramePng(const TDevice& device, const std::filesystem::path& file);

}  // namespace kw
