#include "platform/headless_window.h"

#include <cstdio>

namespace kw {

bool THeadlessWindow::Open(int frameWidth, int, std::string_view title) {
  open_ = true;
  frameWidth_ = frameWidth;
  title_ = std::string(title);
  return true;
}

void THeadlessWindow::Present(const TBitmap32& frame) {
  lastFrame_ = frame;
  ++presented_;
}

bool THeadlessWindow::PollEvent(TWindowEvent& event) {
  if (next_ >= queue_.size()) {
    queue_.clear();
    next_ = 0;
    return false;
  }
  event = std::move(queue_[next_++]);
  return true;
}

void THeadlessWindow::Push(TWindowEvent event) { queue_.push_back(std::move(event)); }

void THeadlessWindow::ShowMessage(std::string_view title, std::string_view text) {
  lastMessage_ = std::string(text);
  std::fprintf(stderr, "%.*s: %.*s\n", int(title.size()), title.data(), int(text.size()), text.data());
}

std::unique_ptr<TWindowBackend> CreateHeadlessWindow() { return std::make_unique<THeadlessWindow>(); }

}  // namespace kw
