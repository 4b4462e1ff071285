// kwfont: builds a fonts archive from TrueType files with FreeType.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "font_builder.h"
#include "font_request.h"
#include "glyph_renderer.h"
#include "media/fonts_archive.h"
#include "platform/codepage.h"
#include "platform/png_codec.h"

namespace {

using namespace kw;
using namespace kw::kwfont;
namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: kwfont [--atlas DIR] OUT.fnt KEY=FILE.ttf:SIZE[:bold|:outline[=PX]] ...\n"
    "\n"
    "Builds a fonts archive: one bitmap font per argument, stored under KEY\n"
    "(the name games give; UTF-8 here, stored as Windows-1251). Each font\n"
    "holds the 256 Windows-1251 characters rendered by FreeType at SIZE pixels\n"
    "(4 to 512), white with coverage in alpha.\n"
    "  bold        FreeType emboldening\n"
    "  outline     only the outline, stroked PX pixels wide (default SIZE/12)\n"
    "--atlas DIR also writes each font's atlas as DIR/KEY.png, to look at\n"
    "\n"
    "example: kwfont fonts.fnt Default=DejaVuSans.ttf:16 Title=DejaVuSans.ttf:32:bold\n"
    "Exit status: 0 success, 1 errors, 2 wrong usage.\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "kwfont: %s\n", problem.c_str());
  std::fputs(kUsage, stderr);
  return 2;
}

// The archive key of a command-line name.
std::optional<std::string> KeyBytes(const std::string& key) {
  if (!IsValidUtf8(key)) return key;
  bool lossless = true;
  std::string bytes = Cp1251FromUtf8(key, &lossless);
  if (!lossless) return std::nullopt;
  return bytes;
}

// The atlas of every font as a PNG named by its key (as UTF-8, with path
// separators replaced), for looking at what a font holds.
bool WriteAtlases(const fs::path& folder, const std::vector<TBitmapFont>& fonts) {
  std::error_code error;
  fs::create_directories(folder, error);
  for (const TBitmapFont& font : fonts) {
    std::string name = Utf8FromCp1251(font.Name);
    for (char& c : name)
      if (c == '/' || c == '\\') c = '_';
    if (!WritePngFile(folder / (name + ".png"), font.Atlas)) {
      std::fprintf(stderr, "kwfont: cannot write %s\n", (folder / (name + ".png")).string().c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  fs::path atlasFolder;
  if (!args.empty() && args[0] == "--atlas") {
    if (args.size() < 2) return Usage("--atlas needs a folder");
    atlasFolder = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() < 2) return Usage(args.empty() ? "" : "no font given");

  std::vector<TFontRequest> requests;
  std::set<std::string> keys;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string problem;
    auto request = ParseFontRequest(args[i], problem);
    if (!request) return Usage(args[i] + ": " + problem);
    const auto key = KeyBytes(request->Key);
    if (!key) return Usage(args[i] + ": the key has characters Windows-1251 cannot hold");
    request->Key = *key;
    // Games find fonts without regard to case, so keys must differ in more than case.
    if (!keys.insert(AsciiUpperCase(*key)).second) return Usage(args[i] + ": key given twice");
    requests.push_back(*request);
  }

  std::vector<TBitmapFont> fonts;
  for (const TFontRequest& request : requests) {
    TGlyphRenderer renderer;
    std::string problem;
    if (!renderer.Open(request, problem)) {
      std::fprintf(stderr, "kwfont: %s: %s\n", request.Key.c_str(), problem.c_str());
      return 1;
    }
    std::array<TGlyphImage, 256> glyphs;
    for (int code = 0; code < 256; ++code) glyphs[size_t(code)] = renderer.Render(uint8_t(code));
    auto font = BuildBitmapFont(request.Key, glyphs, renderer.Ascent(), renderer.Descent(), problem);
    if (!font) {
      std::fprintf(stderr, "kwfont: %s: %s\n", request.Key.c_str(), problem.c_str());
      return 1;
    }
    fonts.push_back(std::move(*font));
  }
  if (!atlasFolder.empty() && !WriteAtlases(atlasFolder, fonts)) return 1;
  if (!WriteFontsArchive(args[0], fonts)) {
    std::fprintf(stderr, "kwfont: cannot write %s\n", args[0].c_str());
    return 1;
  }
  return 0;
}
