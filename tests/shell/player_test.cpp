// Start-up and shutdown of the player on the headless back-end.
#include <gtest/gtest.h>

#include <sstream>

#include "media/kw_im.h"
#include "platform/files.h"
#include "platform/headless_window.h"
#include "scene/kw_db.h"
#include "scene/shell_state.h"
#include "shell/player.h"
#include "support/game_file_builder.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using test::TRecordBuilder;

// A game whose root names screen 3 as its first screen.
std::string SmallGame() {
  TRecordBuilder root("TKwDB", 7);
  root.Base(1, "Small \xC8\xE3\xF0\xE0").Int(3).Int(3);
  root.Child(TRecordBuilder("TKwScreen", 5).Base(2, "Other"));
  root.Child(TRecordBuilder("TKwScreen", 5).Base(3, "First"));
  return root;
}

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override { folder_.Write("game/small.kwf", SmallGame()); }
  TOptions Options(int frames) {
    TOptions o;
    o.Headless = true;
    o.Frames = frames;
    o.Game = (folder_ / "game").string();
    return o;
  }
  test::TTempFolder folder_;
  test::TDataHome home_;
  test::TCurrentFolder keep_{std::filesystem::current_path()};
};

TEST_F(PlayerTest, LoadsTheGameAndRunsTheFrames) {
  THeadlessWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(30), folder_ / "kwplay", {});
  ASSERT_TRUE(player.FormCreate());
  ASSERT_NE(player.Root(), nullptr);
  EXPECT_EQ(window.Title(), "Small Игра") << "the root's Id until the title text lands";
  ASSERT_NE(Shell().CurrentScreen, nullptr);
  EXPECT_EQ(Shell().CurrentScreen->Id, "First");
  EXPECT_TRUE(KwImages().LoadNow);
  EXPECT_TRUE(player.Timer().Enabled());
  EXPECT_EQ(CurrentFolder(), folder_ / "game") << "the game's folder becomes the current folder";
  EXPECT_FALSE(window.CursorShown());
  player.FormClose();
  EXPECT_EQ(player.Root(), nullptr);
  EXPECT_EQ(Shell().CurrentScreen, nullptr);
  EXPECT_FALSE(window.IsOpen());
}

TEST_F(PlayerTest, RunStopsAfterTheFramesAndTicksOnTheVirtualClock) {
  THeadlessWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(30), folder_ / "kwplay", {});
  EXPECT_EQ(player.Run(), 0);
  EXPECT_EQ(player.FramesDrawn(), 30);
  EXPECT_EQ(window.PresentedFrames(), 30);
  EXPECT_EQ(KwImages().ProcessTick, 30u) << "one tick per frame at 30 and 30";
  ASSERT_EQ(window.LastFrame().Width, kFrameWidth);
  for (uint32_t p : window.LastFrame().Pixels) ASSERT_EQ(p, 0u);
}

TEST_F(PlayerTest, ScreenshotOfTheLastFrame) {
  THeadlessWindow window;
  TVirtualClock clock;
  TOptions o = Options(2);
  o.Screenshot = (folder_ / "shot.png").string();
  TPlayer player(window, clock, o, folder_ / "kwplay", {});
  EXPECT_EQ(player.Run(), 0);
  EXPECT_GT(std::filesystem::file_size(folder_ / "shot.png"), 0u);
  o.Screenshot = (folder_ / "no" / "such" / "folder" / "shot.png").string();
  TPlayer failing(window, clock, o, folder_ / "kwplay", {});
  EXPECT_EQ(failing.Run(), 1) << "a screenshot that cannot be written fails the run";
}

TEST_F(PlayerTest, CloseEventEndsTheRun) {
  THeadlessWindow window;
  TVirtualClock clock;
  TWindowEvent close;
  close.Kind = TWindowEvent::TKind::Close;
  window.Push(close);
  TPlayer player(window, clock, Options(-1), folder_ / "kwplay", {});
  EXPECT_EQ(player.Run(), 0);
  EXPECT_EQ(player.FramesDrawn(), 0);
}

TEST_F(PlayerTest, ExitRequestEndsTheRun) {
  THeadlessWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(-1), folder_ / "kwplay", {});
  ASSERT_TRUE(player.FormCreate());
  Shell().ExitRequest = true;
  player.Timer().Idle();
  player.FormClose();
  SUCCEED();
}

// A device that cannot start.
class TBrokenWindow : public THeadlessWindow {
 public:
  bool Open(int, int, std::string_view) override { return false; }
};

TEST_F(PlayerTest, DeviceFailureShowsTheMessageAndEnds) {
  TBrokenWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(30), folder_ / "kwplay", {});
  EXPECT_EQ(player.Run(), 1);
  EXPECT_EQ(window.LastMessage(), "Failed initializing Asphyre device!");
  EXPECT_EQ(player.Root(), nullptr);
}

TEST_F(PlayerTest, DiscoveryBesideTheExecutableWithoutAGameArgument) {
  folder_.Write("bin/play.kwf", SmallGame());
  THeadlessWindow window;
  TVirtualClock clock;
  TOptions o = Options(1);
  o.Game.clear();
  o.TestMode = true;
  TPlayer player(window, clock, o, folder_ / "bin" / "play.exe", {});
  ASSERT_TRUE(player.FormCreate());
  EXPECT_EQ(player.Location().Source, TGameLocation::TSource::ExecutableName);
  EXPECT_TRUE(Shell().TestMode);
  EXPECT_FALSE(window.FullScreen());
  EXPECT_EQ(player.Root()->ChildCount(), 2u);
}

TEST_F(PlayerTest, MissingGameGivesAnEmptyRootAndNoScreen) {
  THeadlessWindow window;
  TVirtualClock clock;
  TOptions o = Options(3);
  o.Game.clear();
  TPlayer player(window, clock, o, folder_ / "empty" / "kwplay", {});
  EXPECT_EQ(player.Run(), 0);
  EXPECT_EQ(player.FramesDrawn(), 3);
}

TEST_F(PlayerTest, TellNamesEveryPath) {
  THeadlessWindow window;
  TVirtualClock clock;
  TPlayer player(window, clock, Options(0), folder_ / "kwplay", {});
  ASSERT_TRUE(player.LoadWithoutWindow());
  const TPlayerPaths paths = player.Paths();
  EXPECT_EQ(paths.GameFile, folder_ / "game" / "small.kwf");
  EXPECT_EQ(paths.Pack, folder_ / "game" / "small.kst");
  EXPECT_EQ(paths.ErrorLog, folder_ / "game" / "nimbrel.err");
  std::ostringstream out;
  TPlayer::PrintPaths(paths, out);
  for (const char* line : {"game file: ", "resource pack: ", "user folder: ", "settings file: ", "error log: "})
    EXPECT_NE(out.str().find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace kw
