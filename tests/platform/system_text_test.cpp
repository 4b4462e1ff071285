// The operating-system text drawing with the DejaVu faces the build uses.
#include "platform/system_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "support/temp_folder.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

// Registered faces are process-wide: every test starts and ends without any.
struct TSystemText : ::testing::Test {
  void SetUp() override {
    ForgetRegisteredFonts();
    if (SystemFontFile().empty()) GTEST_SKIP() << "no DejaVu Sans on this machine";
  }
  void TearDown() override { ForgetRegisteredFonts(); }

  // A face of the DejaVu family beside the system face; skips without it.
  fs::path Sibling(const char* name) {
    const fs::path file = SystemFontFile().parent_path() / name;
    if (!fs::exists(file)) return {};
    return file;
  }

  static TBitmap32 Draw(std::string_view face, std::u16string_view text, int size = 30) {
    TBitmap32 out;
    EXPECT_TRUE(DrawSystemText(face, text, size, out)) << std::string(face);
    return out;
  }
};

int LitPixels(const TBitmap32& b) {
  return int(std::count_if(b.Pixels.begin(), b.Pixels.end(), [](uint32_t p) { return (p & 0xFF) > 0; }));
}

// The last row holding a lit pixel; -1 when none.
int LowestLitRow(const TBitmap32& b) {
  for (int y = b.Height - 1; y >= 0; --y)
    for (int x = 0; x < b.Width; ++x)
      if (b.At(x, y) & 0xFF) return y;
  return -1;
}

TEST_F(TSystemText, ExtentIsAdvanceWidthByLineHeight) {
  const TBitmap32 one = Draw("", u"W"), two = Draw("", u"WW"), four = Draw("", u"WWWW");
  ASSERT_GT(one.Width, 20);
  EXPECT_EQ(two.Width, 2 * one.Width);
  EXPECT_EQ(four.Width, 4 * one.Width);
  EXPECT_GT(Draw("", u"Wi").Width, one.Width);
  EXPECT_LT(Draw("", u"ii").Width, two.Width);
  // One line height whatever the text: above the em size, below 1.5 times it.
  for (const auto* b : {&one, &two, &four}) EXPECT_EQ(b->Height, one.Height);
  EXPECT_GT(one.Height, 30);
  EXPECT_LT(one.Height, 45);
  const TBitmap32 big = Draw("", u"W", 60);
  EXPECT_NEAR(big.Height, 2 * one.Height, 2);
  EXPECT_NEAR(big.Width, 2 * one.Width, 2);
}

TEST_F(TSystemText, WhiteCoverageOnOpaqueBlack) {
  const TBitmap32 b = Draw("", u"H\u0416g");  // Latin, Cyrillic, a descender
  ASSERT_FALSE(b.Empty());
  uint32_t brightest = 0;
  for (uint32_t p : b.Pixels) {
    ASSERT_EQ(p >> 24, 255u) << std::hex << p;
    ASSERT_EQ(p & 0xFF, (p >> 8) & 0xFF) << std::hex << p;
    ASSERT_EQ(p & 0xFF, (p >> 16) & 0xFF) << std::hex << p;
    brightest = std::max(brightest, p & 0xFF);
  }
  EXPECT_EQ(brightest, 255u);
  EXPECT_EQ(b.At(0, 0), 0xFF000000u);
  EXPECT_EQ(b.At(b.Width - 1, b.Height - 1), 0xFF000000u);
  // Glyphs stand on one baseline: the descender reaches lower.
  EXPECT_GT(LowestLitRow(Draw("", u"g")), LowestLitRow(Draw("", u"a")));
  EXPECT_EQ(LowestLitRow(Draw("", u"a")), LowestLitRow(Draw("", u"\u0416")));
  // A space measures and stays black.
  const TBitmap32 space = Draw("", u"  ");
  EXPECT_GT(space.Width, 0);
  EXPECT_EQ(LitPixels(space), 0);
}

TEST_F(TSystemText, ControlsTakeNoRoomAndMissingCharactersDrawTheBox) {
  EXPECT_EQ(Draw("", u"A\u0001\rA").Width, Draw("", u"AA").Width);
  const TBitmap32 missing = Draw("", u"\uE000");  // private use: not in the face
  EXPECT_GT(missing.Width, 0);
  EXPECT_GT(LitPixels(missing), 0);
}

TEST_F(TSystemText, NothingToDraw) {
  for (auto [text, size] : {std::pair{u"", 30}, std::pair{u"\r\n", 30}, std::pair{u"A", 0}, std::pair{u"A", -5},
                            std::pair{u"A", 100000}}) {
    TBitmap32 out(3, 3);
    EXPECT_FALSE(DrawSystemText("", text, size, out)) << size;
    EXPECT_TRUE(out.Empty());
  }
}

TEST_F(TSystemText, RunawayLineIsCut) {
  const TBitmap32 b = Draw("", std::u16string(5000, u'W'));
  EXPECT_LE(b.Width, 16384);
  EXPECT_GT(b.Width, 16000);
}

TEST_F(TSystemText, RegisteredFamiliesByNameWithoutCaseThenFallBack) {
  const fs::path mono = Sibling("DejaVuSansMono.ttf"), serif = Sibling("DejaVuSerif.ttf");
  if (mono.empty() || serif.empty()) GTEST_SKIP() << "DejaVu Sans Mono or Serif missing";
  const std::u16string text = u"Wil";
  const TBitmap32 system = Draw("DejaVu Sans Mono", text);  // nothing registered: the system face

  ASSERT_TRUE(RegisterFontFile(mono));
  ASSERT_TRUE(RegisterFontFile(serif));
  EXPECT_TRUE(RegisterFontFile(serif));  // twice is harmless
  const TBitmap32 monoText = Draw("DejaVu Sans Mono", text), serifText = Draw("dejavu SERIF", text);
  // A monospaced face gives every character the same advance.
  EXPECT_EQ(monoText.Width, Draw("DEJAVU SANS MONO", u"WWW").Width);
  EXPECT_EQ(monoText.Width % 3, 0);
  EXPECT_NE(monoText.Pixels, system.Pixels);
  EXPECT_NE(serifText.Pixels, monoText.Pixels);
  EXPECT_EQ(Draw("DejaVu Serif", text).Pixels, serifText.Pixels);
  // An unknown face takes the first registered one.
  EXPECT_EQ(Draw("Arial", text).Pixels, monoText.Pixels);
  EXPECT_EQ(Draw("", text).Pixels, monoText.Pixels);

  ForgetRegisteredFonts();
  EXPECT_EQ(Draw("DejaVu Sans Mono", text).Pixels, system.Pixels);
}

TEST_F(TSystemText, FilesWithoutFacesAreRefused) {
  test::TTempFolder folder;
  const fs::path junk = folder / "unicode.ttf";
  std::ofstream(junk) << "not a font at all";
  EXPECT_FALSE(RegisterFontFile(junk));
  EXPECT_FALSE(RegisterFontFile(folder / "missing.ttf"));
  // Nothing was registered: the system face still serves.
  EXPECT_EQ(Draw("x", u"A").Pixels, Draw("", u"A").Pixels);
}

}  // namespace
}  // namespace kw
