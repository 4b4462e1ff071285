#include "media/fonts_archive.h"

#include <gtest/gtest.h>

#include "support/pack_writer.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

TBitmapFont TinyFont(int cellHeight) {
  TBitmapFont font;
  font.CellHeight = cellHeight;
  font.Atlas = TBitmap32(2, 2, 0xFFFFFFFFu);
  font.Glyphs['A'] = TGlyph{0, 0, 2, 2, 0, 1, 3};
  return font;
}

std::string Record(int cellHeight) {
  std::string bytes;
  EXPECT_TRUE(WriteFontRecord(TinyFont(cellHeight), bytes));
  return bytes;
}

TEST(FontsArchive, LoadsEveryGoodRecordUnderItsEntryName) {
  test::TTempFolder folder;
  std::string cut = Record(9);
  cut.resize(cut.size() / 2);
  folder.Write("fonts.fnt", test::BuildPack({{"Default", Record(16)},
                                                           {"Broken", cut},
                                                           {"Junk", "not a font"},
                                                           {"big", Record(24)}}));
  const auto fonts = ReadFontsArchiveFile(folder / "fonts.fnt");
  ASSERT_EQ(fonts.size(), 2u);
  EXPECT_EQ(fonts[0].Name, "Default");
  EXPECT_EQ(fonts[0].CellHeight, 16);
  EXPECT_EQ(fonts[0].Glyphs['A'].Advance, 3);
  EXPECT_EQ(fonts[1].Name, "big");
  EXPECT_EQ(fonts[1].CellHeight, 24);
}

TEST(FontsArchive, MissingOrBrokenArchivesGiveNoFonts) {
  test::TTempFolder folder;
  EXPECT_TRUE(ReadFontsArchiveFile(folder / "absent.fnt").empty());
  folder.Write("bad.fnt", "xy");
  EXPECT_TRUE(ReadFontsArchiveFile(folder / "bad.fnt").empty());
  // An entry pointing past the end is skipped, the rest still loads.
  test::TPackBytes pack;
  const std::string good = Record(12);
  pack.Raw(good);
  const uint32_t dir = pack.Size();
  pack.I32(2).Record("Far", 0, int32_t(good.size()) + 50).Record("Near", 0, int32_t(good.size()));
  pack.U32(dir);
  folder.Write("mixed.fnt", pack.Bytes());
  const auto fonts = ReadFontsArchiveFile(folder / "mixed.fnt");
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(fonts[0].Name, "Near");
}

TEST(FontsArchive, GamePathIsResolvedInTheCurrentFolder) {
  test::TTempFolder folder;
  folder.Write("Fonts/Game.fnt", test::BuildPack({{"Title", Record(20)}}));
  std::vector<TBitmapFont> fonts;
  {
    test::TCurrentFolder inGame(folder.Path());
    fonts = ReadFontsArchive(std::string("fonts\\game.FNT"));
  }
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(fonts[0].Name, "Title");
}

TEST(FontsArchive, WrittenArchivesReadBack) {
  test::TTempFolder folder;
  std::vector<TBitmapFont> fonts = {TinyFont(16), TinyFont(30)};
  fonts[0].Name = "Default";
  fonts[1].Name = "\xC7\xE0\xE3";  // a Windows-1251 key
  ASSERT_TRUE(WriteFontsArchive(folder / "out.fnt", fonts));
  const auto back = ReadFontsArchiveFile(folder / "out.fnt");
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].Name, "Default");
  EXPECT_EQ(back[1].Name, "\xC7\xE0\xE3");
  EXPECT_EQ(back[1].CellHeight, 30);
  EXPECT_EQ(back[1].Atlas.Pixels, fonts[1].Atlas.Pixels);

  // A font that cannot be stored writes nothing at all.
  fonts[1].Glyphs[3].W = 50;
  EXPECT_FALSE(WriteFontsArchive(folder / "bad.fnt", fonts));
  EXPECT_FALSE(std::filesystem::exists(folder / "bad.fnt"));
  fonts[1] = TinyFont(8);
  EXPECT_FALSE(WriteFontsArchive(folder / "bad.fnt", fonts));  // no name
}

}  // namespace
}  // namespace kw
