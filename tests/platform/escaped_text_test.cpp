#include "platform/escaped_text.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

TEST(EscapedText, ReadsBytesAndEscapesAndStopsAtACutEscape) {
  const std::string text = std::string("A") + "\x01\x16\x04" + "B" + "\x01\x41";
  size_t pos = 0;
  uint32_t code = 0;
  ASSERT_TRUE(NextEscapedChar(text, pos, code));
  EXPECT_EQ(code, 0x41u);
  ASSERT_TRUE(NextEscapedChar(text, pos, code));
  EXPECT_EQ(code, 0x0416u);
  ASSERT_TRUE(NextEscapedChar(text, pos, code));
  EXPECT_EQ(code, 0x42u);
  EXPECT_FALSE(NextEscapedChar(text, pos, code));
  EXPECT_EQ(pos, text.size());
  EXPECT_EQ(EscapedToUtf16(text), u"A\u0416B");
}

TEST(EscapedText, AppendGivesTheThreeBytesAndSearchesSkipEscapes) {
  std::string text;
  AppendEscape(text, 0x0416);
  EXPECT_EQ(text, std::string("\x01\x16\x04", 3));
  // An escape whose low byte is a space is not a word break.
  const std::string words = std::string("\x01\x20\x04") + "x y";
  EXPECT_EQ(FindEscaped(words, ' '), 4u);
  EXPECT_EQ(FindEscaped(words, ' ', 5), std::string_view::npos);
  const std::string lines("ab\0cd", 5);
  EXPECT_EQ(FindEscaped(lines, '\0'), 2u);
}

}  // namespace
}  // namespace kw
