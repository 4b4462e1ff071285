// The root's own events: Process leaves the children alone, InitPr starts
// the whole tree anew, the loading progress draws a frame, and screens
// marked to load always are preloaded.
#include "platform/device.h"
#include "root_fixture.h"
#include "scene/kw_screen.h"

namespace kw::test {
namespace {

constexpr const char* kGame = R"({
  "class": "TKwDB",
  "properties": {"Key": 1, "Id": "Events", "exProcess": "TAG := TAG + 'p';",
                 "exInit": "TAG := TAG + 'i';", "exLoadImProcess": "TAG := TAG + 'l';"},
  "children": [
    {"class": "TKwScreen", "properties": {"Key": 2, "Id": "A", "Vis": true, "AllwaysLoad": true,
                                          "exProcess": "KWDB.TAG := KWDB.TAG + 'a';",
                                          "exInit": "KWDB.TAG := KWDB.TAG + 'A';"}},
    {"class": "TKwScreen", "properties": {"Key": 3, "Id": "B", "Vis": true, "AutoInit": false,
                                          "exInit": "KWDB.TAG := KWDB.TAG + 'B';"}}
  ]
})";

using RootEvents = TRootTest;

TEST_F(RootEvents, ProcessRunsOnlyTheRootsScript) {
  Load(kGame);
  root->Process();
  EXPECT_EQ(root->Tag, "p");
}

TEST_F(RootEvents, InitPrStartsTheWholeTreeAgain) {
  Load(kGame);
  root->Init();
  EXPECT_EQ(root->Tag, "iA");
  root->Init();
  EXPECT_EQ(root->Tag, "iA");
  root->InitPr();
  EXPECT_EQ(root->Tag, "iAiA");
  EXPECT_TRUE(At("A").Initialised);
}

TEST_F(RootEvents, LoadingProgressRunsItsScriptAndPresentsOneFrame) {
  Load(kGame);
  root->RunLoadImProcess();  // no device: the script only
  EXPECT_EQ(root->Tag, "l");
  TDevice device;
  int rendered = 0, presented = 0;
  device.OnRender = [&] { ++rendered; };
  device.Presenter = [&](const TBitmap32&) { ++presented; };
  root->Device = &device;
  root->RunLoadImProcess();
  root->Device = nullptr;
  EXPECT_EQ(root->Tag, "ll");
  EXPECT_EQ(rendered, 1);
  EXPECT_EQ(presented, 1);
}

TEST_F(RootEvents, PreloadScreensMarksTheAlwaysLoadedOnes) {
  Load(kGame);
  At("B").Needed = true;
  root->PreloadScreens();
  EXPECT_TRUE(At("A").Needed);
  EXPECT_TRUE(At("A").Loaded);
  EXPECT_FALSE(At("B").Needed);
  EXPECT_FALSE(At("B").Loaded);
}

}  // namespace
}  // namespace kw::test
