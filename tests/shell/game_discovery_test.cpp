// Finding the game: the three steps beside the executable and the game
// named on the command line.
#include <gtest/gtest.h>

#include "platform/ini.h"
#include "shell/game_discovery.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using test::TTempFolder;
using TSource = TGameLocation::TSource;

TEST(GameDiscovery, ExecutableNameWinsOverOtherGames) {
  TTempFolder folder;
  folder.Write("game.kwf", "x");
  folder.Write("another.kwf", "x");
  const TGameLocation at = DiscoverGame(folder / "game.exe", {});
  EXPECT_EQ(at.Source, TSource::ExecutableName);
  EXPECT_EQ(at.GameFile, "game.kwf");
  EXPECT_EQ(at.Folder, folder.Path());
}

TEST(GameDiscovery, TheLastFourCharactersGoWhateverTheyAre) {
  TTempFolder folder;
  folder.Write("gam.kwf", "x");
  folder.Write("aaa.kwf", "x");
  EXPECT_EQ(DiscoverGame(folder / "gamebox", {}).GameFile, "gam.kwf");
  EXPECT_EQ(DiscoverGame(folder / "gamebox", {}).Source, TSource::ExecutableName);
}

TEST(GameDiscovery, OtherwiseTheFirstKwfOfTheListing) {
  TTempFolder folder;
  folder.Write("game.kwf", "x");
  folder.Write("Another.kwf", "x");
  folder.Write("zzz.kwf", "x");
  const TGameLocation at = DiscoverGame(folder / "start.exe", {});
  EXPECT_EQ(at.Source, TSource::FirstKwf);
  EXPECT_EQ(at.GameFile, "Another.kwf");
}

TEST(GameDiscovery, ThenDeVoduzIniMainPath) {
  TTempFolder folder;
  folder.Write("bin/kwplay", "");
  folder.Write("games/demo/demo.kwf", "x");
  const auto ini = folder.Write("config/DeVoduz.ini",
                                "[Main]\nPath=" + (folder / "games" / "demo" / "demo.kwf").string() + "\n");
  const TGameLocation at = DiscoverGame(folder / "bin" / "kwplay", ini);
  EXPECT_EQ(at.Source, TSource::DeVoduzIni);
  EXPECT_EQ(at.GameFile, "demo.kwf");
  EXPECT_EQ(at.Folder, folder / "games" / "demo");
  EXPECT_NE(at.DeVoduzIni, nullptr) << "kept open until shutdown";
}

TEST(GameDiscovery, DeVoduzIniWithAWindowsPath) {
  TTempFolder folder;
  folder.Write("games/Demo/DEMO.KWF", "x");
  const std::string windowsPath = "D:" + (folder / "games" / "demo" / "demo.kwf").string();
  std::string backslashed = windowsPath;
  for (char& c : backslashed)
    if (c == '/') c = '\\';
  const auto ini = folder.Write("DeVoduz.ini", "[main]\npath = " + backslashed + "\n");
  const TGameLocation at = DiscoverGame(folder / "bin" / "kwplay", ini);
  EXPECT_EQ(at.Source, TSource::DeVoduzIni);
  EXPECT_EQ(at.GameFile, "DEMO.KWF");
  EXPECT_EQ(at.Folder, folder / "games" / "Demo");
}

TEST(GameDiscovery, NothingAnywhere) {
  TTempFolder folder;
  EXPECT_EQ(DiscoverGame(folder / "kwplay", {}).Source, TSource::NotFound);
  const TGameLocation at = DiscoverGame(folder / "kwplay", folder / "missing.ini");
  EXPECT_EQ(at.GameFile, "") << "no Path: the root stays empty";
}

TEST(GameDiscovery, CommandLineFileOrFolder) {
  TTempFolder folder;
  folder.Write("mygame/mygame.kwf", "x");
  folder.Write("mygame/aaa.kwf", "x");
  folder.Write("other/only.kwf", "x");
  TGameLocation at = GameFromArgument((folder / "mygame").string());
  EXPECT_EQ(at.Source, TSource::CommandLine);
  EXPECT_EQ(at.GameFile, "mygame.kwf") << "the file named after the folder first";
  EXPECT_EQ(at.Folder, folder / "mygame");
  EXPECT_EQ(GameFromArgument((folder / "other").string()).GameFile, "only.kwf");
  at = GameFromArgument((folder / "mygame" / "aaa.kwf").string());
  EXPECT_EQ(at.GameFile, "aaa.kwf");
  EXPECT_EQ(at.Folder, folder / "mygame");
  EXPECT_EQ(GameFromArgument((folder / "nothere").string()).Source, TSource::NotFound);
  folder.Write("empty/readme.txt", "");
  EXPECT_EQ(GameFromArgument((folder / "empty").string()).Source, TSource::NotFound);
}

}  // namespace
}  // namespace kw
