// The window back-end without a window: for tests, servers and --headless.
#pragma once

#include <vector>

#include "platform/window_backend.h"

namespace kw {

class THeadlessWindow : public TWindowBackend {
 public:
  bool Open(int frameWidth, int frameHeight, std::string_view title) override;
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool IsHeadless() const override { return true; }
  void SetTitle(std::string_view title) override { title_ = std::string(title); }
  void Present(const TBitmap32& frame) override;
  bool PollEvent(TWindowEvent& event) override;
  void SetFullScreen(bool on) override { fullScreen_ = on; }
  bool FullScreen() const override { return fullScreen_; }
  void ShowCursor(bool shown) override { cursorShown_ = shown; }
  void CentreMouse() override {}
  void ShowMessage(std::string_view title, std::string_view text) override;
  int DesktopWidth() const override { return 1920; }
  int OuterWidth() const override { return frameWidth_; }

  // What tests look at.
  const std::string& Title() const { return title_; }
  const TBitmap32& LastFrame() const { return lastFrame_; }
  int PresentedFrames() const { return presented_; }
  bool CursorShown() const { return cursorShown_; }
  const std::string& LastMessage() const { return lastMessage_; }
  // Queues an event for PollEvent (tests, replayed input).
  void Push(TWindowEvent event);

 private:
  bool open_ = false;
  bool fullScreen_ = false;
  bool cursorShown_ = false;
  int frameWidth_ = 0;
  int presented_ = 0;
  std::string title_;
  std::string lastMessage_;
  TBitmap32 lastFrame_;
  std::vector<TWindowEvent> queue_;
  size_t next_ = 0;
};

}  // namespace kw
