#include "platform/system_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/codepage.h"
#include "platform/log.h"

#ifndef KW_SYSTEM_FONT_FILE
#define KW_SYSTEM_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
#endif

namespace kw {

namespace {

namespace fs = std::filesystem;

// The widest line drawn, in pixels: the largest picture side the engine
// reads. Characters past it are left out, so a runaway text cannot ask for
// a bitmap of gigabytes.
constexpr int MaxLineWidth = 16384;
// Pixel sizes accepted (the text element asks for 30).
constexpr int MinSize = 1, MaxSize = 1024;

struct TFaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using TFacePtr = std::unique_ptr<FT_FaceRec_, TFaceCloser>;

struct TRegisteredFace {
  fs::path File;
  std::vector<std::string> Names;  // family names, Windows-1251 bytes
  TFacePtr Face;
};

// The process-wide font registry: the FreeType library, the faces registered
// for the run and the system face, opened on first use. Like the
// operating-system font table it stands for, it lives until the program
// ends. Used from the window thread only; it has no locks.
class TRegistry {
 public:
  ~TRegistry() {
    registered_.clear();
    system_.reset();
    if (library_) FT_Done_FreeType(library_);
  }

  FT_Library Library() {
    if (!library_ && !libraryFailed_ && FT_Init_FreeType(&library_) != 0) {
      library_ = nullptr;
      libraryFailed_ = true;
      KwLog("system text: FreeType cannot start");
    }
    return library_;
  }

  std::vector<TRegisteredFace>& Registered() { return registered_; }

  FT_Face System() {
    if (!systemTried_) {
      systemTried_ = true;
      const fs::path file = SystemFontFile();
      FT_Face face = nullptr;
      if (!file.empty() && Library() && FT_New_Face(Library(), file.c_str(), 0, &face) == 0)
        system_.reset(face);
      else
        KwLog("system text: no system face (%s)", file.empty() ? "none found" : file.c_str());
    }
    return system_.get();
  }

 private:
  FT_Library library_ = nullptr;
  bool libraryFailed_ = false;
  std::vector<TRegisteredFace> registered_;
  TFacePtr system_;
  bool systemTried_ = false;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

void AddName(std::vector<std::string>& names, std::string name) {
  if (name.empty()) return;
  for (const auto& n : names)
    if (AsciiEqualNoCase(n, name)) return;
  names.push_back(std::move(name));
}

// The names a game may give the face: FreeType's family name and every
// family name of the naming table (Windows gives each language its own, so
// a Russian face may be named in Cyrillic), as Windows-1251 bytes.
std::vector<std::string> FamilyNames(FT_Face face) {
  std::vector<std::string> names;
  if (face->family_name) AddName(names, face->family_name);
  const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
  for (FT_UInt i = 0; i < count; ++i) {
    FT_SfntName name;
    if (FT_Get_Sfnt_Name(face, i, &name) != 0) continue;
    if (name.name_id != TT_NAME_ID_FONT_FAMILY && name.name_id != TT_NAME_ID_TYPOGRAPHIC_FAMILY) continue;
    if (name.platform_id == TT_PLATFORM_MICROSOFT &&
        (name.encoding_id == TT_MS_ID_UNICODE_CS || name.encoding_id == TT_MS_ID_SYMBOL_CS)) {
      std::u16string text;
      for (FT_UInt b = 0; b + 1 < name.string_len; b += 2)
        text += char16_t(name.string[b] << 8 | name.string[b + 1]);  // UTF-16, big-endian
      bool lossless = false;
      std::string bytes = Cp1251FromUtf16(text, &lossless);
      if (lossless) AddName(names, std::move(bytes));
    } else if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN) {
      std::string bytes(reinterpret_cast<const char*>(name.string), name.string_len);
      if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; }))
        AddName(names, std::move(bytes));
    }
  }
  return names;
}

FT_Face FindFace(std::string_view name) {
  auto& registered = Registry().Registered();
  for (const auto& face : registered)
    for (const auto& n : face.Names)
      if (AsciiEqualNoCase(n, name)) return face.Face.get();
  if (!registered.empty()) return registered.front().Face.get();
  return Registry().System();
}

int CeilPixels(FT_Pos value26_6) { return int((value26_6 + 63) >> 6); }
int RoundPixels(FT_Pos value26_6) { return int((value26_6 + 32) >> 6); }

// Pixels above and below the baseline of a line at the face's current size.
// Windows measures a line by the face's own Windows ascent and descent (its
// OS/2 table); faces without that table use their horizontal header.
void LineMetrics(FT_Face face, int& ascent, int& descent) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0 && FT_IS_SCALABLE(face)) {
    const FT_Fixed scale = face->size->metrics.y_scale;
    ascent = CeilPixels(FT_MulFix(os2->usWinAscent, scale));
    descent = CeilPixels(FT_MulFix(os2->usWinDescent, scale));
  } else {
    ascent = CeilPixels(face->size->metrics.ascender);
    descent = CeilPixels(-face->size->metrics.descender);
  }
  ascent = std::max(ascent, 0);
  descent = std::max(descent, 0);
}

// Control characters take no room and draw nothing; every other character
// the face lacks draws as the face's own missing-glyph box (glyph 0).
bool IsControl(char16_t code) { return code < 0x20 || code == 0x7F; }

// Copies the rendered glyph's coverage into the bitmap as grey on black,
// keeping the brighter pixel where glyphs overlap.
void PlaceGlyph(const FT_Bitmap& bitmap, int left, int top, TBitmap32& out) {
  for (int y = 0; y < int(bitmap.rows); ++y) {
    const int ty = top + y;
    if (ty < 0 || ty >= out.Height) continue;
    const uint8_t* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
    for (int x = 0; x < int(bitmap.width); ++x) {
      const int tx = left + x;
      if (tx < 0 || tx >= out.Width) continue;
      uint32_t value = 0;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
        value = uint32_t(row[x] * 255 / levels);
      } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        value = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      }
      uint32_t& pixel = out.At(tx, ty);
      if (value > ColourRed(pixel)) pixel = ColourRGBA(value, value, value, 255);
    }
  }
}

}  // namespace

fs::path SystemFontFile() {
  // The build's own face first, then where other distributions keep it.
  static const fs::path found = [] {
    for (const char* candidate : {KW_SYSTEM_FONT_FILE, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                  "/usr/share/fonts/TTF/DejaVuSans.ttf", "/usr/share/fonts/dejavu/DejaVuSans.ttf",
                                  "/usr/share/fonts/dejavu-sans-fonts/DejaVuSans.ttf"}) {
      std::error_code ec;
      if (fs::is_regular_file(candidate, ec)) return fs::path(candidate);
    }
    return fs::path();
  }();
  return found;
}

bool RegisterFontFile(const fs::path& file) {
  TRegistry& registry = Registry();
  FT_Library library = registry.Library();
  if (!library) return false;
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(file, ec);
  const fs::path& key = ec ? file : canonical;
  for (const auto& face : registry.Registered())
    if (face.File == key) return true;  // registered already

  FT_Face first = nullptr;
  if (FT_New_Face(library, file.c_str(), 0, &first) != 0) {
    KwLog("system text: %s holds no face FreeType can read", file.c_str());
    return false;
  }
  // A collection holds several faces; each is registered under its names.
  const FT_Long faceCount = std::clamp<FT_Long>(first->num_faces, 1, 64);
  for (FT_Long i = 0; i < faceCount; ++i) {
    FT_Face face = first;
    if (i > 0 && FT_New_Face(library, file.c_str(), i, &face) != 0) continue;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    TRegisteredFace entry{key, FamilyNames(face), TFacePtr(face)};
    KwLog("system text: registered %s from %s", entry.Names.empty() ? "(unnamed)" : entry.Names.front().c_str(),
          file.c_str());
    registry.Registered().push_back(std::move(entry));
  }
  return true;
}

bool DrawSystemText(std::string_view faceName, std::u16string_view text, int size, TBitmap32& out) {
  out = TBitmap32();
  if (text.empty() || size < MinSize || size > MaxSize) return false;
  FT_Face face = FindFace(faceName);
  if (!face || FT_Set_Pixel_Sizes(face, 0, FT_UInt(size)) != 0) return false;
  int ascent = 0, descent = 0;
  LineMetrics(face, ascent, descent);
  if (ascent + descent <= 0) return false;

  // Measure: whole-pixel hinted advances, as Windows lays out a plain line;
  // no kerning (a plain text out does not kern either).
  struct TPlaced {
    FT_UInt Index;
    int Pen;
  };
  std::vector<TPlaced> glyphs;
  glyphs.reserve(std::min<size_t>(text.size(), size_t(MaxLineWidth)));
  int width = 0;
  for (char16_t code : text) {
    if (IsControl(code)) continue;
    const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) continue;
    const int advance = std::max(RoundPixels(face->glyph->advance.x), 0);
    if (width + advance > MaxLineWidth) {
      KwLog("system text: line cut at %d pixels", MaxLineWidth);
      break;
    }
    glyphs.push_back({index, width});
    width += advance;
  }
  if (width <= 0) return false;

  out = TBitmap32(width, ascent + descent, ColourRGBA(0, 0, 0, 255));
  for (const TPlaced& g : glyphs) {
    if (FT_Load_Glyph(face, g.Index, FT_LOAD_DEFAULT) != 0) continue;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    PlaceGlyph(slot->bitmap, g.Pen + slot->bitmap_left, ascent - slot->bitmap_top, out);
  }
  return true;
}

void ForgetRegisteredFonts() { Registry().Registered().clear(); }

}  // namespace kw
