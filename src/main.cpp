// kwplay: plays a game made with the DeVoduz game-maker.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_version.h"
#include "platform/window_backend.h"
#include "shell/command_line.h"
#include "shell/player.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  kw::TOptions options;
  std::string error;
  if (!kw::ParseCommandLine(args, options, error)) {
    std::fprintf(stderr, "kwplay: %s\n", error.c_str());
    return 2;
  }
  if (options.Version) {
    std::printf("kwplay %s (%s)\n", KW_VERSION, kw::SdlVersionText().c_str());
    return 0;
  }
  return kw::RunPlayer(options, kw::ExecutablePath(), kw::CreateSdlWindow, kw::MakeSdlAudioDevice);
}
