// The SDL2 window back-end: one window whose client area is the frame's
// size, the frame uploaded to a streaming texture each present and drawn
// scaled to fit with its aspect kept (letterboxed) through the renderer's
// logical size, which also maps mouse positions back into frame pixels.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/window_backend.h"

namespace kw {

namespace {

class TSdlWindow final : public TWindowBackend {
 public:
  TSdlWindow() = default;
  ~TSdlWindow() override { Close(); }

  bool Open(int frameWidth, int frameHeight, std::string_view title) override {
    Close();
    frameW_ = frameWidth;
    frameH_ = frameHeight;
    // The game keeps running behind other windows; linear filtering scales
    // the frame smoothly when the window is not 1:1.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      std::fprintf(stderr, "kwplay: no video: %s\n", SDL_GetError());
      return false;
    }
    videoUp_ = true;
    const std::string caption(title);
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, frameWidth,
                               frameHeight, SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
    if (!window_) return Fail();
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return Fail();
    SDL_RenderSetLogicalSize(renderer_, frameWidth, frameHeight);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, frameWidth,
                                 frameHeight);
    if (!texture_) return Fail();
    SDL_ShowCursor(SDL_DISABLE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return true;
  }

  void Close() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoUp_ = false;
  }

  bool IsOpen() const override { return window_ != nullptr; }
  bool IsHeadless() const override { return false; }

  void SetTitle(std::string_view title) override {
    if (window_) SDL_SetWindowTitle(window_, std::string(title).c_str());
  }

  void Present(const TBitmap32& frame) override {
    if (!renderer_ || frame.Width != frameW_ || frame.Height != frameH_) return;
    SDL_UpdateTexture(texture_, nullptr, frame.Pixels.data(), frame.Width * 4);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  bool PollEvent(TWindowEvent& out) override {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      out = TWindowEvent{};
      using K = TWindowEvent::TKind;
      switch (e.type) {
        case SDL_QUIT:
          out.Kind = K::Close;
          return true;
        case SDL_WINDOWEVENT:
          if (e.window.event == SDL_WINDOWEVENT_CLOSE) out.Kind = K::Close;
          else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || e.window.event == SDL_WINDOWEVENT_RESTORED)
            out.Kind = K::Activated;
          else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST || e.window.event == SDL_WINDOWEVENT_MINIMIZED)
            out.Kind = K::Deactivated;
          else
            continue;
          return true;
        case SDL_MOUSEMOTION:
          out.Kind = K::MouseMove;
          SetPoint(out, e.motion.x, e.motion.y);
          return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
          out.Kind = e.type == SDL_MOUSEBUTTONDOWN ? K::MouseDown : K::MouseUp;
          out.Button = e.button.button;
          SetPoint(out, e.button.x, e.button.y);
          return true;
        case SDL_KEYDOWN:
          out.Kind = K::KeyDown;
          out.Key = e.key.keysym.sym;
          out.Scancode = e.key.keysym.scancode;
          out.Modifiers = e.key.keysym.mod;
          return true;
        case SDL_TEXTINPUT:
          out.Kind = K::Text;
          out.Text = e.text.text;
          return true;
        default:
          continue;
      }
    }
    return false;
  }

  void SetFullScreen(bool on) override {
    if (!window_ || on == fullScreen_) return;
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) fullScreen_ = on;
    if (!fullScreen_) SDL_SetWindowSize(window_, frameW_, frameH_);
  }
  bool FullScreen() const override { return fullScreen_; }

  void ShowCursor(bool shown) override { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

  void CentreMouse() override {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) == 0) SDL_WarpMouseGlobal(bounds.w / 2, bounds.h / 2);
  }

  void ShowMessage(std::string_view title, std::string_view text) override {
    const std::string t(title), m(text);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t.c_str(), m.c_str(), window_) != 0)
      std::fprintf(stderr, "%s: %s\n", t.c_str(), m.c_str());
  }

  int DesktopWidth() const override {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) return mode.w;
    return 1 << 16;
  }

  int OuterWidth() const override {
    int left = 0, right = 0;
    if (window_) SDL_GetWindowBordersSize(window_, nullptr, &left, nullptr, &right);
    return frameW_ + left + right;
  }

 private:
  bool Fail() {
    std::fprintf(stderr, "kwplay: window: %s\n", SDL_GetError());
    Close();
    return false;
  }

  // Positions in the letterbox bars are held at the frame's edge.
  void SetPoint(TWindowEvent& out, int x, int y) const {
    out.X = std::clamp(x, 0, frameW_ - 1);
    out.Y = std::clamp(y, 0, frameH_ - 1);
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool videoUp_ = false;
  bool fullScreen_ = false;
  int frameW_ = 0, frameH_ = 0;
};

}  // namespace

std::unique_ptr<TWindowBackend> CreateSdlWindow() { return std::make_unique<TSdlWindow>(); }

}  // namespace kw
