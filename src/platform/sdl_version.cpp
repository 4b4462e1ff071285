#include "platform/sdl_version.h"

#include <SDL.h>

namespace kw {

std::string SdlVersionText() {
  SDL_version v;
  SDL_GetVersion(&v);
  return "SDL " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

}  // namespace kw
