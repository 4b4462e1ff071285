#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "media/fonts_archive.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

const char* const kTtf = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

int Kwfont(const std::vector<std::string>& args) {
  const fs::path tool = fs::path(KW_BINARY_DIR) / "tools" / "kwfont" / "kwfont";
  EXPECT_TRUE(fs::exists(tool)) << "build the kwfont target first: " << tool;
  std::string command = "'" + tool.string() + "'";
  for (const auto& a : args) command += " '" + a + "'";
  command += " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const TBitmapFont* Find(const std::vector<TBitmapFont>& fonts, const std::string& name) {
  for (const auto& f : fonts)
    if (f.Name == name) return &f;
  return nullptr;
}

uint32_t Coverage(const TBitmapFont& font, uint8_t code, int x, int y) {
  const TGlyph& g = font.Glyphs[code];
  return ColourAlpha(font.Atlas.At(g.X + x, g.Y + y));
}

uint32_t MaxCoverage(const TBitmapFont& font, uint8_t code) {
  const TGlyph& g = font.Glyphs[code];
  uint32_t most = 0;
  for (int y = 0; y < g.H; ++y)
    for (int x = 0; x < g.W; ++x) most = std::max(most, Coverage(font, code, x, y));
  return most;
}

int Bottom(const TGlyph& g) { return g.OffsetY + g.H; }

// Checks what every sane font of the Windows-1251 set shows.
void ExpectSaneFont(const TBitmapFont& font) {
  SCOPED_TRACE(font.Name);
  ASSERT_FALSE(font.Atlas.Empty());
  const auto& g = font.Glyphs;
  EXPECT_GT(g['A'].W, g['.'].W);
  EXPECT_GT(g['A'].Advance, g['.'].Advance);
  EXPECT_GT(g['W'].Advance, g['i'].Advance);
  // Letters stand on one baseline inside the cell; descenders go below it.
  EXPECT_EQ(Bottom(g['A']), Bottom(g['x']));
  EXPECT_EQ(Bottom(g['A']), Bottom(g[0xC6]));  // Cyrillic capital Zhe
  EXPECT_GT(Bottom(g['g']), Bottom(g['a']));
  EXPECT_GT(g['x'].OffsetY, g['A'].OffsetY);   // x-height below cap height
  EXPECT_LE(Bottom(g['g']), font.CellHeight);
  EXPECT_GE(g['A'].OffsetY, 0);
  EXPECT_GE(MaxCoverage(font, 'A'), 250u);
  EXPECT_GE(MaxCoverage(font, 0xFF), 250u);  // Cyrillic small ya
  // Space advances without pixels; control codes and 0x98 are empty.
  EXPECT_GT(g[' '].Advance, 0);
  EXPECT_EQ(g[' '].W * g[' '].H, 0);
  for (int code : {0x00, 0x09, 0x0D, 0x1F, 0x7F, 0x98}) {
    EXPECT_EQ(g[size_t(code)].W, 0) << code;
    EXPECT_EQ(g[size_t(code)].Advance, 0) << code;
  }
  // Glyph pixels are white; the rest of the atlas is clear.
  for (uint32_t pixel : font.Atlas.Pixels) ASSERT_EQ(pixel & 0x00FFFFFFu, 0x00FFFFFFu);
}

TEST(Kwfont, BuildsAnArchiveOfSaneFonts) {
  test::TTempFolder folder;
  const std::string ttf = kTtf;
  ASSERT_EQ(Kwfont({(folder / "game.fnt").string(), "Plain=" + ttf + ":40", "Heavy=" + ttf + ":40:bold",
                    "Hollow=" + ttf + ":40:outline=2", "\xD0\x9C\xD0\xB5\xD0\xBB\xD0\xBA\xD0\xB8\xD0\xB9=" + ttf + ":9"}),
            0);
  const auto fonts = ReadFontsArchiveFile(folder / "game.fnt");
  ASSERT_EQ(fonts.size(), 4u);
  EXPECT_EQ(fonts[0].Name, "Plain");
  EXPECT_EQ(fonts[3].Name, "\xCC\xE5\xEB\xEA\xE8\xE9");  // the UTF-8 key stored as Windows-1251
  for (const auto& font : fonts) ExpectSaneFont(font);

  const TBitmapFont& plain = *Find(fonts, "Plain");
  const TBitmapFont& heavy = *Find(fonts, "Heavy");
  const TBitmapFont& hollow = *Find(fonts, "Hollow");
  EXPECT_GT(heavy.Glyphs['I'].W, plain.Glyphs['I'].W);
  EXPECT_GE(heavy.Glyphs['A'].Advance, plain.Glyphs['A'].Advance);
  // The stem of a large I is solid in the plain font and hollow in the outline.
  const TGlyph& i = plain.Glyphs['I'];
  EXPECT_EQ(Coverage(plain, 'I', i.W / 2, i.H / 2), 255u);
  const TGlyph& o = hollow.Glyphs['I'];
  EXPECT_LT(Coverage(hollow, 'I', o.W / 2, o.H / 2), 64u);
  EXPECT_GE(MaxCoverage(hollow, 'I'), 200u);
  EXPECT_GT(hollow.CellHeight, plain.CellHeight);
}

TEST(Kwfont, RefusesBadArguments) {
  test::TTempFolder folder;
  const std::string out = (folder / "x.fnt").string();
  const std::string ttf = kTtf;
  EXPECT_EQ(Kwfont({}), 2);
  EXPECT_EQ(Kwfont({out}), 2);
  EXPECT_EQ(Kwfont({out, "NoSize=" + ttf}), 2);
  EXPECT_EQ(Kwfont({out, "Tiny=" + ttf + ":2"}), 2);
  EXPECT_EQ(Kwfont({out, "Odd=" + ttf + ":12:italic"}), 2);
  EXPECT_EQ(Kwfont({out, "=" + ttf + ":12"}), 2);
  EXPECT_EQ(Kwfont({out, "Same=" + ttf + ":12", "SAME=" + ttf + ":14"}), 2);
  EXPECT_EQ(Kwfont({out, "Gone=" + (folder / "absent.ttf").string() + ":12"}), 1);
  folder.Write("junk.ttf", "not a font");
  EXPECT_EQ(Kwfont({out, "Junk=" + (folder / "junk.ttf").string() + ":12"}), 1);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(Kwfont({"--help"}), 0);
}

TEST(Kwfont, TheBuildMakesTheDefaultArchive) {
  const auto fonts = ReadFontsArchiveFile(fs::path(KW_BINARY_DIR) / "fonts" / "default.fnt");
  ASSERT_EQ(fonts.size(), 4u) << "build the kw_default_fonts target";
  const TBitmapFont* small = Find(fonts, "Small");
  const TBitmapFont* normal = Find(fonts, "Default");
  const TBitmapFont* big = Find(fonts, "Big");
  const TBitmapFont* bold = Find(fonts, "Bold");
  ASSERT_TRUE(small && normal && big && bold);
  EXPECT_LT(small->CellHeight, normal->CellHeight);
  EXPECT_LT(normal->CellHeight, big->CellHeight);
  for (const auto& font : fonts) ExpectSaneFont(font);
}

}  // namespace
}  // namespace kw
