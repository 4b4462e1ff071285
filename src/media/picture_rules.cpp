#include "media/picture_rules.h"

#include <algorithm>
#include <charconv>

#include "platform/codepage.h"
#include "platform/files.h"

namespace kw {

std::string PictureExtension(std::string_view name) {
  const std::string file = ExtractFileName(name);
  const size_t dot = file.rfind('.');
  return dot == std::string::npos ? std::string() : file.substr(dot);
}

TPictureFormat PictureFormatOf(std::string_view name) {
  const std::string ext = AsciiUpperCase(PictureExtension(name));
  if (ext == ".TGA") return TPictureFormat::Tga;
  if (ext == ".JPG" || ext == ".JPEG") return TPictureFormat::Jpeg;
  if (ext == ".PNG") return TPictureFormat::Png;
  return TPictureFormat::Bmp;
}

std::string FrameFileName(std::string_view pictureName) {
  const size_t keep = pictureName.size() > 4 ? pictureName.size() - 4 : 0;
  return std::string(pictureName.substr(0, keep)) + ".an";
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// One integer read as Pascal's Readln reads it: blanks and line ends
// skipped, one word taken, then the rest of its line passed over. Answers
// whether the word was a whole number.
bool ReadNumber(std::string_view text, size_t& at, int64_t& value) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  const size_t start = at;
  while (at < text.size() && !IsBlank(text[at])) ++at;
  std::string_view word = text.substr(start, at - start);
  while (at < text.size() && text[at] != '\n') ++at;
  if (at < text.size()) ++at;
  if (word.empty()) return false;
  bool negative = false;
  if (word[0] == '+' || word[0] == '-') {
    negative = word[0] == '-';
    word.remove_prefix(1);
  }
  int base = 10;
  if (!word.empty() && word[0] == '$') {
    base = 16;
    word.remove_prefix(1);
  }
  uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), magnitude, base);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return false;
  value = negative ? -int64_t(std::min<uint64_t>(magnitude, uint64_t(1) << 62))
                   : int64_t(std::min<uint64_t>(magnitude, uint64_t(1) << 62));
  return true;
}

int CountOrOne(bool read, int64_t value) {
  if (!read || value < 1) return 1;
  return int(std::min<int64_t>(value, 1 << 30));
}

}  // namespace

bool ParseFrameFile(std::string_view text, TFrameGrid& grid) {
  size_t at = 0;
  int64_t columns = 0, rows = 0;
  const bool columnsRead = ReadNumber(text, at, columns);
  const bool rowsRead = ReadNumber(text, at, rows);
  grid.Columns = CountOrOne(columnsRead, columns);
  grid.Rows = CountOrOne(rowsRead, rows);
  return columnsRead && rowsRead;
}

TFrameGeometry FrameGeometryOf(int width, int height, TFrameGrid grid) {
  TFrameGeometry g;
  const int columns = std::max(grid.Columns, 1), rows = std::max(grid.Rows, 1);
  g.FrameWidth = std::max(width, 0) / columns;
  g.FrameHeight = std::max(height, 0) / rows;
  g.TextureWidth = (g.FrameWidth + 2 + 1) & ~1;
  g.TextureHeight = (g.FrameHeight + 2 + 1) & ~1;
  g.Count = int64_t(columns) * int64_t(rows);
  return g;
}

std::optional<TAlphaPartner> AlphaPartnerOf(std::string_view pictureName) {
  const std::string folder = ExtractFilePath(pictureName);
  const std::string file = ExtractFileName(pictureName);
  const std::string ext = AsciiUpperCase(PictureExtension(pictureName));
  const size_t underscore = file.find('_');
  const std::string stem = file.substr(0, file.size() - ext.size());
  if (ext == ".BMP") {
    if (underscore != std::string::npos) return TAlphaPartner{folder + file.substr(0, underscore) + ".jpg", true};
    return TAlphaPartner{folder + stem + "_.jpg", true};
  }
  if (ext == ".JPG" && underscore != std::string::npos)
    return TAlphaPartner{folder + file.substr(0, underscore) + ".bmp", false};
  return std::nullopt;
}

}  // namespace kw
