#include "font_spec.h"

#include <charconv>

namespace kw::kwfont {

namespace {

bool ParseInt(std::string_view text, int& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<TFontSpec> ParseFontSpec(std::string_view arg, std::string& problem) {
  TFontSpec spec;
  const size_t equals = arg.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    problem = "expected KEY=FILE:SIZE[:bold|:outline[=PX]]";
    return std::nullopt;
  }
  spec.Key = std::string(arg.substr(0, equals));
  std::string_view rest = arg.substr(equals + 1);

  size_t colon = rest.rfind(':');
  if (colon == std::string_view::npos) {
    problem = "missing :SIZE";
    return std::nullopt;
  }
  std::string_view last = rest.substr(colon + 1);
  int number = 0;
  if (!ParseInt(last, number)) {
    // A style, then the size before it.
    if (last == "bold") {
      spec.Style = TFontStyle::Bold;
    } else if (last == "outline" || last.substr(0, 8) == "outline=") {
      spec.Style = TFontStyle::Outline;
      if (last.size() > 7 && (!ParseInt(last.substr(8), spec.OutlinePixels) || spec.OutlinePixels < 1 ||
                              spec.OutlinePixels > 32)) {
        problem = "outline width must be 1 to 32 pixels";
        return std::nullopt;
      }
    } else {
      problem = "unknown style \"" + std::string(last) + "\" (bold or outline)";
      return std::nullopt;
    }
    rest = rest.substr(0, colon);
    colon = rest.rfind(':');
    if (colon == std::string_view::npos || !ParseInt(rest.substr(colon + 1), number)) {
      problem = "missing :SIZE";
      return std::nullopt;
    }
  }
  if (number < kMinPixelSize || number > kMaxPixelSize) {
    problem = "size must be " + std::to_string(kMinPixelSize) + " to " + std::to_string(kMaxPixelSize) + " pixels";
    return std::nullopt;
  }
  spec.PixelSize = number;
  spec.TtfFile = std::string(rest.substr(0, colon));
  if (spec.TtfFile.empty()) {
    problem = "missing font file";
    return std::nullopt;
  }
  return spec;
}

}  // namespace kw::kwfont
