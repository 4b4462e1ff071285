// Keys and typed characters at the root: exKeyDown, text entry in both
// text modes, and the cheat detector.
#include "platform/escaped_text.h"
#include "root_fixture.h"
#include "scene/kw_text.h"

namespace kw::test {
namespace {

std::string Esc(uint32_t code) {
  std::string s;
  AppendEscape(s, code);
  return s;
}

class RootTyping : public TRootTest {
 protected:
  void LoadTypingGame(const std::string& cheats) {
    Load(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Typing", "Cheats": ")" + cheats + R"(",
             "exCheat": "TAG := TAG + CHEAT + ',';", "exKeyDown": "TAG := TAG + 'k';"},
             "children": [{"class": "TKwScreen", "properties": {"Key": 2, "Id": "S", "Vis": true},
               "children": [{"class": "TKwText", "properties": {"Key": 3, "Id": "Entry", "Vis": true}}]}]})");
  }
  TKwText& Entry() { return static_cast<TKwText&>(At("S.Entry")); }
  void Type(std::string_view text) {
    for (char c : text) root->TypeChar(uint8_t(c));
  }
};

TEST_F(RootTyping, KeyDownSetsKeyDownedAndRunsTheScript) {
  LoadTypingGame("");
  root->KeyDown(65);
  EXPECT_EQ(Shell().KeyDowned, 65);
  EXPECT_EQ(root->Tag, "k");
}

struct TTypeCase {
  const char* name;
  bool unicode;
  std::string before;
  uint32_t code;
  std::string after;
};

class RootTypingTable : public RootTyping, public ::testing::WithParamInterface<TTypeCase> {};

TEST_P(RootTypingTable, EditsTheEntryText) {
  const TTypeCase& c = GetParam();
  LoadTypingGame("ab");
  root->UnicodeMode = c.unicode;
  Entry().Text = c.before;
  Shell().EntryText = &Entry();
  root->TypeChar(c.code);
  EXPECT_EQ(Entry().Text, c.after);
  // Typing into a text never feeds the cheat detector.
  EXPECT_EQ(root->CheatBuffer(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RootTypingTable,
    ::testing::Values(
        TTypeCase{"Letter", false, "ab", 'c', "abc"},
        TTypeCase{"Backspace", false, "ab", 8, "a"},
        TTypeCase{"BackspaceOnEmpty", false, "", 8, ""},
        TTypeCase{"BackspaceTakesOneByte", false, "a" + Esc(0x416), 8, "a\x01\x16"},
        TTypeCase{"ControlKeepsText", false, "ab", 13, "ab"},
        TTypeCase{"CodeZero", false, "ab", 0, "ab"},
        TTypeCase{"HashIgnored", false, "ab", '#', "ab"},
        TTypeCase{"DollarIgnored", false, "ab", '$', "ab"},
        TTypeCase{"HighByte", false, "ab", 0xE0, "ab\xE0"},
        TTypeCase{"Delete127", false, "ab", 127, "ab\x7F"},
        TTypeCase{"Beyond255Ignored", false, "ab", 0x416, "ab"},
        TTypeCase{"UnicodeLetter", true, "ab", 'c', "abc"},
        // x, y, z and the signs up to 127 are typed like every other
        // character below 128.
        TTypeCase{"UnicodeX", true, "ab", 'x', "abx"},
        TTypeCase{"UnicodeTilde", true, "ab", '~', "ab~"},
        TTypeCase{"UnicodeHash", true, "ab", '#', "ab#"},
        TTypeCase{"UnicodeWide", true, "ab", 0x416, "ab" + Esc(0x416)},
        TTypeCase{"UnicodeLatin1", true, "ab", 0xE9, "ab" + Esc(0xE9)},
        TTypeCase{"UnicodeLast", true, "", 0xFFFF, Esc(0xFFFF)},
        TTypeCase{"UnicodeBeyondIgnored", true, "ab", 0x10000, "ab"},
        TTypeCase{"UnicodeControlIgnored", true, "ab", 9, "ab"},
        TTypeCase{"UnicodeBackspaceEscape", true, "a" + Esc(0x416), 8, "a"},
        TTypeCase{"UnicodeBackspaceByte", true, Esc(0x416) + "a", 8, Esc(0x416)},
        // An escape whose code bytes are 1 is found from the start of the
        // text, never cut apart.
        TTypeCase{"UnicodeBackspaceAfterEscapeOfOnes", true, Esc(0x101) + "a", 8, Esc(0x101)},
        TTypeCase{"UnicodeBackspaceEscapeOfOnes", true, "a" + Esc(0x101), 8, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RootTyping, ACheatRunsOnceWhenItsLastLetterIsTyped) {
  LoadTypingGame("gold;abc");
  Type("xgol");
  EXPECT_EQ(root->Tag, "");
  Type("d");
  EXPECT_EQ(root->Tag, "gold,");
  TValue v;
  ASSERT_TRUE(root->GetValue("CHEAT", v));
  EXPECT_EQ(v.s, "gold");
  // The buffer is not cleared, but no suffix matches until a code is typed anew.
  Type("sa");
  EXPECT_EQ(root->Tag, "gold,");
  Type("bc");
  EXPECT_EQ(root->Tag, "gold,abc,");
  EXPECT_EQ(root->CheatBuffer(), "xgoldsabc");
  // The buffer keeps the last ten characters.
  Type("gold");
  EXPECT_EQ(root->CheatBuffer(), "ldsabcgold");
  EXPECT_EQ(root->Tag, "gold,abc,gold,");
}

TEST_F(RootTyping, EveryMatchingSuffixRunsLongestFirstAndCaseCounts) {
  LoadTypingGame("old;GOLD;gold");
  Type("gold");
  EXPECT_EQ(root->Tag, "gold,old,");
}

TEST_F(RootTyping, TenCharacterCodesMatchLongerOnesNever) {
  LoadTypingGame("abcdefghij;abcdefghijk");
  Type("abcdefghij");
  EXPECT_EQ(root->Tag, "abcdefghij,");
  Type("k");
  EXPECT_EQ(root->Tag, "abcdefghij,");
}

TEST_F(RootTyping, TheCheatBufferTakesTheLowByte) {
  LoadTypingGame("A");
  root->TypeChar(0x141);  // low byte 0x41, "A"
  EXPECT_EQ(root->Tag, "A,");
}

}  // namespace
}  // namespace kw::test
