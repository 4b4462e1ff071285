// Font records: a fixed little-endian header, 256 glyph records and the
// atlas as PNG. The layout is in docs/fonts.md. Reading checks every field
// against the bytes that remain and every glyph rectangle against the
// decoded atlas, so the text drawing can trust the metrics it is given.
#include "platform/bitmap_font.h"

#include <cstring>

#include "platform/log.h"
#include "platform/png_codec.h"

namespace kw {

namespace {

constexpr char kMagic[4] = {'K', 'W', 'F', 'N'};
constexpr uint16_t kVersion = 1;
constexpr uint16_t kGlyphCount = 256;
constexpr int kMaxCellHeight = 4096;
// Offsets beyond this are no font a game draws; bounding them keeps every
// pen and rectangle sum far inside int range.
constexpr int kMaxOffset = 4096;
constexpr size_t kHeaderBytes = 4 + 2 + 2 + 2 + 2 + 4;
constexpr size_t kGlyphBytes = 7 * 2;

class TRecordReader {
 public:
  explicit TRecordReader(std::string_view bytes) : bytes_(bytes) {}

  size_t Remaining() const { return bytes_.size() - pos_; }
  size_t Position() const { return pos_; }

  bool Bytes(size_t count, std::string_view& out) {
    if (count > Remaining()) return false;
    out = bytes_.substr(pos_, count);
    pos_ += count;
    return true;
  }
  bool U16(uint16_t& out) {
    std::string_view b;
    if (!Bytes(2, b)) return false;
    out = uint16_t(uint8_t(b[0]) | (uint8_t(b[1]) << 8));
    return true;
  }
  bool I16(int16_t& out) {
    uint16_t v;
    if (!U16(v)) return false;
    out = int16_t(v);
    return true;
  }
  bool U32(uint32_t& out) {
    std::string_view b;
    if (!Bytes(4, b)) return false;
    out = uint32_t(uint8_t(b[0])) | (uint32_t(uint8_t(b[1])) << 8) | (uint32_t(uint8_t(b[2])) << 16) |
          (uint32_t(uint8_t(b[3])) << 24);
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

void PutU16(std::string& out, uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

// Why a glyph cannot be drawn from an atlas of the given size, or null.
const char* GlyphProblem(const TGlyph& g, int atlasWidth, int atlasHeight) {
  if (g.W < 0 || g.H < 0) return "negative size";
  if (g.X < 0 || g.Y < 0) return "negative atlas position";
  if (int(g.X) + g.W > atlasWidth || int(g.Y) + g.H > atlasHeight) return "rectangle outside the atlas";
  if (g.Advance < 0) return "negative advance";
  if (g.OffsetX < -kMaxOffset || g.OffsetX > kMaxOffset || g.OffsetY < -kMaxOffset || g.OffsetY > kMaxOffset)
    return "offset out of range";
  return nullptr;
}

bool Fail(const char* field, const char* problem, size_t offset) {
  KwLog("font record: %s at byte %zu %s", field, offset, problem);
  return false;
}

}  // namespace

bool ReadFontRecord(std::string_view bytes, TBitmapFont& out) {
  TRecordReader reader(bytes);
  std::string_view magic;
  if (!reader.Bytes(4, magic) || std::memcmp(magic.data(), kMagic, 4) != 0)
    return Fail("magic", "is not \"KWFN\"", 0);
  uint16_t version = 0, flags = 0, glyphCount = 0;
  int16_t cellHeight = 0;
  if (!reader.U16(version)) return Fail("version", "is missing", reader.Position());
  if (version != kVersion) return Fail("version", "is not 1", reader.Position() - 2);
  if (!reader.U16(flags)) return Fail("flags", "are missing", reader.Position());
  if (!reader.I16(cellHeight)) return Fail("cell height", "is missing", reader.Position());
  if (cellHeight < 1 || cellHeight > kMaxCellHeight)
    return Fail("cell height", "is out of range", reader.Position() - 2);
  if (!reader.U16(glyphCount)) return Fail("glyph count", "is missing", reader.Position());
  if (glyphCount != kGlyphCount) return Fail("glyph count", "is not 256", reader.Position() - 2);
  uint32_t atlasSize = 0;
  if (!reader.U32(atlasSize)) return Fail("atlas size", "is missing", reader.Position());
  if (size_t(glyphCount) * kGlyphBytes > reader.Remaining())
    return Fail("glyph table", "runs past the end of the record", reader.Position());

  TBitmapFont font;
  font.CellHeight = cellHeight;
  for (TGlyph& g : font.Glyphs) {
    reader.I16(g.X);
    reader.I16(g.Y);
    reader.I16(g.W);
    reader.I16(g.H);
    reader.I16(g.OffsetX);
    reader.I16(g.OffsetY);
    reader.I16(g.Advance);
  }
  const size_t atlasAt = reader.Position();
  if (atlasSize != reader.Remaining())
    return Fail("atlas size", "does not match the bytes that follow", atlasAt - 4);
  std::string_view png;
  reader.Bytes(atlasSize, png);
  if (!DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), font.Atlas))
    return Fail("atlas", "is no readable PNG", atlasAt);
  for (int code = 0; code < 256; ++code) {
    if (const char* problem = GlyphProblem(font.Glyphs[size_t(code)], font.Atlas.Width, font.Atlas.Height)) {
      KwLog("font record: glyph %d: %s", code, problem);
      return false;
    }
  }
  font.Name = std::move(out.Name);
  out = std::move(font);
  return true;
}

bool WriteFontRecord(const TBitmapFont& font, std::string& out) {
  out.clear();
  if (font.CellHeight < 1 || font.CellHeight > kMaxCellHeight || font.Atlas.Empty()) return false;
  for (int code = 0; code < 256; ++code) {
    if (const char* problem = GlyphProblem(font.Glyphs[size_t(code)], font.Atlas.Width, font.Atlas.Height)) {
      KwLog("font %s: glyph %d: %s", font.Name.c_str(), code, problem);
      return false;
    }
  }
  std::string png;
  if (!EncodePng(font.Atlas, png)) return false;

  std::string record;
  record.reserve(kHeaderBytes + kGlyphCount * kGlyphBytes + png.size());
  record.append(kMagic, 4);
  PutU16(record, kVersion);
  PutU16(record, 0);  // flags, none defined
  PutU16(record, uint16_t(font.CellHeight));
  PutU16(record, kGlyphCount);
  PutU32(record, uint32_t(png.size()));
  for (const TGlyph& g : font.Glyphs)
    for (int16_t v : {g.X, g.Y, g.W, g.H, g.OffsetX, g.OffsetY, g.Advance}) PutU16(record, uint16_t(v));
  record += png;
  out = std::move(record);
  return true;
}

}  // namespace kw
