#include "shell/player.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "media/kw_im.h"
#include "media/kw_store.h"
#include "platform/bass.h"
#include "platform/codepage.h"
#include "platform/escaped_text.h"
#include "platform/files.h"
#include "platform/headless_window.h"
#include "platform/ini.h"
#include "platform/log.h"
#include "platform/png_codec.h"
#include "platform/user_folder.h"
#include "scene/kw_db.h"
#include "scene/scripting.h"
#include "scene/shell_state.h"

namespace kw {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDeviceFailed = "Failed initializing Asphyre device!";
constexpr const char* kWrongAudio = "BASS version 2.2 was not loaded!";
constexpr DWORD kAudioVersion = 0x00020002;

}  // namespace

TPlayer::TPlayer(TWindowBackend& window, TClock& clock, TOptions options, fs::path executable,
                 fs::path devoduzIni)
    : window_(window),
      clock_(clock),
      options_(std::move(options)),
      executable_(std::move(executable)),
      devoduzIni_(std::move(devoduzIni)),
      timer_(clock),
      sound_(nullptr, [this] { timer_.Reset(); }),
      device_() {
  static_assert(TDevice::Width == kFrameWidth && TDevice::Height == kFrameHeight);
  device_.Presenter = [this](const TBitmap32& frame) { window_.Present(frame); };
  // The frame timer of the main window: 30 process ticks a second, at most
  // 30 frames a second, disabled until the game is loaded.
  timer_.Speed = 30.0;
  timer_.MaxFPS = 30;
  timer_.OnTimer = [this] { OnFrame(); };
  timer_.OnProcess = [this] { OnTick(); };
}

TPlayer::~TPlayer() { FormClose(); }

int TPlayer::Run() {
  // Before the main window exists: the random seed, the element classes
  // (the registry is built in), the script interpreters (script layer) and
  // LoadNow, which is true until the game file is read.
  ResetShellState();
  Shell().SeedGiven = options_.Seed.has_value();
  Shell().RandomSeed = options_.Seed ? *options_.Seed
                                     : uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
  // The interpreter pool with every built-in, the script random source
  // from the seed, the script clock from the player's clock (a virtual
  // clock makes Now, Date and Time repeat in a headless run).
  StartScripting(Shell().RandomSeed, &clock_);
  KwImages().LoadNow = true;

  if (!FormCreate()) {
    FormClose();
    return 1;
  }
  while (!closeRequested_) {
    if (options_.Frames >= 0 && framesDrawn_ >= options_.Frames) break;
    HandleEvents();
    if (closeRequested_) break;
    if (!timer_.Enabled()) {
      clock_.SleepUntilNs(clock_.NowNs() + 10'000'000);
      continue;
    }
    timer_.Idle();
  }
  int code = 0;
  if (!options_.Screenshot.empty()) {
    // The frame as shown: opaque, whatever the canvas left in alpha.
    TBitmap32 shot = device_.Frame();
    for (uint32_t& p : shot.Pixels) p |= 0xFF000000u;
    if (WritePngFile(fs::path(options_.Screenshot), shot)) {
      KwLog("screenshot written to %s", options_.Screenshot.c_str());
    } else {
      std::fprintf(stderr, "kwplay: cannot write the screenshot %s\n", options_.Screenshot.c_str());
      code = 1;
    }
  }
  FormClose();
  return code;
}

bool TPlayer::FormCreate() {
  Shell().TestMode = options_.TestMode;
  // The audio library must be the version the games were made for.
  if (BASS_GetVersion() != kAudioVersion) {
    window_.ShowMessage("kwplay", kWrongAudio);
    return false;
  }
  // The audio output on the default device at 44100 Hz; its result is not
  // examined: without a device the game runs silent, mixed on the frame
  // clock so that music states and fades stay the same.
  if (!options_.Headless && audioDevice_) KwAudioUseDevice(std::move(audioDevice_));
  KwAudioSetClock(&clock_);
  BASS_Init(-1, 44100, 0, nullptr, nullptr);
  audioOpen_ = true;
  if (!options_.AudioOut.empty() && !KwAudioRecordTo(options_.AudioOut))
    std::fprintf(stderr, "kwplay: cannot record the sound to %s\n", options_.AudioOut.c_str());
  Shell().Sound = &sound_;
  // The device: the window back-end's window. It calls DeviceInitialize
  // from inside its initialisation, as the rendering device did.
  if (!window_.Open(kFrameWidth, kFrameHeight, "FormMain")) {
    window_.ShowMessage("kwplay", kDeviceFailed);
    return false;
  }
  DeviceInitialize();
  window_.CentreMouse();
  return true;
}

void TPlayer::FindGame() {
  if (!options_.Game.empty()) {
    location_ = GameFromArgument(options_.Game);
  } else {
    location_ = DiscoverGame(executable_, devoduzIni_);
  }
  // The game's folder becomes the current folder: every later relative name
  // (pack, logos, language files) is taken from there.
  if (!location_.Folder.empty() && !SetCurrentFolder(location_.Folder))
    KwLog("cannot enter the game folder %s", location_.Folder.string().c_str());
  KwLog("game file \"%s\" (%s) in %s", location_.GameFile.c_str(), SourceName(location_.Source),
        CurrentFolder().string().c_str());
}

void TPlayer::CreateAndLoadRoot() {
  root_ = std::make_unique<TKwDB>();
  root_->Device = &device_;
  root_->SetGameFileName(location_.GameFile);
  KwImages().LoadNow = false;
  root_->LoadGame();
  sound_.SetStore(root_->Store());
  KwImages().LoadNow = true;
}

void TPlayer::DeviceInitialize() {
  Shell().ForceFullScreen = window_.DesktopWidth() < window_.OuterWidth();
  // The root applies the player's settings (display mode, cursor) to the
  // window while the game file is read.
  Shell().ApplyDisplayMode = [this](bool fullScreen) {
    window_.SetFullScreen(fullScreen);
    device_.Windowed = !fullScreen;
  };
  Shell().ShowSystemCursor = [this](bool shown) { window_.ShowCursor(shown); };
  FindGame();
  CreateAndLoadRoot();

  // The title is the game's text "Title", else its Id; a game without
  // either keeps the program's name.
  std::string title = root_->LookupText("Title");
  title = root_->UnicodeMode ? Utf8FromUtf16(EscapedToUtf16(title)) : Utf8FromCp1251(title);
  if (title.empty()) title = Utf8FromCp1251(root_->Id);
  if (title.empty()) title = "kwplay";
  window_.SetTitle(title);

  if (Shell().ForceFullScreen) Shell().FullScreen = true;
  if (Shell().TestMode) Shell().FullScreen = false;
  Shell().ApplyDisplayMode(Shell().FullScreen);
  Shell().ShowSystemCursor(Shell().SysCursor);

  Shell().CurrentScreen = root_->FindByKey(root_->InitScreen);
  timer_.Reset();
  timer_.SetEnabled(true);
}

void TPlayer::FormClose() {
  if (closed_) return;
  closed_ = true;
  timer_.SetEnabled(false);
  if (root_) root_->RunExit();
  Shell().CurrentScreen = nullptr;
  StopScripting();
  sound_.SetStore(nullptr);
  root_.reset();
  Shell().CursorAt = nullptr;
  location_.DeVoduzIni.reset();
  if (audioOpen_) {
    // Closes the device and finishes a recording.
    BASS_Free();
    audioOpen_ = false;
  }
  if (Shell().Sound == &sound_) Shell().Sound = nullptr;
  Shell().ApplyDisplayMode = nullptr;
  Shell().ShowSystemCursor = nullptr;
  window_.Close();
}

bool TPlayer::LoadWithoutWindow() {
  ResetShellState();
  StartScripting(0, &clock_);
  Shell().TestMode = options_.TestMode;
  FindGame();
  CreateAndLoadRoot();
  return location_.Source != TGameLocation::TSource::NotFound;
}

void TPlayer::OnFrame() {
  // The device draws a frame (cleared to black, then the render handler),
  // the due ticks run, and the frame is presented: a frame shows the state
  // as it was before that frame's ticks.
  device_.Render(0x00000000, true);
  timer_.Process();
  device_.Present();
  KwAudioUpdate();
  ++framesDrawn_;
}

void TPlayer::OnTick() {
  ++KwImages().ProcessTick;
  sound_.MusicFadeTick();
  if (Shell().ExitRequest) closeRequested_ = true;
}

void TPlayer::HandleEvents() {
  TWindowEvent event;
  while (window_.PollEvent(event)) {
    if (event.Kind == TWindowEvent::TKind::Close) closeRequested_ = true;
  }
}

TPlayerPaths TPlayer::Paths() const {
  TPlayerPaths paths;
  std::error_code ec;
  const fs::path folder = CurrentFolder();
  if (!location_.GameFile.empty()) paths.GameFile = fs::absolute(folder / location_.GameFile, ec);
  const std::string pack = TKwDB::PackNameFor(location_.GameFile);
  if (auto found = ResolveGamePath(pack, folder)) paths.Pack = *found;
  else if (!location_.GameFile.empty()) paths.Pack = folder / pack;
  if (root_) {
    paths.UserFolder = UserDataFolder(root_->Id);
    if (!root_->IniFile.empty()) {
      if (auto file = ResolveGamePathForWrite(root_->IniFile, paths.UserFolder.empty() ? folder : paths.UserFolder))
        paths.SettingsFile = *file;
    }
  }
  paths.ErrorLog = folder / "nimbrel.err";
  return paths;
}

void TPlayer::PrintPaths(const TPlayerPaths& paths, std::ostream& out) {
  auto show = [&out](const char* what, const fs::path& path, const char* none) {
    std::error_code ec;
    out << what << ": ";
    if (path.empty()) out << none;
    else out << path.string() << (fs::exists(path, ec) ? "" : " (missing)");
    out << "\n";
  };
  show("game file", paths.GameFile, "(none found)");
  show("resource pack", paths.Pack, "(none)");
  show("user folder", paths.UserFolder, "(the game folder)");
  show("settings file", paths.SettingsFile, "(none)");
  show("error log", paths.ErrorLog, "(none)");
}

int RunPlayer(const TOptions& options, const fs::path& executable, std::unique_ptr<TWindowBackend> (*makeWindow)(),
              std::unique_ptr<TAudioDevice> (*makeAudio)()) {
  if (options.Help) {
    std::cout << HelpText();
    return 0;
  }
  SetVerbose(options.Verbose);
  if (!options.Game.empty() && GameFromArgument(options.Game).Source == TGameLocation::TSource::NotFound) {
    std::fprintf(stderr, "kwplay: no game file at \"%s\"\n", options.Game.c_str());
    return 2;
  }
  if (options.Tell) {
    THeadlessWindow window;
    TVirtualClock clock;
    TPlayer player(window, clock, options, executable, DeVoduzIniPath());
    player.LoadWithoutWindow();
    TPlayer::PrintPaths(player.Paths(), std::cout);
    return 0;
  }
  // Output files named on the command line are relative to where the
  // player was started, not to the game's folder it moves into.
  TOptions runOptions = options;
  std::error_code ec;
  if (!runOptions.Screenshot.empty()) runOptions.Screenshot = fs::absolute(runOptions.Screenshot, ec).string();
  if (!runOptions.AudioOut.empty()) runOptions.AudioOut = fs::absolute(runOptions.AudioOut, ec).string();
  const bool headless = options.Headless || !makeWindow;
  std::unique_ptr<TWindowBackend> window = headless ? CreateHeadlessWindow() : makeWindow();
  std::unique_ptr<TClock> clock;
  if (headless) clock = std::make_unique<TVirtualClock>();
  else clock = std::make_unique<TRealClock>();
  TPlayer player(*window, *clock, runOptions, executable, DeVoduzIniPath());
  if (!headless && makeAudio) player.SetAudioDevice(makeAudio());
  return player.Run();
}

}  // namespace kw
