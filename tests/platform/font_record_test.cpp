#include <gtest/gtest.h>

#include <functional>

#include "platform/bitmap_font.h"
#include "platform/png_codec.h"

namespace kw {
namespace {

// A small font: glyph c sits in column c % 16, row c / 16 of 4x6 cells.
TBitmapFont SmallFont() {
  TBitmapFont font;
  font.Name = "Small";
  font.CellHeight = 7;
  font.Atlas = TBitmap32(64, 96, 0x00FFFFFFu);
  for (int c = 0; c < 256; ++c) {
    TGlyph& g = font.Glyphs[size_t(c)];
    g.X = int16_t((c % 16) * 4);
    g.Y = int16_t((c / 16) * 6);
    g.W = int16_t(c % 5);
    g.H = int16_t(c % 7);
    g.OffsetX = int16_t(c % 3 - 1);
    g.OffsetY = int16_t(c % 4);
    g.Advance = int16_t(c % 9);
    font.Atlas.At(g.X, g.Y) = 0xFFFFFFFFu - uint32_t(c);
  }
  return font;
}

std::string Record(const TBitmapFont& font) {
  std::string bytes;
  EXPECT_TRUE(WriteFontRecord(font, bytes));
  return bytes;
}

void PutI16(std::string& bytes, size_t at, int16_t v) {
  bytes[at] = char(uint16_t(v) & 0xFF);
  bytes[at + 1] = char(uint16_t(v) >> 8);
}

constexpr size_t kHeader = 16;
constexpr size_t kGlyph = 14;

TEST(FontRecord, RoundTripKeepsMetricsAndAtlas) {
  const TBitmapFont font = SmallFont();
  const std::string bytes = Record(font);
  ASSERT_EQ(bytes.substr(0, 4), "KWFN");
  TBitmapFont back;
  back.Name = "Kept";
  ASSERT_TRUE(ReadFontRecord(bytes, back));
  EXPECT_EQ(back.Name, "Kept");
  EXPECT_EQ(back.CellHeight, 7);
  for (int c = 0; c < 256; ++c) {
    const TGlyph& a = font.Glyphs[size_t(c)];
    const TGlyph& b = back.Glyphs[size_t(c)];
    EXPECT_EQ(std::tie(a.X, a.Y, a.W, a.H, a.OffsetX, a.OffsetY, a.Advance),
              std::tie(b.X, b.Y, b.W, b.H, b.OffsetX, b.OffsetY, b.Advance))
        << "glyph " << c;
  }
  EXPECT_EQ(back.Atlas.Width, 64);
  EXPECT_EQ(back.Atlas.Pixels, font.Atlas.Pixels);
}

TEST(FontRecord, TruncatedOrExtendedRecordsFail) {
  const std::string bytes = Record(SmallFont());
  for (size_t keep = 0; keep < bytes.size(); keep += (keep < kHeader + 8 ? 1 : 97)) {
    TBitmapFont out;
    EXPECT_FALSE(ReadFontRecord(std::string_view(bytes).substr(0, keep), out)) << "kept " << keep;
  }
  TBitmapFont out;
  EXPECT_FALSE(ReadFontRecord(bytes + "x", out));
}

TEST(FontRecord, DamagedFieldsAreRefused) {
  const std::string good = Record(SmallFont());
  const size_t glyphA = kHeader + kGlyph * 'A';
  const struct {
    const char* what;
    std::function<void(std::string&)> damage;
  } cases[] = {
      {"magic", [](std::string& b) { b[0] = 'X'; }},
      {"version 2", [](std::string& b) { PutI16(b, 4, 2); }},
      {"cell height 0", [](std::string& b) { PutI16(b, 8, 0); }},
      {"cell height negative", [](std::string& b) { PutI16(b, 8, -7); }},
      {"glyph count 255", [](std::string& b) { PutI16(b, 10, 255); }},
      {"atlas size one short", [](std::string& b) { b[12] = char(uint8_t(b[12]) - 1); }},
      {"atlas size huge", [](std::string& b) { PutI16(b, 14, -1); }},
      {"glyph past the atlas width", [=](std::string& b) { PutI16(b, glyphA, 62); PutI16(b, glyphA + 4, 3); }},
      {"glyph past the atlas height", [=](std::string& b) { PutI16(b, glyphA + 2, 95); PutI16(b, glyphA + 6, 2); }},
      {"negative glyph x", [=](std::string& b) { PutI16(b, glyphA, -1); }},
      {"negative glyph width", [=](std::string& b) { PutI16(b, glyphA + 4, -2); }},
      {"negative advance", [=](std::string& b) { PutI16(b, glyphA + 12, -1); }},
      {"wild offset", [=](std::string& b) { PutI16(b, glyphA + 10, 30000); }},
      {"broken atlas", [](std::string& b) { b[b.size() - 20] ^= 0x55; }},
  };
  for (const auto& c : cases) {
    std::string bytes = good;
    c.damage(bytes);
    TBitmapFont out;
    out.CellHeight = 99;
    EXPECT_FALSE(ReadFontRecord(bytes, out)) << c.what;
    EXPECT_EQ(out.CellHeight, 99) << c.what;
  }
  // The edges themselves are fine: a glyph flush with the atlas corner.
  std::string edge = good;
  PutI16(edge, glyphA, 60);
  PutI16(edge, glyphA + 2, 90);
  PutI16(edge, glyphA + 4, 4);
  PutI16(edge, glyphA + 6, 6);
  TBitmapFont out;
  EXPECT_TRUE(ReadFontRecord(edge, out));
  EXPECT_EQ(out.Glyphs['A'].X, 60);
}

TEST(FontRecord, WriterRefusesFontsItCouldNotReadBack) {
  std::string bytes;
  TBitmapFont font = SmallFont();
  font.Glyphs[7].W = 100;
  EXPECT_FALSE(WriteFontRecord(font, bytes));
  font = SmallFont();
  font.Atlas = TBitmap32();
  EXPECT_FALSE(WriteFontRecord(font, bytes));
  font = SmallFont();
  font.CellHeight = 0;
  EXPECT_FALSE(WriteFontRecord(font, bytes));
}

}  // namespace
}  // namespace kw
