// kwplay: plays a game made with the DeVoduz game-maker.
#include <cstdio>
#include <cstring>

#include "platform/sdl_version.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("kwplay %s (%s)\n", KW_VERSION, kw::SdlVersionText().c_str());
      return 0;
    }
  }
  std::fprintf(stderr, "kwplay: no game runner yet; try --version\n");
  return 2;
}
