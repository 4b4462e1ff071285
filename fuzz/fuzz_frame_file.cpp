// Frame files: any text gives a grid of at least one column and one row,
// and any grid on any picture size gives a texture layout that is either
// usable (every frame holds pixels) or refused.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "media/picture_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kw::TFrameGrid grid;
  kw::ParseFrameFile(std::string_view(reinterpret_cast<const char*>(data), size), grid);
  if (grid.Columns < 1 || grid.Rows < 1) std::abort();
  for (int side : {1, 64, 255, 16384}) {
    const kw::TFrameGeometry g = kw::FrameGeometryOf(side, side, grid);
    if (g.Count != int64_t(grid.Columns) * grid.Rows) std::abort();
    if (g.Usable() && (int64_t(g.FrameWidth) * grid.Columns > side || g.TextureWidth < g.FrameWidth + 2 ||
                       g.TextureWidth % 2 != 0))
      std::abort();
  }
  return 0;
}
