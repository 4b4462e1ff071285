#include "media/kw_store.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/pack_writer.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using test::BuildPack;
using test::TPackBytes;
using test::TTempFolder;

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class KwStoreTest : public ::testing::Test {
 protected:
  // Writes the bytes as a pack, opens it and reads its directory.
  void Load(const std::string& bytes) {
    folder.Write("game.kst", bytes);
    store.OpenPath(folder / "game.kst");
    ASSERT_TRUE(store.HasStream());
    ASSERT_TRUE(store.ReadDirectory());
  }

  TTempFolder folder;
  TKwStore store;
};

TEST_F(KwStoreTest, LookupsUpperCaseTheWantedNameAndCompareBytes) {
  Load(BuildPack({{"IMAGES\\HERO.BMP", "hero"},
                  {"images\\hero.bmp", "never"},
                  {"SOUNDS\\\xC0\xE0.MP3", "cyrillic"},
                  {"A", "short"}}));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(store.ReadEntry("images\\Hero.bmp", bytes));
  EXPECT_EQ(AsString(bytes), "hero");
  EXPECT_EQ(store.IndexOf("images\\hero.bmp"), 0);
  EXPECT_EQ(store.IndexOf("IMAGES\\HERO.BM"), -1);  // length counts
  EXPECT_EQ(store.IndexOf("IMAGES/HERO.BMP"), -1);  // no separator folding
  // Only ASCII letters are upper-cased: the Cyrillic bytes must match as stored.
  EXPECT_EQ(store.IndexOf("sounds\\\xC0\xE0.mp3"), 2);
  EXPECT_EQ(store.IndexOf("sounds\\\xC0\xC0.mp3"), -1);
  EXPECT_EQ(store.IndexOf("a"), 3);
  EXPECT_EQ(store.IndexOf(""), -1);
  // Walking by index reaches every entry, whatever the case of its name.
  ASSERT_TRUE(store.ReadEntryAt(1, bytes));
  EXPECT_EQ(AsString(bytes), "never");
  EXPECT_FALSE(store.ReadEntryAt(4, bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(KwStoreTest, FirstOfEqualNamesWins) {
  Load(BuildPack({{"X.TXT", "first"}, {"X.TXT", "second"}}));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(store.ReadEntry("x.txt", bytes));
  EXPECT_EQ(AsString(bytes), "first");
}

TEST_F(KwStoreTest, EmptyDirectoryFailsEveryLookup) {
  Load(BuildPack({}));
  EXPECT_TRUE(store.Entries().empty());
  std::vector<uint8_t> bytes{1, 2};
  EXPECT_FALSE(store.ReadEntry("ANY", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(store.IndexOf("ANY"), -1);
}

TEST_F(KwStoreTest, EmptyEntryGivesTrueAndNoBytes) {
  Load(BuildPack({{"EMPTY", ""}, {"FULL", "abc"}}));
  std::vector<uint8_t> bytes{9};
  ASSERT_TRUE(store.ReadEntry("empty", bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(KwStoreTest, OnlyTheTrailerSaysWhereTheDirectoryIs) {
  // Directory first, then the data it points to, then the trailer; bytes
  // no record points to are never looked at.
  TPackBytes pack;
  pack.Raw("junk");
  const uint32_t dir = pack.Size();
  const uint32_t data = dir + 4 + (4 + 3 + 4 + 4) * 2;
  pack.I32(2).Record("ONE", data, 3).Record("TWO", data + 3, 5);
  pack.Raw("111").Raw("22222").Raw("more junk");
  pack.U32(dir);
  Load(pack.Bytes());
  ASSERT_EQ(store.Entries().size(), 2u);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(store.ReadEntry("two", bytes));
  EXPECT_EQ(AsString(bytes), "22222");
  ASSERT_TRUE(store.ReadEntry("one", bytes));
  EXPECT_EQ(AsString(bytes), "111");
}

TEST_F(KwStoreTest, MissingPackFailsLookupsQuietly) {
  store.OpenPath(folder / "absent.kst");
  EXPECT_FALSE(store.HasStream());
  EXPECT_EQ(store.FileName(), (folder / "absent.kst").string());
  EXPECT_TRUE(store.ReadDirectory());
  EXPECT_EQ(store.IndexOf("X"), -1);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(store.ReadEntry("X", bytes));
  std::ostringstream out;
  EXPECT_FALSE(store.ExtractTo("X", out));

  // A folder of the pack's name is no pack either.
  std::filesystem::create_directories(folder / "dir.kst");
  store.OpenPath(folder / "dir.kst");
  EXPECT_FALSE(store.HasStream());
}

TEST_F(KwStoreTest, OpenResolvesTheNameInTheCurrentFolder) {
  folder.Write("Castle.kst", BuildPack({{"A.TXT", "castle"}}));
  {
    test::TCurrentFolder inGame(folder.Path());
    store.Open("castle.KST");
  }
  EXPECT_EQ(store.FileName(), "castle.KST");
  ASSERT_TRUE(store.HasStream());
  ASSERT_TRUE(store.ReadDirectory());
  EXPECT_EQ(store.IndexOf("a.txt"), 0);
}

TEST_F(KwStoreTest, ReopeningDropsTheOldDirectory) {
  Load(BuildPack({{"OLD", "x"}}));
  store.OpenPath(folder / "absent.kst");
  EXPECT_TRUE(store.Entries().empty());
  EXPECT_EQ(store.IndexOf("OLD"), -1);
}

TEST_F(KwStoreTest, ExtractToWritesAtTheStreamPosition) {
  Load(BuildPack({{"E", "entry"}}));
  std::stringstream out;
  out << "head:";
  ASSERT_TRUE(store.ExtractTo("e", out));
  EXPECT_EQ(out.str(), "head:entry");
  EXPECT_EQ(out.tellp(), std::streampos(10));
}

TEST_F(KwStoreTest, EntryRunningPastTheEndIsAnErrorOfReadEntry) {
  TPackBytes pack;
  pack.Raw("abcd");
  const uint32_t dir = pack.Size();
  pack.I32(4)
      .Record("EXACT", 0, 4)
      .Record("LONG", 2, 100)
      .Record("FAR", 0xFFFFFFF0u, 0x7FFFFFFF)
      .Record("BEYOND", 1000, 0);
  pack.U32(dir);
  Load(pack.Bytes());
  const uint32_t fileSize = pack.Size();

  std::vector<uint8_t> bytes;
  ASSERT_TRUE(store.ReadEntry("EXACT", bytes));
  EXPECT_EQ(AsString(bytes), "abcd");
  for (const char* name : {"LONG", "FAR", "BEYOND"}) {
    bytes = {1};
    EXPECT_THROW(store.ReadEntry(name, bytes), EKwStoreError) << name;
    EXPECT_TRUE(bytes.empty()) << name;
  }
  // The store is still usable after the error.
  ASSERT_TRUE(store.ReadEntry("exact", bytes));
  EXPECT_EQ(AsString(bytes), "abcd");
  EXPECT_LT(fileSize, 1000u);
}

struct TBadPack {
  const char* what;
  std::string bytes;
};

// A pack whose first record is good and whose second is cut or broken, so
// that keeping a partial directory would show.
std::string GoodThen(const std::string& tail, int32_t count = 2) {
  TPackBytes pack;
  pack.Raw("data");
  const uint32_t dir = pack.Size();
  pack.I32(count).Record("GOOD", 0, 4).Raw(tail);
  pack.U32(dir);
  return pack.Bytes();
}

std::string Trailer(int32_t dir, std::string_view before = "0123456789") {
  TPackBytes pack;
  pack.Raw(before).I32(dir);
  return pack.Bytes();
}

std::string CutRecord(size_t keep) {
  // Count 1 and a record cut after `keep` bytes, followed only by the
  // 4-byte trailer, so the record runs past the end of the file.
  TPackBytes record;
  record.Record("NAME", 0, 0);
  TPackBytes pack;
  pack.I32(1).Raw(record.Bytes().substr(0, keep)).U32(0);
  return pack.Bytes();
}

std::vector<TBadPack> BadPacks() {
  TPackBytes negativeLength, zeroLength, negativeSize, longName;
  negativeLength.I32(-1);
  zeroLength.I32(0).U32(0).I32(0);
  negativeSize.Record("BAD", 0, -1);
  longName.I32(1000).Raw("BAD");
  return {
      {"empty file", ""},
      {"one byte", std::string(1, '\0')},
      {"three bytes", std::string(3, '\0')},
      {"negative directory offset", Trailer(-4)},
      {"directory offset past the end", Trailer(100)},
      {"directory offset in the trailer", Trailer(12)},
      {"negative count", Trailer(0, TPackBytes().I32(-1).Bytes())},
      {"huge count", Trailer(0, TPackBytes().I32(0x7FFFFFFF).Bytes())},
      {"count beyond the records", GoodThen("", 3)},
      {"negative name length", GoodThen(negativeLength.Bytes())},
      {"zero name length", GoodThen(zeroLength.Bytes())},
      {"negative size", GoodThen(negativeSize.Bytes())},
      {"name past the end", GoodThen(longName.Bytes())},
      {"record cut in its name length", CutRecord(2)},
      {"record cut in its name", CutRecord(6)},
      {"record cut in its offset", CutRecord(9)},
      {"record cut in its size", CutRecord(11)},
  };
}

TEST_F(KwStoreTest, MalformedDirectoryRaisesAndKeepsNothing) {
  for (const TBadPack& bad : BadPacks()) {
    SCOPED_TRACE(bad.what);
    // A previous good directory must not survive either.
    folder.Write("good.kst", BuildPack({{"GOOD", "data"}}));
    store.OpenPath(folder / "good.kst");
    ASSERT_TRUE(store.ReadDirectory());
    folder.Write("bad.kst", bad.bytes);
    store.OpenPath(folder / "bad.kst");
    ASSERT_TRUE(store.HasStream());
    EXPECT_THROW(store.ReadDirectory(), EKwStoreError);
    EXPECT_TRUE(store.Entries().empty());
    EXPECT_EQ(store.IndexOf("GOOD"), -1);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(store.ReadEntry("GOOD", bytes));
  }
}

TEST_F(KwStoreTest, WellFormedNeighboursOfTheBadPacksRead) {
  // The same shapes one step inside the limits read fine, so the checks
  // above are not simply refusing everything.
  Load(Trailer(0, TPackBytes().I32(0).Bytes()));
  EXPECT_TRUE(store.Entries().empty());
  Load(CutRecord(16));
  ASSERT_EQ(store.Entries().size(), 1u);
  EXPECT_EQ(store.Entries()[0].Name, "NAME");
  Load(GoodThen("", 1));
  EXPECT_EQ(store.IndexOf("good"), 0);
}

}  // namespace
}  // namespace kw
