#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "media/kw_store.h"
#include "support/pack_writer.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

struct TRun {
  int status = -1;
  std::string out;
};

std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs kwpack with the arguments; stdout is captured, stderr goes to the log.
TRun Kwpack(const std::vector<std::string>& args) {
  const fs::path tool = fs::path(KW_BINARY_DIR) / "tools" / "kwpack" / "kwpack";
  EXPECT_TRUE(fs::exists(tool)) << "build the kwpack target first: " << tool;
  std::string command = Quoted(tool.string());
  for (const auto& a : args) command += " " + Quoted(a);
  TRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Path(const fs::path& p) { return p.string(); }

class KwpackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("src/images/Hero.bmp", "hero pixels");
    folder.Write("src/images/sub/deep.an", std::string("\0\1\2\3", 4));
    folder.Write("src/sounds/click.mp3", "click");
    folder.Write("src/empty.txt", "");
    folder.Write("src/\xD0\x97\xD0\xB0\xD0\xBC\xD0\xBE\xD0\xBA.png", "castle");  // "Замок.png"
    folder.Write("src/ZZ.txt", "last");
  }
  test::TTempFolder folder;
};

TEST_F(KwpackTest, CreateStoresSortedUpperCasedNamesWithTheirBytes) {
  const fs::path pack = folder / "game.kst";
  ASSERT_EQ(Kwpack({"create", Path(pack), Path(folder / "src")}).status, 0);

  TKwStore store;
  store.OpenPath(pack);
  ASSERT_TRUE(store.ReadDirectory());
  std::vector<std::string> names;
  for (const auto& e : store.Entries()) names.push_back(e.Name);
  // Sorted by bytes; the Cyrillic letters keep their case (only ASCII is upper-cased).
  const std::vector<std::string> expected = {"EMPTY.TXT",       "IMAGES\\HERO.BMP", "IMAGES\\SUB\\DEEP.AN",
                                             "SOUNDS\\CLICK.MP3", "ZZ.TXT",          "\xC7\xE0\xEC\xEE\xEA.PNG"};
  EXPECT_EQ(names, expected);

  const std::pair<const char*, std::string> contents[] = {
      {"images\\hero.bmp", "hero pixels"},
      {"IMAGES\\SUB\\DEEP.AN", std::string("\0\1\2\3", 4)},
      {"sounds\\Click.mp3", "click"},
      {"empty.txt", ""},
      {"\xC7\xE0\xEC\xEE\xEA.png", "castle"}};
  for (const auto& [name, bytes] : contents) {
    std::vector<uint8_t> got;
    ASSERT_TRUE(store.ReadEntry(name, got)) << name;
    EXPECT_EQ(std::string(got.begin(), got.end()), bytes) << name;
  }
  // Data first, then the directory: the first entry starts the file.
  EXPECT_EQ(store.Entries()[0].Offset, 0u);

  const TRun list = Kwpack({"list", Path(pack)});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("IMAGES\\SUB\\DEEP.AN"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\xD0\x97\xD0\xB0\xD0\xBC\xD0\xBE\xD0\xBA.PNG"), std::string::npos) << list.out;
}

TEST_F(KwpackTest, ExtractThenCreateGivesTheSamePack) {
  const fs::path first = folder / "first.kst";
  ASSERT_EQ(Kwpack({"create", Path(first), Path(folder / "src")}).status, 0);
  ASSERT_EQ(Kwpack({"extract", Path(first), "-C", Path(folder / "out")}).status, 0);
  EXPECT_EQ(test::TTempFolder::Read(folder / "out" / "IMAGES" / "SUB" / "DEEP.AN"), std::string("\0\1\2\3", 4));
  EXPECT_TRUE(fs::exists(folder / "out" / "\xD0\x97\xD0\xB0\xD0\xBC\xD0\xBE\xD0\xBA.PNG"));
  const fs::path second = folder / "second.kst";
  ASSERT_EQ(Kwpack({"create", Path(second), Path(folder / "out")}).status, 0);

  const TRun a = Kwpack({"list", Path(first)});
  const TRun b = Kwpack({"list", Path(second)});
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(test::TTempFolder::Read(first), test::TTempFolder::Read(second));
}

TEST_F(KwpackTest, ExtractNamedEntriesOnly) {
  const fs::path pack = folder / "game.kst";
  ASSERT_EQ(Kwpack({"create", Path(pack), Path(folder / "src")}).status, 0);
  ASSERT_EQ(Kwpack({"extract", Path(pack), "sounds\\click.mp3", "-C", Path(folder / "one")}).status, 0);
  EXPECT_EQ(test::TTempFolder::Read(folder / "one" / "SOUNDS" / "CLICK.MP3"), "click");
  EXPECT_FALSE(fs::exists(folder / "one" / "ZZ.TXT"));
  // A missing entry is an error, the others are still written.
  EXPECT_EQ(Kwpack({"extract", Path(pack), "NOPE", "zz.txt", "-C", Path(folder / "two")}).status, 1);
  EXPECT_EQ(test::TTempFolder::Read(folder / "two" / "ZZ.TXT"), "last");
}

TEST_F(KwpackTest, NoEntryIsWrittenOutsideTheFolder) {
  fs::create_directories(folder / "outside");
  fs::create_directories(folder / "target");
  fs::create_symlink(folder / "outside", folder / "target" / "LINK");
  const std::string evilNames[] = {"..\\ESCAPE.TXT", "A\\..\\..\\ESCAPE.TXT", "\\ABS.TXT", "/ABS.TXT",
                                   "C:\\DRIVE.TXT",  "C:DRIVE.TXT",          "A\\\\B.TXT", "LINK\\IN.TXT",
                                   "LINK",           ".\\DOT.TXT",           "A\\"};
  test::TPackEntries entries;
  for (const auto& name : evilNames) entries.push_back({name, "evil"});
  entries.push_back({"SAFE\\OK.TXT", "fine"});
  folder.Write("evil.kst", test::BuildPack(entries));

  const TRun run = Kwpack({"extract", Path(folder / "evil.kst"), "-C", Path(folder / "target")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(test::TTempFolder::Read(folder / "target" / "SAFE" / "OK.TXT"), "fine");
  EXPECT_TRUE(fs::is_empty(folder / "outside"));
  EXPECT_TRUE(fs::is_symlink(folder / "target" / "LINK"));
  // No refused entry's bytes landed anywhere in the whole temporary tree.
  for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
    if (entry.is_regular_file() && entry.path().filename() != "evil.kst") {
      EXPECT_NE(test::TTempFolder::Read(entry.path()), "evil") << entry.path();
    }
  }
}

TEST_F(KwpackTest, UsageAndFailuresHaveTheirExitCodes) {
  EXPECT_EQ(Kwpack({}).status, 2);
  EXPECT_EQ(Kwpack({"list"}).status, 2);
  EXPECT_EQ(Kwpack({"frobnicate", "x"}).status, 2);
  EXPECT_EQ(Kwpack({"create", "x.kst"}).status, 2);
  EXPECT_EQ(Kwpack({"extract", "x.kst", "-C"}).status, 2);
  EXPECT_EQ(Kwpack({"--help"}).status, 0);
  EXPECT_EQ(Kwpack({"list", Path(folder / "absent.kst")}).status, 1);
  folder.Write("broken.kst", "xyz");
  EXPECT_EQ(Kwpack({"list", Path(folder / "broken.kst")}).status, 1);
  EXPECT_EQ(Kwpack({"extract", Path(folder / "broken.kst"), "-C", Path(folder / "o")}).status, 1);
  EXPECT_EQ(Kwpack({"create", Path(folder / "p.kst"), Path(folder / "no-such-folder")}).status, 1);
  EXPECT_FALSE(fs::exists(folder / "p.kst"));
  // Two files that become one entry name.
  folder.Write("clash/a.txt", "1");
  folder.Write("clash/A.TXT", "2");
  EXPECT_EQ(Kwpack({"create", Path(folder / "clash.kst"), Path(folder / "clash")}).status, 1);
  EXPECT_FALSE(fs::exists(folder / "clash.kst"));
}

TEST_F(KwpackTest, CreateInsideTheSourceFolderLeavesThePackOut) {
  const fs::path pack = folder / "src" / "self.kst";
  ASSERT_EQ(Kwpack({"create", Path(pack), Path(folder / "src")}).status, 0);
  ASSERT_EQ(Kwpack({"create", Path(pack), Path(folder / "src")}).status, 0);
  TKwStore store;
  store.OpenPath(pack);
  ASSERT_TRUE(store.ReadDirectory());
  EXPECT_EQ(store.IndexOf("SELF.KST"), -1);
  EXPECT_EQ(store.Entries().size(), 6u);
}

}  // namespace
}  // namespace kw
