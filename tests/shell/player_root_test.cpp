// The player and the game root together: the title from the game's texts,
// the settings applied to the window through the shell's hooks, and the
// fonts archive loaded into the player's device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include <nlohmann/json.hpp>

#include "media/fonts_archive.h"
#include "platform/files.h"
#include "platform/headless_window.h"
#include "scene/game_record.h"
#include "scene/kw_db.h"
#include "scene/shell_state.h"
#include "scene/tree_json.h"
#include "shell/player.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

class PlayerRootTest : public testing::Test {
 protected:
  void SetUp() override {
    nlohmann::json game = nlohmann::json::parse(R"({"class": "TKwDB", "properties": {
        "Key": 1, "Id": "Rooted", "FileFonts": "fonts.fnt", "Lang": "eng.lng", "IniFile": "settings.ini"}})");
    TGameRecord record;
    std::string error;
    ASSERT_TRUE(GameRecordFromJson(game, ".", record, error)) << error;
    folder_.Write("game/rooted.kwf", EncodeGameRecord(record));
    folder_.Write("game/eng.lng", "[Default]\r\nTitle=The \xC8\xE3\xF0\xE0\r\n");
    TBitmapFont font;
    font.Name = "Default";
    font.CellHeight = 12;
    font.Atlas = TBitmap32(2, 2, 0xFFFFFFFFu);
    ASSERT_TRUE(WriteFontsArchive(folder_ / "game/fonts.fnt", {font}));
    ForgetAllFolderListings();
  }
  void TearDown() override {
    ForgetAllFolderListings();
  }
  void Settings(const char* text) { home_.Write("Nimbrel/Rooted/settings.ini", text); }
  TOptions Options(bool testMode = false) {
    TOptions o;
    o.Headless = true;
    o.Frames = 1;
    o.TestMode = testMode;
    o.Game = (folder_ / "game").string();
    return o;
  }

  test::TTempFolder folder_;
  test::TDataHome home_;
  test::TCurrentFolder keep_{std::filesystem::current_path()};
};

TEST_F(PlayerRootTest, TitleSettingsAndFontsReachTheWindowAndDevice) {
  Settings("[Def]\nFS=0\nSysCursor=1\n");
  THeadlessWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(), folder_ / "kwplay", {});
  ASSERT_TRUE(player.FormCreate());
  EXPECT_EQ(window.Title(), "The Игра");
  EXPECT_FALSE(window.FullScreen());
  EXPECT_TRUE(window.CursorShown());
  EXPECT_EQ(player.Root()->Device, &player.Device());
  EXPECT_EQ(player.Device().Fonts().Count(), 1);
  EXPECT_NE(player.Device().Fonts().Find("default"), nullptr);
  player.FormClose();
  EXPECT_FALSE(Shell().ApplyDisplayMode);
  EXPECT_FALSE(Shell().ShowSystemCursor);
}

TEST_F(PlayerRootTest, FullScreenFromSettingsAndTestModeKeepsTheWindow) {
  Settings("[Def]\nFS=1\n");
  {
    THeadlessWindow window;
    TVirtualClock clock;
    TPlayer player(window, clock, Options(), folder_ / "kwplay", {});
    ASSERT_TRUE(player.FormCreate());
    EXPECT_TRUE(window.FullScreen());
    EXPECT_FALSE(player.Device().Windowed);
    EXPECT_FALSE(window.CursorShown());
  }
  THeadlessWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(true), folder_ / "kwplay", {});
  ASSERT_TRUE(player.FormCreate());
  EXPECT_FALSE(window.FullScreen());
  EXPECT_TRUE(player.Device().Windowed);
}

}  // namespace
}  // namespace kw
