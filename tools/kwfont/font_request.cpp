#include "font_request.h"

#include <charconv>

namespace kw::kwfont {

namespace {

bool ParseInt(std::string_view text, int& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<TFontRequest> ParseFontRequest(std::string_view arg, std::string& problem) {
  TFontRequest request;
  const size_t equals = arg.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    problem = "expected KEY=FILE:SIZE[:bold|:outline[=PX]]";
    return std::nullopt;
  }
  request.Key = std::string(arg.substr(0, equals));
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
      request.Style = TFontStyle::Bold;
    } else if (last == "outline" || last.substr(0, 8) == "outline=") {
      request.Style = TFontStyle::Outline;
      if (last.size() > 7 && (!ParseInt(last.substr(8), request.OutlinePixels) || request.OutlinePixels < 1 ||
                              request.OutlinePixels > 32)) {
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
  request.PixelSize = number;
  request.TtfFile = std::string(rest.substr(0, colon));
  if (request.TtfFile.empty()) {
    problem = "missing font file";
    return std::nullopt;
  }
  return request;
}

}  // namespace kw::kwfont
