#include "platform/ini.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "support/temp_folder.h"

using namespace std::string_literals;

namespace kw {
namespace {

using test::TTempFolder;

const char* const kText =
    "; settings\r\n"
    "top=ignored\r\n"
    "[Def]\r\n"
    "Snd = 80 \r\n"
    "muz=40\r\n"
    "snd=99\r\n"
    "Name=\"  quoted  \"\r\n"
    "junk line without equals\r\n"
    "Cyr=\xCF\xF0\xE8\xE2\xE5\xF2\r\n"
    "\r\n"
    "[def]\r\n"
    "Extra=1\r\n"
    "[ Other ]\r\n"
    "Key=\r\n";

TEST(IniText, LookupRules) {
  TIniText ini(kText);
  struct Case { const char* section; const char* key; const char* expected; };
  const Case cases[] = {
      {"Def", "Snd", "80"},           // trimmed
      {"DEF", "SND", "80"},           // ASCII case, first match wins over "snd=99"
      {"def", "Muz", "40"},
      {"Def", "Name", "  quoted  "},  // one pair of quotes removed
      {"Def", "Cyr", "\xCF\xF0\xE8\xE2\xE5\xF2"},  // bytes pass through
      {"Def", "Extra", nullptr},      // only the first section of a name is read
      {"Other", "key", ""},
      {"Other", "Missing", nullptr},
      {"Missing", "Snd", nullptr},
      {"", "top", nullptr},           // keys before any section belong to none
      {"Def", "junk line without equals", nullptr},
  };
  for (const auto& c : cases) {
    auto got = ini.Find(c.section, c.key);
    if (!c.expected) {
      EXPECT_FALSE(got) << c.section << "/" << c.key;
    } else {
      ASSERT_TRUE(got) << c.section << "/" << c.key;
      EXPECT_EQ(*got, c.expected);
    }
  }
  EXPECT_EQ(ini.ReadString("Def", "None", "dflt"), "dflt");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Def", "def", "Other"}));
}

TEST(IniText, WritesKeepTheRestOfTheFileByteForByte) {
  struct Case { const char* before; const char* section; const char* key; const char* value; const char* after; };
  const Case cases[] = {
      {"[A]\r\nx=1\r\ny=2\r\n", "a", "X", "5", "[A]\r\nX=5\r\ny=2\r\n"},
      {"[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n", "A", "new", "v", "[A]\r\nx=1\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n"},
      {"[A]\r\nx=1", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
      {"; c\r\n[A]\r\nx=1\r\n", "B", "k", "v", "; c\r\n[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
      {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"[A]\nx=1\n", "A", "y", "2", "[A]\nx=1\ny=2\n"},  // a LF-only file stays LF-only
      {"[A]\r\n[B]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n[B]\r\n"},
  };
  for (const auto& c : cases) {
    TIniText ini(c.before);
    ini.WriteString(c.section, c.key, c.value);
    EXPECT_EQ(ini.Text(), c.after) << "before: " << c.before;
    EXPECT_EQ(ini.ReadString(c.section, c.key, "?"), c.value);
  }
}

TEST(IniText, IntegersAsDelphiReadsThem) {
  struct Case { const char* text; int32_t expected; };
  const Case cases[] = {{"42", 42}, {" -7 ", -7}, {"$FF", 255}, {"0x10", 16}, {"$FFFFFFFF", -1},
                        {"12a", -1000}, {"", -1000}, {"99999999999", -1000}, {"+3", 3}};
  for (const auto& c : cases) EXPECT_EQ(ProfileToInt(c.text, -1000), c.expected) << c.text;
}

TEST(IniFile, LiveFileWritesAtOnceAndMissingFilesReadAsEmpty) {
  TTempFolder dir;
  auto path = dir / "settings.ini";
  {
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Def", "Snd", 100), 100);
    EXPECT_TRUE(ini.WriteInteger("Def", "Snd", 70));
    EXPECT_TRUE(ini.WriteBool("Def", "FS", true));
    EXPECT_EQ(TTempFolder::Read(path), "[Def]\r\nSnd=70\r\nFS=1\r\n");
  }
  TIniFile again(path);
  EXPECT_EQ(again.ReadInteger("DEF", "snd", 0), 70);
  EXPECT_TRUE(again.ReadBool("Def", "FS", false));

  TIniFile unwritable(dir / "no/such/folder/x.ini");
  EXPECT_FALSE(unwritable.WriteString("A", "b", "c"));
  EXPECT_EQ(unwritable.ReadString("A", "b", "old"), "old");

  TMemIniFile missing(dir / "none.ini");
  EXPECT_FALSE(missing.Loaded());
  EXPECT_EQ(missing.ReadString("A", "b", "d"), "d");
}

TEST(WideProfile, ReadsUtf16Utf8AndCp1251Files) {
  TTempFolder dir;
  const std::u16string word = u"\u041F\u0440\u0438\u0432\u0435\u0442";  // Привет
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : u"[T]\r\nk=" + word + u"\r\n") {
    if (c == 0) break;
    utf16 += char(c & 0xFF);
    utf16 += char(c >> 8);
  }
  auto f16 = dir.Write("a.lng", utf16);
  auto f8 = dir.Write("b.lng", "\xEF\xBB\xBF[T]\nk=" + Utf8FromUtf16(word) + "\n");
  auto f1251 = dir.Write("c.lng", "[T]\nk=\xCF\xF0\xE8\xE2\xE5\xF2\n");
  for (const auto& f : {f16, f8, f1251}) EXPECT_EQ(ReadWideProfileString(f, u"t", u"K", u""), word) << f;
  EXPECT_EQ(ReadWideProfileString(f16, u"T", u"none", u"dflt"), u"dflt");
  EXPECT_EQ(ReadWideProfileString(f16, u"T", u"k", u"", 3), word.substr(0, 3));
}

TEST(WideProfile, WritesKeepTheFileForm) {
  TTempFolder dir;
  std::string utf16 = "\xFF\xFE[\0T\0]\0\r\0\n\0"s;
  auto f16 = dir.Write("a.ini", utf16);
  ASSERT_TRUE(WriteWideProfileString(f16, u"T", u"k", u"\u0416"));
  EXPECT_EQ(TTempFolder::Read(f16), "\xFF\xFE[\0T\0]\0\r\0\n\0k\0=\0\x16\x04\r\0\n\0"s);
  auto fresh = dir / "new.ini";
  ASSERT_TRUE(WriteWideProfileString(fresh, u"S", u"k", u"#$#$D096"));
  EXPECT_EQ(TTempFolder::Read(fresh), "[S]\r\nk=#$#$D096\r\n");
  EXPECT_EQ(ReadWideProfileString(fresh, u"S", u"k", u""), u"#$#$D096");
}

}  // namespace
}  // namespace kw
