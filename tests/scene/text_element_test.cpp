// The text element's writes, font lookup, language texts and hit test.
#include "text_fixture.h"

#include "platform/ini.h"

namespace kw::test {
namespace {

std::string Shown(std::string s) {
  for (char& c : s)
    if (c == '\0') c = '|';
  return s;
}

using TextElement = TTextTest;

TEST_F(TextElement, EveryLayoutPropertyLaysTheTextOutAgain) {
  TKwText& t = NewText("AAAA BBBB CCCC");
  EXPECT_EQ(Shown(t.LaidOut()), "AAAA BBBB CCCC");  // no EnEnter: one line as given
  Write(t, "EnEnter", int64_t(255));
  EXPECT_EQ(Shown(t.LaidOut()), "AAAA BBBB CCCC");
  Write(t, "AutoEnter", int64_t(1));
  EXPECT_EQ(Shown(t.LaidOut()), "AAAA BBBB|CCCC");
  Write(t, "SizeX", int64_t(200));
  EXPECT_EQ(Shown(t.LaidOut()), "AAAA BBBB CCCC");
  Write(t, "Scale", 2.0);  // 285 wide now
  EXPECT_EQ(Shown(t.LaidOut()), "AAAA BBBB|CCCC");
  t.SetSizeX(100);  // the virtual write of the box width too
  EXPECT_EQ(Shown(t.LaidOut()), "AAAA|BBBB|CCCC");
  Write(t, "Scale", 1.0);
  Write(t, "AutoEnter", int64_t(0));
  Write(t, "Text", std::string("A\\nB"));
  EXPECT_EQ(Shown(t.LaidOut()), "A|B");
  Write(t, "AutoScale", int64_t(1));  // stored and laid out; no other effect
  EXPECT_EQ(t.AutoScale, 1);
  EXPECT_EQ(Shown(t.LaidOut()), "A|B");
  // Writes that take effect only at the next render keep the layout.
  Write(t, "SizeY", int64_t(5));
  Write(t, "Interval", 3.0);
  EXPECT_EQ(Shown(t.LaidOut()), "A|B");
  Write(t, "Font", std::string("Missing"));
  EXPECT_EQ(t.FoundFont(), nullptr);
  EXPECT_EQ(Shown(t.LaidOut()), "A\\nB") << "without a font the text stays one line";
}

TEST_F(TextElement, FontIsFoundWithoutRegardToCaseAndAgainAtLoadResources) {
  auto* t = new TKwText(screen);
  Write(*t, "Font", std::string("mONO"));
  ASSERT_NE(t->FoundFont(), nullptr);
  EXPECT_EQ(t->FoundFont()->Name(), "Mono");
  EXPECT_EQ(t->Font, "mONO");

  Write(*t, "Font", std::string("Serif"));
  EXPECT_EQ(t->FoundFont(), nullptr);
  device.Fonts().Add(MonoFont("Serif"));
  EXPECT_EQ(t->FoundFont(), nullptr) << "looked up when written, not at each use";
  root->ClearLoaded();
  root->LoadResources();
  ASSERT_NE(t->FoundFont(), nullptr);
  EXPECT_EQ(t->FoundFont()->Name(), "Serif");

  // Fonts reloaded: the element follows the device's font of that name and
  // never uses the one that was dropped.
  device.Fonts().Clear();
  EXPECT_EQ(t->FoundFont(), nullptr);
  TFont& again = device.Fonts().Add(MonoFont("SERIF"));
  EXPECT_EQ(t->FoundFont(), &again);
}

TEST_F(TextElement, WithoutADeviceThereIsNoFont) {
  root->Device = nullptr;
  auto* t = new TKwText(screen);
  Write(*t, "Font", std::string("Mono"));
  Write(*t, "EnEnter", int64_t(1));
  Write(*t, "Text", std::string("A\\nB"));
  EXPECT_EQ(t->FoundFont(), nullptr);
  EXPECT_EQ(t->LaidOut(), "A\\nB");
  t->Render(0, 0xFFFFFFFF, 0, 0, false);  // draws nothing, fails nothing
}

TEST_F(TextElement, TextIdShowsTheLanguageText) {
  auto texts = std::make_unique<TMemIniFile>();
  texts->Text().SetText("[Menu]\r\nPlay=Jouer\\nmaintenant\r\n");
  root->LanguageTexts = std::move(texts);
  TKwText& t = NewText("before");
  Write(t, "EnEnter", int64_t(1));
  Write(t, "TextId", std::string("Menu.Play"));
  EXPECT_EQ(t.Text, "Jouer\\nmaintenant");
  EXPECT_EQ(Shown(t.LaidOut()), "Jouer|maintenant");
  Write(t, "Text", std::string("typed"));
  EXPECT_EQ(t.Text, "Jouer\\nmaintenant") << "the identifier's text keeps showing";
  // An identifier with no text shows nothing; clearing it lets Text show.
  Write(t, "TextId", std::string("Menu.Missing"));
  EXPECT_EQ(t.Text, "");
  EXPECT_EQ(t.LaidOut(), "");
  Write(t, "TextId", std::string());
  Write(t, "Text", std::string("typed"));
  EXPECT_EQ(t.Text, "typed");
}

TEST_F(TextElement, GameFileOrderTextIdBeforeText) {
  auto texts = std::make_unique<TMemIniFile>();
  texts->Text().SetText("[Default]\r\nHi=Hello\r\n");
  root->LanguageTexts = std::move(texts);
  auto* t = new TKwText(screen);
  // Every property in file order, as the reader writes them.
  const TPropTable props = t->Properties();
  for (const TPropInfo& p : props) {
    const std::string name = p.Name;
    if (name == "TextId") p.Set(*t, std::string("Hi"));
    else if (name == "Text") p.Set(*t, std::string("stored"));
    else if (name == "Font") p.Set(*t, std::string("Mono"));
  }
  EXPECT_EQ(t->Text, "Hello");
  EXPECT_EQ(t->LaidOut(), "Hello");
}

TEST_F(TextElement, HitTestCoversTheBoxEdgesInItsLayerOnly) {
  TKwText& t = NewText("A");
  t.rX = 10.5;  // rounds to 10 (halves to even)
  t.rY = 20;
  t.SizeX = 30;
  t.SizeY = 40;
  t.SetOrder(2);
  auto* child = new TKwText(&t);
  child->SetOrder(2);
  child->SizeX = child->SizeY = 1000;
  struct {
    int32_t layer, x, y;
    bool hit;
  } cases[] = {
      {2, 10, 20, true}, {2, 40, 60, true}, {2, 25, 40, true}, {2, 9, 20, false},
      {2, 41, 60, false}, {2, 10, 61, false}, {2, 10, 19, false}, {0, 25, 40, false},
      {2, 500, 500, false},  // the child's box: children of a text are never tested
  };
  for (const auto& c : cases)
    EXPECT_EQ(t.HitTest(c.layer, c.x, c.y, 0, 0), c.hit ? &t : nullptr) << c.layer << " " << c.x << "," << c.y;
  t.Vis = 0;
  EXPECT_EQ(t.HitTest(2, 25, 40, 0, 0), nullptr);
  t.MousedNotVis = 1;
  EXPECT_EQ(t.HitTest(2, 25, 40, 0, 0), &t);
  t.Vis = 1;
  t.MousedVis = 0;
  EXPECT_EQ(t.HitTest(2, 25, 40, 0, 0), nullptr);
}

}  // namespace
}  // namespace kw::test
