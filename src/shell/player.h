// The player's main window and its life: start-up (FormCreate, with the
// device's DeviceInitialize inside it), the frame loop, and shutdown
// (FormClose). It owns the root, the frame timer and the "DeVoduz.ini"
// profile; the window back-end and the clock are given to it.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

#include "media/sound.h"
#include "platform/audio_device.h"
#include "platform/bitmap32.h"
#include "platform/device.h"
#include "platform/clock.h"
#include "platform/frame_timer.h"
#include "platform/window_backend.h"
#include "shell/command_line.h"
#include "shell/game_discovery.h"

namespace kw {

class TKwDB;

// The frame every game is drawn in.
constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 768;

// Where the player looks and writes, as --tell prints it.
struct TPlayerPaths {
  std::filesystem::path GameFile;
  std::filesystem::path Pack;
  std::filesystem::path UserFolder;
  std::filesystem::path SettingsFile;  // empty when the game names none
  std::filesystem::path ErrorLog;
};

class TPlayer {
 public:
  // `executable` is the program's own path (discovery looks beside it);
  // `devoduzIni` where "DeVoduz.ini" is looked for.
  TPlayer(TWindowBackend& window, TClock& clock, TOptions options, std::filesystem::path executable,
          std::filesystem::path devoduzIni);
  ~TPlayer();

  // The audio device the player opens (the SDL2 one); without one, and for
  // --headless, sound is mixed into the null output on the frame clock.
  void SetAudioDevice(std::unique_ptr<TAudioDevice> device) { audioDevice_ = std::move(device); }

  // Start-up, frame loop until the window closes (or the frame count is
  // reached), shutdown. Returns the process exit code.
  int Run();

  // The start-up of the window; false when the program must end at once.
  bool FormCreate();
  // Loads the game; called from inside the device's initialisation.
  void DeviceInitialize();
  // Shutdown, in its order; safe to call more than once.
  void FormClose();

  // Finds and loads the game without opening a window (for --tell).
  bool LoadWithoutWindow();
  TPlayerPaths Paths() const;
  static void PrintPaths(const TPlayerPaths& paths, std::ostream& out);

  TKwDB* Root() const { return root_.get(); }
  const TGameLocation& Location() const { return location_; }
  const TBitmap32& Frame() const { return device_.Frame(); }
  TDevice& Device() { return device_; }
  int64_t FramesDrawn() const { return framesDrawn_; }
  TFrameTimer& Timer() { return timer_; }
  TSoundSystem& Sound() { return sound_; }

 private:
  void FindGame();
  void CreateAndLoadRoot();
  void OnFrame();
  void OnTick();
  void HandleEvents();

  TWindowBackend& window_;
  TClock& clock_;
  TOptions options_;
  std::filesystem::path executable_;
  std::filesystem::path devoduzIni_;
  TFrameTimer timer_;
  std::unique_ptr<TAudioDevice> audioDevice_;
  TSoundSystem sound_;
  bool audioOpen_ = false;
  TGameLocation location_;
  std::unique_ptr<TKwDB> root_;
  TDevice device_;
  int64_t framesDrawn_ = 0;
  bool closeRequested_ = false;
  bool closed_ = false;
};

// The whole program after the command line was read: --help, --tell or a
// run. `makeWindow` makes the window back-end for a run with a window.
// `makeAudio` the audio device (ignored for --headless).
int RunPlayer(const TOptions& options, const std::filesystem::path& executable,
              std::unique_ptr<TWindowBackend> (*makeWindow)(),
              std::unique_ptr<TAudioDevice> (*makeAudio)() = nullptr);

}  // namespace kw
