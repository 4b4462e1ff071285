// Line breaks and word wrapping of the text layout, measured by a simple
// rule: "i" and the space are 5 wide, every other character 10 (escaped
// characters too).
#include <gtest/gtest.h>

#include "platform/escaped_text.h"
#include "scene/kw_text_layout.h"

namespace kw {
namespace {

double Width(std::string_view text) {
  double w = 0;
  size_t pos = 0;
  uint32_t code = 0;
  while (NextEscapedChar(text, pos, code)) w += (code == 'i' || code == ' ') ? 5 : 10;
  return w;
}

TTextMeasure Measure() {
  TTextMeasure m;
  m.Width = Width;
  m.Advance = [](uint32_t code) { return (code == 'i' || code == ' ') ? 5.0 : 10.0; };
  return m;
}

// Lines made visible: the 0 line ends printed as "|".
std::string Shown(std::string s) {
  for (char& c : s)
    if (c == '\0') c = '|';
  return s;
}

struct TLayoutCase {
  const char* Name;
  std::string Source;
  bool EnEnter, AutoEnter, Unicode;
  std::string Expected;  // "|" for each line end
};

void PrintTo(const TLayoutCase& c, std::ostream* os) { *os << c.Name; }

class TextLayout : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(TextLayout, LaysOut) {
  const TLayoutCase& c = GetParam();
  TTextLayoutRules rules;
  rules.EnEnter = c.EnEnter;
  rules.AutoEnter = c.AutoEnter;
  rules.Unicode = c.Unicode;
  rules.BoxWidth = 100;
  EXPECT_EQ(Shown(LayOutText(c.Source, rules, Measure())), c.Expected) << c.Name;
}

const std::string kU6E5C = "\x01\x5C\x6E";  // a character whose bytes are backslash, n
const std::string kU0420 = std::string("\x01\x20\x04", 3);  // low byte is a space

INSTANTIATE_TEST_SUITE_P(
    Cases, TextLayout,
    ::testing::Values(
        TLayoutCase{"backslash n breaks", "A\\nB", true, false, false, "A|B"},
        TLayoutCase{"CR LF breaks", "A\r\nB", true, false, false, "A|B"},
        TLayoutCase{"lone CR and LF do not", "A\rB\nC", true, false, false, "A\rB\nC"},
        TLayoutCase{"without EnEnter one line", "A\\nB\r\nC", false, true, false, "A\\nB\r\nC"},
        TLayoutCase{"trailing break ends the line", "A\\n", true, false, false, "A|"},
        TLayoutCase{"empty lines stay", "A\\n\\nB", true, false, false, "A||B"},
        TLayoutCase{"empty text", "", true, true, false, ""},
        TLayoutCase{"breaks flow together when wrapping", "A\\nB", true, true, false, "A B"},
        TLayoutCase{"flowing lines wrap again", "AAAA\\nBBBB\\nCCCC", true, true, false, "AAAA BBBB|CCCC"},
        TLayoutCase{"exactly the box width fits", "AAAA BBBBBi", true, true, false, "AAAA BBBBBi"},
        TLayoutCase{"past the box width wraps", "AAAA BBBBBB", true, true, false, "AAAA|BBBBBB"},
        // After a wrap the line holds the word without its space: 40 + 45
        // fits, a third word does not.
        TLayoutCase{"wrapped line measures from its word", "AAAAAAA BBBB CCCC DDDD", true, true, false,
                    "AAAAAAA|BBBB CCCC|DDDD"},
        TLayoutCase{"wide word stays whole", "AAAAAAAAAAAA", true, true, false, "AAAAAAAAAAAA"},
        TLayoutCase{"wide word after a word goes below whole", "AB CCCCCCCCCCCC D", true, true, false,
                    "AB|CCCCCCCCCCCC|D"},
        TLayoutCase{"Unicode: wide word broken by characters", "AAAAAAAAAAAA", true, true, true,
                    "AAAAAAAAAA|AA"},
        TLayoutCase{"Unicode: wide word after a word continues the line", "AB CCCCCCCCCCCC", true, true, true,
                    "AB CCCCCCC|CCCCC"},
        TLayoutCase{"Unicode: a fitting word wraps at its space", "AAAA BBBBBB", true, true, true, "AAAA|BBBBBB"},
        TLayoutCase{"escape holding backslash n is one character", "A" + kU6E5C + "B", true, false, false,
                    "A" + kU6E5C + "B"},
        TLayoutCase{"escape holding a space byte is no word end",
                    "AAAAAAA" + kU0420 + kU0420 + kU0420 + kU0420, true, true, true,
                    "AAAAAAA" + kU0420 + kU0420 + kU0420 + "|" + kU0420},
        TLayoutCase{"escape cut short at the end is kept", "AB\x01\x41", true, true, true, "AB\x01\x41"}));

TEST(TextLayoutLines, CutAtLineEndsOutsideEscapes) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(LaidOutLines(std::string("A\0B", 3)), (V{"A", "B"}));
  EXPECT_EQ(LaidOutLines(std::string("A\0", 2)), (V{"A"}));
  EXPECT_EQ(LaidOutLines(std::string("A\0\0", 3)), (V{"A", ""}));
  EXPECT_EQ(LaidOutLines(""), V{});
  const std::string zeroInEscape("\x01\x00\x41" "B", 4);  // U+4100 then B
  EXPECT_EQ(LaidOutLines(zeroInEscape), V{zeroInEscape});
}

}  // namespace
}  // namespace kw
