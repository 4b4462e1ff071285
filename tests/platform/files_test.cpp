#include "platform/files.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace kw {
namespace {

using test::TTempFolder;

TEST(GamePathResolver, FindsFilesWhateverTheirCaseAndSeparators) {
  TTempFolder dir;
  dir.Write("Images/Hero.bmp", "x");
  dir.Write("sounds/click.mp3", "x");
  dir.Write("\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0/map.png", "x");  // "Карта" stored as UTF-8
  dir.Write("\xEB\xE5\xF1/tree.png", "x");                             // "лес" stored as raw bytes

  struct Case { const char* path; const char* expected; };
  const Case cases[] = {
      {"Images\\Hero.bmp", "Images/Hero.bmp"},
      {"images\\hero.BMP", "Images/Hero.bmp"},
      {"IMAGES/HERO.BMP", "Images/Hero.bmp"},
      {"sounds\\\\Click.MP3", "sounds/click.mp3"},
      {".\\sounds\\click.mp3", "sounds/click.mp3"},
      {"\xCA\xC0\xD0\xD2\xC0\\MAP.PNG", "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0/map.png"},  // КАРТА in 1251
      {"\xEA\xE0\xF0\xF2\xE0\\map.png", "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0/map.png"},  // карта
      {"\xCB\xC5\xD1\\Tree.png", "\xEB\xE5\xF1/tree.png"},                                      // ЛЕС
      {"Images", "Images"},
      {"images\\missing.bmp", nullptr},
      {"nofolder\\hero.bmp", nullptr},
      {"Images\\Hero.bmp\\x", nullptr},
      {"..\\Images\\Hero.bmp", nullptr},
      {"Images\\..\\Images\\Hero.bmp", nullptr},
      {"\\Images\\Hero.bmp", nullptr},
      {"C:\\Images\\Hero.bmp", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) {
    auto got = ResolveGamePath(c.path, dir.Path());
    if (!c.expected) {
      EXPECT_FALSE(got.has_value()) << c.path << " gave " << (got ? got->string() : "");
    } else {
      ASSERT_TRUE(got.has_value()) << c.path;
      EXPECT_EQ(*got, dir / c.expected) << c.path;
    }
  }
}

TEST(GamePathResolver, ResolvesAgainstTheCurrentFolderByDefault) {
  TTempFolder dir;
  dir.Write("game.kwf", "x");
  test::TCurrentFolder cd(dir.Path());
  auto got = ResolveGamePath("GAME.KWF");
  ASSERT_TRUE(got);
  EXPECT_TRUE(std::filesystem::equivalent(*got, dir / "game.kwf"));
}

TEST(GamePathResolver, OwnWritesDropTheCachedListing) {
  TTempFolder dir;
  dir.Write("a.txt", "x");
  ASSERT_FALSE(ResolveGamePath("b.txt", dir.Path()));  // listing now cached
  ASSERT_TRUE(WriteFileAtomically(dir / "b.txt", "hello"));
  auto got = ResolveGamePath("B.TXT", dir.Path());
  ASSERT_TRUE(got);
  EXPECT_EQ(TTempFolder::Read(*got), "hello");
  ASSERT_TRUE(RemoveFile(*got));
  EXPECT_FALSE(ResolveGamePath("b.txt", dir.Path()));
}

TEST(GamePathResolver, WritePathsKeepExistingFoldersAndRefuseEscapes) {
  TTempFolder dir;
  dir.Write("Saves/old.sav", "x");
  auto p = ResolveGamePathForWrite("saves\\\xED\xEE\xE2\xFB\xE9.sav", dir.Path());  // "новый"
  ASSERT_TRUE(p);
  EXPECT_EQ(*p, dir / "Saves/\xD0\xBD\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9.sav");
  EXPECT_FALSE(ResolveGamePathForWrite("..\\evil.txt", dir.Path()));
  EXPECT_FALSE(ResolveGamePathForWrite("/etc/passwd", dir.Path()));
}

TEST(GamePathResolver, UserPathsDropAMissingDriveLetter) {
  TTempFolder dir;
  dir.Write("games/demo/demo.kwf", "x");
  std::string windows = "D:" + dir.Path().string() + "\\GAMES\\Demo\\demo.KWF";
  auto got = ResolveUserPath(windows);
  ASSERT_TRUE(got) << windows;
  EXPECT_EQ(*got, dir / "games/demo/demo.kwf");
  EXPECT_EQ(ResolveUserPath((dir / "games").string()), dir / "games");
  EXPECT_FALSE(ResolveUserPath("Q:\\no\\such\\file.kwf"));
}

TEST(FindFiles, WildcardsInCaseInsensitiveNameOrder) {
  TTempFolder dir;
  for (const char* n : {"b.kwf", "A.KWF", "c.txt", "a2.kwf", "game.kwf.bak", "Z.Kwf"}) dir.Write(n, "x");
  EXPECT_EQ(FindFiles(dir.Path(), "*.kwf"), (std::vector<std::string>{"A.KWF", "a2.kwf", "b.kwf", "Z.Kwf"}));
  EXPECT_EQ(FindFiles(dir.Path(), "?.kwf"), (std::vector<std::string>{"A.KWF", "b.kwf", "Z.Kwf"}));
  EXPECT_EQ(FindFiles(dir.Path(), "*"), (std::vector<std::string>{"A.KWF", "a2.kwf", "b.kwf", "c.txt", "game.kwf.bak", "Z.Kwf"}));
  EXPECT_TRUE(FindFiles(dir / "missing", "*").empty());
}

TEST(Files, NamePartsAsWindowsSplitsThem) {
  EXPECT_EQ(ExtractFilePath("D:\\games\\demo\\demo.kwf"), "D:\\games\\demo\\");
  EXPECT_EQ(ExtractFileName("D:\\games\\demo\\demo.kwf"), "demo.kwf");
  EXPECT_EQ(ExtractFilePath("demo.kwf"), "");
  EXPECT_EQ(ExtractFileName("a/b"), "b");
  EXPECT_FALSE(ExecutablePath().empty());
}

TEST(Files, ReadWholeFileRefusesFoldersAndOversizedFiles) {
  TTempFolder dir;
  auto f = dir.Write("data.bin", std::string("\0\1\2", 3));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(f, bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 2}));
  EXPECT_FALSE(ReadWholeFile(f, bytes, 2));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes));
  EXPECT_FALSE(ReadWholeFile(dir / "none", bytes));
}

}  // namespace
}  // namespace kw
