// The game-file reader on any bytes: loading never crashes or hangs, and the
// tools' record codec gives back exactly the bytes it decoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scene/game_record.h"
#include "scene/kw_db.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    kw::TKwDB root;
    root.LoadFromData(bytes);
    root.Init();
    root.InitPr();
    for (int32_t layer = root.MinOrder(); layer <= root.MaxOrder() && layer < root.MinOrder() + 64; ++layer)
      root.HitTest(layer, 100, 100, 0, 0);
  }
  if (kw::EncodeGameRecord(kw::DecodeGameRecord(bytes)) != bytes) std::abort();
  return 0;
}
