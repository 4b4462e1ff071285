// Scripts reading TEXTSZ, the drawn width of a text element's text.
#include "bridge_fixture.h"
#include "text_fixture.h"

namespace kw::test {
namespace {

constexpr const char* kGame = R"({
  "class": "TKwDB",
  "properties": {"Key": 1, "Id": "Game"},
  "children": [
    {"class": "TKwScreen", "properties": {"Key": 2, "Id": "Screen1", "Vis": true},
     "children": [
       {"class": "TKwText", "properties": {"Key": 3, "Id": "T", "Vis": true, "Font": "mono", "Text": "AB i",
                                           "Scale": 1.5}},
       {"class": "TKwText", "properties": {"Key": 4, "Id": "NoFont", "Vis": true, "Text": "AB"}},
       {"class": "TKwImage", "properties": {"Key": 5, "Id": "P", "Vis": true}}
     ]}
  ]
})";

class TextSize : public TBridgeTest {
 protected:
  void SetUp() override {
    TBridgeTest::SetUp();
    device.Fonts().Add(MonoFont());
    Load(kGame);
    // The device comes after the file here: the fonts are taken up when
    // the resources are loaded, as after a screen switch.
    root->Device = &device;
    root->ClearLoaded();
    root->LoadResources();
  }
  TDevice device;
};

TEST_F(TextSize, BitmapFontWidthOfTheTextAtItsScale) {
  TFont* font = device.Fonts().Find("Mono");
  font->Scale = 3;
  TVarList left = Run(At("Screen1"), "A := T.TEXTSZ; B := NOFONT.TEXTSZ; T.SCALE := 1; C := T.TEXTSZ;");
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Float);
  EXPECT_DOUBLE_EQ(Var(left, "A").f, (10 + 10 + 5 + 5) * 1.5);
  EXPECT_EQ(Var(left, "B").kind, TValueKind::Float);
  EXPECT_DOUBLE_EQ(Var(left, "B").f, 0.0) << "no font: nothing is drawn, the width is 0";
  EXPECT_DOUBLE_EQ(Var(left, "C").f, 30.0);
  EXPECT_EQ(font->Scale, 3) << "measuring leaves the font's drawing scale alone";
}

TEST_F(TextSize, OtherClassesDoNotAnswerTheName) {
  log.clear();
  int error = 0;
  TVarList left = Run(At("Screen1.P"), "A := TEXTSZ;", &error);
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Byte);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0].rfind("Not var TEXTSZ", 0), 0u) << log[0];
}

TEST_F(TextSize, SystemDrawnTextHasNoWidthBeforeItsFirstDrawing) {
  root->UnicodeMode = true;
  auto& t = static_cast<TKwText&>(At("Screen1.T"));
  TVarList left = Run(t, "A := TEXTSZ; UNI := TRUE; B := TEXTSZ;");
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Float) << "glyph-drawn: the bitmap font's width";
  EXPECT_EQ(Var(left, "B").kind, TValueKind::Byte);
  EXPECT_EQ(Var(left, "B").i, 0);
  Shell().EntryText = static_cast<TKwText*>(&At("Screen1.NoFont"));
  left = Run(At("Screen1.NoFont"), "A := TEXTSZ;");
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Byte) << "the element that takes typing is system-drawn too";
}

}  // namespace
}  // namespace kw::test
