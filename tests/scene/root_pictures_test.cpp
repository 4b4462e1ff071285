// The root wires the picture resources to its game: games read with LoadGame
// onto a headless device, whose pictures (the particle picture, the Unicode
// glyph picture, pack entries) load into the device's image list and are
// drawn on its frame by stars and text elements.
#include "media/fonts_archive.h"
#include "media/kw_im.h"
#include "platform/device.h"
#include "platform/png_codec.h"
#include "root_fixture.h"
#include "scene/kw_text.h"
#include "support/pack_writer.h"
#include "support/picture_files.h"
#include "text_fixture.h"

namespace kw::test {
namespace {

constexpr uint32_t Red = 0xFF0000FF;

class RootPictures : public TRootTest {
 protected:
  // The game written as game.kwf and read as the player reads it: on the
  // device, with loading off while the file is read.
  void LoadOnDevice(const std::string& json, TDevice& onto) {
    TGameRecord record;
    std::string error;
    ASSERT_TRUE(GameRecordFromJson(nlohmann::json::parse(json), ".", record, error)) << error;
    WriteGameFile("game.kwf", EncodeGameRecord(record));
    root = std::make_unique<TKwDB>();
    root->Device = &onto;
    root->SetGameFileName("game.kwf");
    KwImages().LoadNow = false;
    root->LoadGame();
    KwImages().LoadNow = true;
  }
  void LoadOnDevice(const std::string& json) { LoadOnDevice(json, device); }

  // particles.bmp: four 8 × 8 patterns in a row (particles.an), pattern 1
  // one colour, the others white.
  void WriteParticles() {
    TBitmap32 picture(32, 8, 0xFFFFFFFF);
    for (int y = 0; y < 8; ++y)
      for (int x = 8; x < 16; ++x) picture.At(x, y) = 0xFFC08040;
    WriteGameFile("particles.bmp", BmpFile(picture, 24));
    WriteGameFile("particles.an", "4\r\n1\r\n");
  }

  TDevice device;
  TDevice otherDevice;
};

// --- A Unicode game drawn with its glyph font.

// Glyphs: "A" pattern 0 advancing 10 picture pixels, "B" pattern 1 advancing
// 20, U+0416 pattern 2 advancing 15. Every code up to U+0416 without a line
// has no glyph.
constexpr const char* kGlyphTable = "3\r\n41 17\r\n42 34\r\n416 26\r\nDejaVu Sans\r\n";

// The glyph picture, 16 × 20 cut 2 × 2 by its frame file into 8 × 10
// patterns: pattern 0 all white, 1 white in its left half, 2 white in its
// top half, 3 all white; the rest transparent.
std::string GlyphPng() {
  TBitmap32 picture(16, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool white = (x < 8 && y < 10) || (x >= 8 && x < 12 && y < 10) || (x < 8 && y >= 10 && y < 15) ||
                         (x >= 8 && y >= 10);
      if (white) picture.At(x, y) = 0xFFFFFFFF;
    }
  std::string bytes;
  EXPECT_TRUE(EncodePng(picture, bytes));
  return bytes;
}

// A text at (100, 50) in font Mono (cell height 20), colour 1 red: "A",
// "C" (in the table, no glyph), U+5001 (beyond the table), U+0416, "B".
constexpr const char* kUnicodeGame = R"({
  "class": "TKwDB", "properties": {"Key": 1, "Id": "Glyphs", "FileFonts": "fonts.fnt"},
  "children": [{"class": "TKwScreen", "properties": {"Key": 2, "Id": "S", "Vis": true},
    "children": [{"class": "TKwText", "properties": {"Key": 3, "Id": "T", "Vis": true, "rX": 100, "rY": 50,
      "Font": "Mono", "hxColor1": 255, "hxTrans2": 255, "SizeX": 400,
      "Text": "AC\u0001\u0001P\u0001\u0016\u0004B"}}]}]
})";

TEST_F(RootPictures, AUnicodeGameDrawsItsTextWithTheGlyphPicture) {
  WriteGameFile("unicode/unicode.fnt", kGlyphTable);
  WriteGameFile("unicode/unicode.an", "2\r\n2\r\n");
  WriteGameFile("unicode/unicode.png", GlyphPng());
  ASSERT_TRUE(WriteFontsArchive(game / "fonts.fnt", {MonoFont()}));
  ForgetAllFolderListings();
  LoadOnDevice(kUnicodeGame);

  ASSERT_TRUE(root->UnicodeMode);
  const TTexture* glyphs = root->GlyphPicture();
  ASSERT_NE(glyphs, nullptr);
  EXPECT_EQ(glyphs->PatternCount(), 4) << "cut by unicode\\unicode.an";
  EXPECT_EQ(glyphs->PatternWidth(), 8);
  EXPECT_EQ(glyphs->PatternHeight(), 10);
  EXPECT_EQ(device.Images().Find("UNICODE\\UNICODE.PNG"), glyphs);

  auto& text = static_cast<TKwText&>(At("S.T"));
  device.Canvas().Clear(Black);
  text.Render(text.Order(), 0xFFFFFFFF, 7, 5, false);

  // k = 20 / 10: glyphs are 16 × 20 from (7 + 100, 5 + 50); "A" advances
  // 20, the characters without a glyph take no room, U+0416 advances 30.
  // Filtering blends only the two pixels at a half's edge.
  const TBitmap32& frame = device.Frame();
  for (int y = 55; y < 75; ++y) {
    SCOPED_TRACE(y);
    EXPECT_EQ(frame.At(106, y), Black);
    for (int x = 107; x < 123; ++x) ASSERT_EQ(frame.At(x, y), Red) << x;  // A, whole pattern
    for (int x = 123; x < 127; ++x) ASSERT_EQ(frame.At(x, y), Black) << x;
    // U+0416, top half: rows 55..63 covered, 64 and 65 blended, then none.
    if (y < 64 || y >= 66) {
      for (int x = 127; x < 143; ++x) ASSERT_EQ(frame.At(x, y), y < 64 ? Red : Black) << x;
    }
    for (int x = 143; x < 157; ++x) ASSERT_EQ(frame.At(x, y), Black) << x;
    for (int x = 157; x < 164; ++x) ASSERT_EQ(frame.At(x, y), Red) << x;  // B, left half
    for (int x = 166; x < 180; ++x) ASSERT_EQ(frame.At(x, y), Black) << x;
  }
  int outside = 0;
  for (int y = 0; y < frame.Height; ++y)
    for (int x = 0; x < frame.Width; ++x)
      if ((x < 107 || x >= 173 || y < 55 || y >= 75) && frame.At(x, y) != Black) ++outside;
  EXPECT_EQ(outside, 0);

  // Layout measures with the same k: "AB" is 60 wide, so two of them pass a
  // box of 70 (at k = 1 they would fit).
  SetProp(text, "EnEnter", int64_t(1));
  SetProp(text, "AutoEnter", int64_t(1));
  SetProp(text, "SizeX", int64_t(70));
  SetProp(text, "Text", std::string("AB AB"));
  EXPECT_EQ(text.LaidOut(), std::string("AB\0AB", 5));
}

TEST_F(RootPictures, AUnicodeGameWithoutItsGlyphPictureStillRuns) {
  WriteGameFile("unicode/unicode.fnt", kGlyphTable);
  ASSERT_TRUE(WriteFontsArchive(game / "fonts.fnt", {MonoFont()}));
  ForgetAllFolderListings();
  LoadOnDevice(kUnicodeGame);
  ASSERT_TRUE(root->UnicodeMode);
  EXPECT_EQ(root->GlyphPicture(), nullptr);
  auto& text = static_cast<TKwText&>(At("S.T"));
  device.Canvas().Clear(Black);
  text.Render(text.Order(), 0xFFFFFFFF, 0, 0, false);
  for (uint32_t p : device.Frame().Pixels) ASSERT_EQ(p, Black);
}

// --- The particle picture and stars.

TEST_F(RootPictures, TheParticlePictureIsTheFirstPictureAndStarsDrawFromIt) {
  WriteParticles();
  WriteGameFile("unicode/unicode.fnt", kGlyphTable);  // its picture is asked for after the game is read
  LoadOnDevice(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Stars"}})");
  const auto& list = KwImages().ImageList;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Name, "PARTICLES.BMP");
  EXPECT_TRUE(list[0].Locked);
  ASSERT_NE(list[0].Texture, nullptr) << "locked: loaded although loading was off";
  EXPECT_EQ(list[0].Texture->PatternCount(), 4);
  EXPECT_TRUE(device.Images().Contains(list[0].Texture));
  EXPECT_EQ(list[1].Name, "UNICODE\\UNICODE.PNG");
  EXPECT_TRUE(list[1].Failed);

  // Pattern 1 untinted at (100, 200); pattern 2 tinted green, scale 2, in
  // another layer. Additive onto black shows the tinted texels as they are.
  root->AddStar(1, "$FFFFFF", 0, 100, 200, 1, 0, 0, 0, 0, 0, 0);
  root->AddStar(2, "$00FF00", 0, 300, 100, 2, 0, 0, 0, 0, 5, 0);
  device.Canvas().Clear(Black);
  root->RenderStars(0);
  const TBitmap32& frame = device.Frame();
  int drawn = 0;
  for (int y = 0; y < frame.Height; ++y)
    for (int x = 0; x < frame.Width; ++x) {
      const bool inside = x >= 96 && x < 104 && y >= 196 && y < 204;
      ASSERT_EQ(frame.At(x, y), inside ? 0xFFC08040u : Black) << x << "," << y;
      drawn += inside;
    }
  EXPECT_EQ(drawn, 64);
  root->RenderStars(5);
  for (int y = 92; y < 108; ++y)
    for (int x = 292; x < 308; ++x) ASSERT_EQ(frame.At(x, y), 0xFF00FF00u) << x << "," << y;
  EXPECT_EQ(frame.At(291, 100), Black);
  EXPECT_EQ(frame.At(308, 100), Black);
}

TEST_F(RootPictures, WithoutADeviceNoParticlePictureIsRequested) {
  WriteParticles();
  LoadGameFile(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "NoDevice"}})");
  EXPECT_EQ(KwImages().Find("PARTICLES.BMP"), nullptr);
}

// --- Settings the picture resources take from the root.

TEST_F(RootPictures, BudgetAndReloadOnDrawFollowTheRoot) {
  LoadOnDevice(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Budget", "MaxMem": 30000000,
                   "AlwaysLoadIm": true}})");
  EXPECT_EQ(KwImages().MaxMem, 30000000);
  EXPECT_TRUE(KwImages().AlwaysLoadIm);
  SetProp(*root, "MaxMem", int64_t(0));
  SetProp(*root, "AlwaysLoadIm", int64_t(0));
  EXPECT_EQ(KwImages().MaxMem, 0);
  EXPECT_FALSE(KwImages().AlwaysLoadIm);
  int error = 0;
  Run(*root, "MAXMEM := 40000000; ALWAYSLOADIM := 1;", &error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(KwImages().MaxMem, 40000000);
  EXPECT_TRUE(KwImages().AlwaysLoadIm);
}

// --- The end of a root.

TEST_F(RootPictures, AGoneRootLeavesNothingOfItsOwnBehind) {
  WriteParticles();
  WriteGameFile("game.kst", BuildPack({{"PACKED.BMP", BmpFile(TBitmap32(4, 4, 0xFF0000FF), 24)}}));
  LoadOnDevice(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "First"}})");
  TKwImages& images = KwImages();
  ASSERT_NE(images.RequestImage("packed.bmp", false).Texture, nullptr) << "from the pack";
  EXPECT_EQ(&images.Images(), &device.Images());
  EXPECT_EQ(device.Images().Count(), 2);

  root.reset();
  EXPECT_EQ(images.Store, nullptr);
  EXPECT_FALSE(images.OnLoadProgress);
  EXPECT_NE(&images.Images(), &device.Images());
  EXPECT_EQ(device.Images().Count(), 0) << "its textures handed back while the device exists";
  EXPECT_TRUE(images.RequestImage("elsewhere.bmp", false).Failed);  // the pack is not looked into

  // The next game loads onto the same device.
  LoadOnDevice(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Second"}})");
  ASSERT_NE(images.ImageList[0].Texture, nullptr);
  EXPECT_EQ(device.Images().Find("PARTICLES.BMP"), images.ImageList[0].Texture);
  EXPECT_EQ(images.Store, root->Store());
  EXPECT_TRUE(images.OnLoadProgress);
}

TEST_F(RootPictures, AnOlderRootGoingAwayLeavesTheNewerGameConnected) {
  WriteParticles();
  LoadOnDevice(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Old"}})");
  std::unique_ptr<TKwDB> old = std::move(root);
  TDevice& other = otherDevice;
  LoadOnDevice(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "New"}})", other);
  TKwImages& images = KwImages();
  ASSERT_EQ(&images.Images(), &other.Images());

  old.reset();
  EXPECT_EQ(&images.Images(), &other.Images());
  EXPECT_EQ(images.Store, root->Store());
  EXPECT_TRUE(images.OnLoadProgress);
  ASSERT_NE(images.ImageList[0].Texture, nullptr);
  EXPECT_EQ(other.Images().Find("PARTICLES.BMP"), images.ImageList[0].Texture);
}

}  // namespace
}  // namespace kw::test
