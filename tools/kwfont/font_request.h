// One font that kwfont is asked to build: KEY=FILE.ttf:SIZE[:bold|:outline[=PX]].
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kw::kwfont {

enum class TFontStyle { Regular, Bold, Outline };

struct TFontRequest {
  std::string Key;       // archive entry name, the name games give
  std::string TtfFile;   // TrueType or OpenType file
  int PixelSize = 0;     // FreeType pixel size (em height)
  TFontStyle Style = TFontStyle::Regular;
  int OutlinePixels = 0; // stroke width for Outline; 0 = from the size
};

constexpr int kMinPixelSize = 4;
constexpr int kMaxPixelSize = 512;

// Parses one argument; none, with `problem` set, when it is malformed. The
// file may contain ':' itself: SIZE and the style are taken from the end.
std::optional<TFontRequest> ParseFontRequest(std::string_view arg, std::string& problem);

}  // namespace kw::kwfont
