// The window the player runs in, as a small interface: present a finished
// 1024 x 768 frame, poll input and window events, set the title, switch
// desktop full screen, show or hide the system cursor, show a message box.
// Two implementations: the SDL2 window (sdl_window.cpp, the only code that
// sees SDL) and the headless one, which has no window at all.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/bitmap32.h"

namespace kw {

struct TWindowEvent {
  enum class TKind : uint8_t {
    None,
    Close,        // the close box or the system asked the program to end
    MouseMove,    // X, Y in frame pixels (clamped to the frame)
    MouseDown,    // X, Y, Button
    MouseUp,      // X, Y, Button
    KeyDown,      // Key: SDL key code; Scancode; Modifiers
    Text,         // Text: typed text as UTF-8
    Activated,    // the window became active (focus gained, restored)
    Deactivated,  // the window lost focus or was minimised
  };
  TKind Kind = TKind::None;
  int32_t X = 0, Y = 0;
  int32_t Button = 0;
  int32_t Key = 0;
  int32_t Scancode = 0;
  uint32_t Modifiers = 0;
  std::string Text;
};

class TWindowBackend {
 public:
  virtual ~TWindowBackend() = default;

  // Makes the window (the rendering device) with a client area of the
  // frame's size, captioned with the title (UTF-8). False on failure.
  virtual bool Open(int frameWidth, int frameHeight, std::string_view title) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // True for the back-end without a window: it runs on the virtual clock.
  virtual bool IsHeadless() const = 0;

  virtual void SetTitle(std::string_view title) = 0;
  // Shows the frame scaled to fit the window with its aspect kept.
  virtual void Present(const TBitmap32& frame) = 0;
  // The next pending event; false when there is none.
  virtual bool PollEvent(TWindowEvent& event) = 0;

  virtual void SetFullScreen(bool on) = 0;
  virtual bool FullScreen() const = 0;
  virtual void ShowCursor(bool shown) = 0;
  // Moves the mouse pointer to the middle of the desktop.
  virtual void CentreMouse() = 0;
  // A message box with one OK button (usable before Open).
  virtual void ShowMessage(std::string_view title, std::string_view text) = 0;

  // The desktop's width and the window's outer width (client plus border),
  // in pixels: a desktop narrower than the window forces full screen.
  virtual int DesktopWidth() const = 0;
  virtual int OuterWidth() const = 0;
};

// The headless back-end: no window, no events; the last presented frame is
// kept (for screenshots) and message boxes go to stderr.
std::unique_ptr<TWindowBackend> CreateHeadlessWindow();

// The SDL2 window (defined in kw_platform_sdl). None when SDL's video
// cannot start.
std::unique_ptr<TWindowBackend> CreateSdlWindow();

}  // namespace kw
