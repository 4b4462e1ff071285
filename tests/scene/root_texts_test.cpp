// The root's texts and sound list: language files with their fallback,
// text keys in both forms, Unicode games' texts as escaped text, and the
// sound list's file names and volumes.
#include "platform/escaped_text.h"
#include "root_fixture.h"

namespace kw::test {
namespace {

using RootTexts = TRootTest;

TEST_F(RootTexts, MissingLanguageFileFallsBackInFixedOrder) {
  WriteGameFile("rus.lng", "[Default]\nTitle=Igra\n");
  WriteGameFile("deu.lng", "[Default]\nTitle=Spiel\n");
  LoadRoot(R"("Lang": "missing.lng")");
  EXPECT_EQ(root->Lang, "rus.lng");
  EXPECT_EQ(root->LookupText("Title"), "Igra");
  // A script reads the replaced name back.
  TVarList left = Run(*root, "L := LANG;");
  EXPECT_EQ(Var(left, "L").s, "rus.lng");

  WriteGameFile("eng.lng", "[Default]\nTitle=Game\n");
  SetProp(*root, "Lang", std::string("other.lng"));
  EXPECT_EQ(root->Lang, "eng.lng");
  EXPECT_EQ(root->LookupText("Title"), "Game");
  // An existing file is taken as named, in any letter case.
  SetProp(*root, "Lang", std::string("DEU.LNG"));
  EXPECT_EQ(root->Lang, "DEU.LNG");
  EXPECT_EQ(root->LookupText("Title"), "Spiel");
}

TEST_F(RootTexts, NoLanguageFileAtAllGivesEmptyTexts) {
  LoadRoot(R"("Lang": "missing.lng")");
  EXPECT_EQ(root->Lang, "missing.lng");
  EXPECT_EQ(root->LookupText("Title"), "");
}

TEST_F(RootTexts, LookupTextForms) {
  WriteGameFile("eng.lng",
                "[Default]\r\nTitle=The game\r\nGreeting=  Hello  \r\nEmpty=\r\n"
                "[Menu]\r\nPlay=Start\r\nA.B=dotted key\r\n");
  LoadRoot(R"("Lang": "eng.lng")");
  struct TCase {
    const char* id;
    const char* text;
  } cases[] = {
      {"Title", "The game"},            // section "Default"
      {" Title ", "The game"},          // trimmed
      {"Default.Greeting", "Hello"},    // values are trimmed
      {"  Menu  .  Play  ", "Start"},   // both parts trimmed
      {"menu.play", "Start"},           // sections and keys in any case
      {"Menu.A.B", "dotted key"},       // split at the first dot only
      {"Menu.", ""},                    // ends with its only dot: no key
      {".Play", ""},                    // no section
      {"Default.Missing", ""},
      {"Default.Empty", ""},
      {"", ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(root->LookupText(c.id), c.text) << '"' << c.id << '"';
}

TEST_F(RootTexts, ALanguageKeyWrittenByAScriptIsLookedUp) {
  WriteGameFile("eng.lng", "[Default]\nGreeting=Welcome\n[Menu]\nPlay=Start\n");
  LoadRoot(R"("Lang": "eng.lng")");
  int error = -1;
  Run(*root, "TAG := \"Default.Greeting\";", &error);
  EXPECT_EQ(error, 0) << (log.empty() ? "" : log[0]);
  EXPECT_EQ(root->Tag, "Welcome");
  Run(*root, "TAG := \" Menu . Play \";");
  EXPECT_EQ(root->Tag, "Start");
  // A key without a text keeps the written value as it is.
  Run(*root, "TAG := \"Menu.None\";");
  EXPECT_EQ(root->Tag, "\"Menu.None\"");
}

TEST_F(RootTexts, DefaultLanguageFileIsReadButNeverAnswers) {
  WriteGameFile("eng.lng", "[Default]\nOne=1\n");
  WriteGameFile("def.lng", "[Default]\nTwo=2\n");
  LoadRoot(R"("Lang": "eng.lng", "DefLang": "def.lng")");
  ASSERT_NE(root->DefaultLanguageTexts, nullptr);
  EXPECT_EQ(root->DefaultLanguageTexts->ReadString("Default", "Two", ""), "2");
  EXPECT_EQ(root->LookupText("Two"), "");
}

// A Unicode game: the glyph table's presence switches the mode on at the
// end of LoadGame.
class RootUnicodeTexts : public TRootTest {
 protected:
  void LoadUnicodeGame() {
    WriteGameFile("unicode/unicode.fnt", "1\r\n41 17\r\nArial\r\n");
    LoadGameFile(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Test game", "Lang": "rus.lng"}})");
    ASSERT_TRUE(root->UnicodeMode);
    // The glyph table was read: code 41 with width 17 is pattern 0 at 10.
    ASSERT_NE(root->Glyphs.Entry(0x41), nullptr);
    EXPECT_EQ(root->Glyphs.Entry(0x41)->Advance, 10);
    EXPECT_EQ(root->Glyphs.FaceName(), "Arial");
  }
};

TEST_F(RootUnicodeTexts, UnicodeTextsAnswerFirstEvenWhenEmpty) {
  WriteGameFile("unicode/unicode.lng", "[Default]\nTitle=From unicode\nBlank=\n");
  WriteGameFile("rus.lng", "[Default]\nTitle=From lang\nBlank=From lang too\nOther=Lang only\n");
  LoadUnicodeGame();
  EXPECT_EQ(root->LookupText("Title"), "From unicode");
  EXPECT_EQ(root->LookupText("Blank"), "");  // present, empty: the language file is not asked
  EXPECT_EQ(root->LookupText("Other"), "Lang only");
  EXPECT_EQ(root->LookupText("Missing"), "");
  TValue v;
  ASSERT_TRUE(root->GetValue("UNICODE", v));
  EXPECT_EQ(v.i, 1);
}

TEST_F(RootUnicodeTexts, LanguageFileIsReadAsUnicodeIntoEscapedText) {
  // UTF-16 LE with its byte-order mark: "Жa" and "€", then a long value.
  auto utf16 = [](std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) out += char(c & 0xFF), out += char(c >> 8);
    return out;
  };
  const std::u16string longValue(2500, u'q');
  WriteGameFile("rus.lng", utf16(u"[Default]\r\nTitle=\u0416a \u20AC\r\nLong=" + longValue + u"\r\n"));
  LoadUnicodeGame();
  std::string expected;
  AppendEscape(expected, 0x0416);
  expected += "a ";
  AppendEscape(expected, 0x20AC);
  EXPECT_EQ(root->LookupText("Title"), expected);
  EXPECT_EQ(std::string(expected.substr(0, 3)), std::string("\x01\x16\x04", 3));
  // Values are cut to the buffer the games were made with.
  EXPECT_EQ(root->LookupText("Long"), std::string(TKwDB::kMaxWideText, 'q'));

  // The same file as UTF-8.
  WriteGameFile("rus.lng", "[Default]\nTitle=\xD0\x96\x61 \xE2\x82\xAC\n");
  EXPECT_EQ(root->LookupText("Title"), expected);
}

struct TSoundCase {
  const char* id;
  const char* file;
  int32_t volume;
};

TEST_F(RootTexts, SoundListGivesFileNameAndVolume) {
  WriteGameFile("sounds.ini",
                "[Default]\nClick=80:click.mp3\nPlain=theme.ogg\nOdd=loud:boom.wav\nTwo=50:a:b.mp3\n"
                "[Menu]\nOpen= 60 :open.mp3\n");
  LoadRoot(R"("SoundFile": "sounds.ini")");
  const TSoundCase cases[] = {
      {"Click", "click.mp3", 80},     {"Plain", "theme.ogg", 100},
      {"Odd", "boom.wav", -1},        // no number before ":": volume as the caller set it
      {"Two", "a:b.mp3", 50},         // split at the first ":"
      {"Menu.Open", "open.mp3", 60},  {"Menu.Missing", "", 100},
      {"Menu.", "", 0},               {".Open", "", 0},
  };
  for (const TSoundCase& c : cases) {
    std::string file = "unchanged";
    int32_t volume = -1;
    root->ResolveSoundName(c.id, file, volume);
    EXPECT_EQ(file, c.file) << c.id;
    EXPECT_EQ(volume, c.volume) << c.id;
  }
}

TEST_F(RootTexts, WithoutSoundListTheCallersValuesStay) {
  LoadRoot(R"("SoundFile": "missing.ini")");
  std::string file = "given";
  int32_t volume = 7;
  root->ResolveSoundName("Click", file, volume);
  EXPECT_EQ(file, "given");
  EXPECT_EQ(volume, 7);
}

}  // namespace
}  // namespace kw::test
