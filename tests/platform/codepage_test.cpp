#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace kw {
namespace {

// The C library's converter is an independent reference for the table.
std::string IconvToUtf8(uint8_t byte) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == iconv_t(-1)) return "<no iconv>";
  char in[1] = {char(byte)};
  char out[8] = {};
  char* ip = in;
  char* op = out;
  size_t il = 1, ol = sizeof out;
  size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  return r == size_t(-1) ? std::string("<none>") : std::string(out, size_t(op - out));
}

TEST(Codepage, EveryByteMatchesTheReferenceAndRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    std::string bytes(1, char(b));
    std::string expected = IconvToUtf8(uint8_t(b));
    if (b == 0x98) {
      EXPECT_FALSE(Cp1251HasCharacter(0x98));
      continue;
    }
    if (expected != "<no iconv>") {
      EXPECT_EQ(Utf8FromCp1251(bytes), expected) << "byte " << b;
    }
    bool lossless = false;
    EXPECT_EQ(Cp1251FromUtf8(Utf8FromCp1251(bytes), &lossless), bytes) << "byte " << b;
    EXPECT_TRUE(lossless);
    auto back = Cp1251FromUnicode(UnicodeFromCp1251(uint8_t(b)));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, b);
  }
}

TEST(Codepage, CharactersWithoutAByte) {
  EXPECT_FALSE(Cp1251FromUnicode(u'\u00E9').has_value());  // é
  EXPECT_FALSE(Cp1251FromUnicode(u'\uFFFD').has_value());
  bool lossless = true;
  EXPECT_EQ(Cp1251FromUtf8("a\xC3\xA9z", &lossless), "a?z");
  EXPECT_FALSE(lossless);
}

TEST(Codepage, CaseOfCyrillicAndOtherLetters) {
  struct Case { uint8_t lower, upper; };
  const Case cases[] = {
      {'a', 'A'}, {'z', 'Z'}, {0xE0, 0xC0}, {0xFF, 0xDF}, {0xB8, 0xA8},  // а/А, я/Я, ё/Ё
      {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9F, 0x8F}, {0xA2, 0xA1},
      {0xBC, 0xA3}, {0xB4, 0xA5}, {0xBA, 0xAA}, {0xBF, 0xAF}, {0xB3, 0xB2}, {0xBE, 0xBD},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1251Upper(c.lower), c.upper) << int(c.lower);
    EXPECT_EQ(Cp1251Lower(c.upper), c.lower) << int(c.upper);
  }
  // Bytes that are no letters keep their case; µ has no capital here.
  for (uint8_t b : {uint8_t('1'), uint8_t(0xB5), uint8_t(0xB9), uint8_t(0x98)}) {
    EXPECT_EQ(Cp1251Upper(b), b);
    EXPECT_EQ(Cp1251Lower(b), b);
  }
  EXPECT_EQ(AsciiUpperCase("abc\xE0"), "ABC\xE0");  // names compare with ASCII rules only
  EXPECT_EQ(UpperCase1251("abc\xE0"), "ABC\xC0");
}

TEST(Codepage, Utf8AndUtf16) {
  std::string text = "A\xD0\xAF\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, Я, €, an emoji
  std::u16string wide = Utf16FromUtf8(text);
  EXPECT_EQ(wide.size(), 5u);
  EXPECT_EQ(Utf8FromUtf16(wide), text);
  EXPECT_TRUE(IsValidUtf8(text));
  for (std::string bad : {"\xC0\xAF", "\xE2\x82", "\xED\xA0\x80", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad));
    EXPECT_EQ(Utf16FromUtf8(bad)[0], u'\uFFFD');
  }
}

}  // namespace
}  // namespace kw
