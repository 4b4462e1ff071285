#include "media/kw_im.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/kw_store.h"
#include "platform/files.h"
#include "platform/png_codec.h"
#include "support/pack_writer.h"
#include "support/picture_files.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using test::BmpFile;
using test::TTempFolder;

std::string Png(const TBitmap32& picture) {
  std::string bytes;
  EXPECT_TRUE(EncodePng(picture, bytes));
  return bytes;
}

// An 8-bit mask whose palette is all black, so that only the indices
// themselves can carry the alpha.
std::string MaskBmp(int w, int h, uint8_t (*alphaAt)(int x, int y)) {
  std::vector<uint8_t> indices;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) indices.push_back(alphaAt(x, y));
  return test::IndexedBmpFile(w, h, 8, std::vector<uint32_t>(256, 0xFF000000), indices);
}

uint8_t DiagonalAlpha(int x, int y) { return uint8_t(x * 40 + y * 3); }

class KwImTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetKwImages();
    im.GameFolder = game.Path();
    im.UserFolder = user.Path();
  }
  void TearDown() override { ResetKwImages(); }

  // Writes a game file; the game-path resolver caches folder listings, so
  // it is told that the folder changed.
  void Put(const std::string& name, const std::string& bytes) {
    game.Write(name, bytes);
    ForgetAllFolderListings();
  }
  void UsePack(const test::TPackEntries& entries) {
    Put("game.kst", test::BuildPack(entries));
    store.OpenPath(game / "game.kst");
    ASSERT_TRUE(store.ReadDirectory());
    im.Store = &store;
  }
  // Pixel of the first frame of a loaded entry.
  static uint32_t PixelOf(const TKwIm& entry, int x, int y) {
    return entry.Texture ? entry.Texture->PatternPixel(0, x, y) : 0xDEADBEEF;
  }

  TKwImages& im = KwImages();
  TTempFolder game, user;
  TKwStore store;
};

TEST_F(KwImTest, OneEntryPerNameWhateverItsCase) {
  Put("images/a.bmp", BmpFile(TBitmap32(4, 2, 0xFF00FF00), 24));
  TKwIm& first = im.RequestImage("Images\\A.bmp", false);
  TKwIm& second = im.RequestImage("IMAGES\\a.BMP", false);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(first.Name, "IMAGES\\A.BMP");
  EXPECT_EQ(first.UseCount, 2);
  EXPECT_EQ(im.ImageList.size(), 1u);
  EXPECT_EQ(im.ImForLoadPos, 1) << "loaded once";
  ASSERT_NE(first.Texture, nullptr);
  EXPECT_EQ(first.Texture->Name, "IMAGES\\A.BMP");
  EXPECT_EQ(im.Images().Count(), 1);
  EXPECT_EQ(first.MemSize, 4 * 2 * 4);
  EXPECT_EQ(im.TotalTextureBytes, 32u);
  EXPECT_EQ(PixelOf(first, 3, 1), 0xFF00FF00u);
  EXPECT_EQ(im.Find("IMAGES\\A.BMP"), &first);
}

TEST_F(KwImTest, DeferredRequestsRegisterOnceAndLockedOnesLoadAtOnce) {
  Put("a.bmp", BmpFile(TBitmap32(2, 2, 0xFF000000), 24));
  Put("b.bmp", BmpFile(TBitmap32(2, 2, 0xFF000000), 24));
  im.LoadNow = false;
  for (int i = 0; i < 3; ++i) im.RequestImage("a.bmp", false);
  TKwIm& a = *im.Find("A.BMP");
  EXPECT_EQ(im.ImForLoadCount, 1);
  EXPECT_EQ(a.UseCount, 3);
  EXPECT_EQ(a.Texture, nullptr);
  EXPECT_EQ(im.ImForLoadPos, 0);

  TKwIm& b = im.RequestImage("b.bmp", true);
  EXPECT_NE(b.Texture, nullptr) << "locked requests load at once";
  EXPECT_TRUE(b.Locked);
  EXPECT_EQ(im.ImForLoadCount, 1);
  EXPECT_EQ(im.ImForLoadPos, 1);

  // The loading pass: the registered picture loads on its next request.
  im.LoadNow = true;
  im.RequestImage("A.BMP", false);
  EXPECT_NE(a.Texture, nullptr);
  EXPECT_FALSE(a.Locked);
  EXPECT_EQ(im.ImForLoadPos, 2);
}

TEST_F(KwImTest, AMissingPictureFailsOnceAndIsNeverTriedAgain) {
  int progress = 0;
  im.OnLoadProgress = [&] { ++progress; };
  TKwIm& gone = im.RequestImage("images\\none.bmp", false);
  EXPECT_TRUE(gone.Failed);
  EXPECT_EQ(gone.Texture, nullptr);
  EXPECT_EQ(im.ImForLoadPos, 1);
  EXPECT_EQ(im.Images().Count(), 0) << "the texture made for it is removed";
  EXPECT_EQ(progress, 0) << "nothing was loaded";

  Put("images/none.bmp", BmpFile(TBitmap32(2, 2, 0xFF000000), 24));  // too late
  im.RequestImage("images\\none.bmp", false);
  im.LoadNow = false;
  im.ResetUseCounts();
  im.RequestImage("images\\none.bmp", false);
  EXPECT_TRUE(gone.Failed);
  EXPECT_EQ(im.ImForLoadPos, 1);
  EXPECT_EQ(im.ImForLoadCount, 0) << "a failed picture is not registered for loading";
  EXPECT_EQ(gone.UseCount, 1);
}

TEST_F(KwImTest, FrameFileCutsThePictureIntoFrames) {
  Put("hero.png", Png(test::PatternPicture(256, 128)));
  Put("HERO.AN", "4\r\n2\r\n");
  TKwIm& hero = im.RequestImage("hero.png", false);
  ASSERT_NE(hero.Texture, nullptr);
  const TTexture& t = *hero.Texture;
  EXPECT_EQ(t.PatternCount(), 8);
  EXPECT_EQ(t.PatternWidth(), 64);
  EXPECT_EQ(t.PatternHeight(), 64);
  EXPECT_EQ(t.TextureWidth(), 66);
  EXPECT_EQ(t.TextureHeight(), 66);
  EXPECT_EQ(t.TextureCount(), 8);
  // Frame 5 is the second of the lower row.
  const TBitmap32 source = test::PatternPicture(256, 128);
  EXPECT_EQ(t.PatternPixel(5, 3, 7), source.At(64 + 3, 64 + 7));
  EXPECT_EQ(hero.MemSize, 256 * 128 * 4);
}

TEST_F(KwImTest, FrameFileTextsAndGeometry) {
  struct TCase { const char* Text; int Columns, Rows; bool Readable; };
  const TCase cases[] = {{"4\n2\n", 4, 2, true},   {"0\r\n0\r\n", 1, 1, true}, {"", 1, 1, false},
                         {"x\n3", 1, 3, false},     {"\n\n5\n6", 5, 6, true},   {"-2\n3", 1, 3, true},
                         {"$10\n1", 16, 1, true},   {"3 frames\n2", 3, 2, true}, {"7", 7, 1, false},
                         {"4x\n2", 1, 2, false}};
  for (const TCase& c : cases) {
    TFrameGrid grid;
    EXPECT_EQ(ParseFrameFile(c.Text, grid), c.Readable) << c.Text;
    EXPECT_EQ(grid.Columns, c.Columns) << c.Text;
    EXPECT_EQ(grid.Rows, c.Rows) << c.Text;
  }
  // Odd frames round the texture up to even; the border counts.
  const TFrameGeometry g = FrameGeometryOf(255, 100, {2, 1});
  EXPECT_EQ(g.FrameWidth, 127);
  EXPECT_EQ(g.TextureWidth, 130);
  EXPECT_EQ(g.TextureHeight, 102);
  EXPECT_EQ(g.Count, 2);
  EXPECT_EQ(FrameFileName("Images\\Hero.jpeg"), "Images\\Hero..an");
  EXPECT_EQ(FrameFileName("a.b"), ".an");
}

TEST_F(KwImTest, UnreadableOrOverfineFrameFiles) {
  Put("a.png", Png(TBitmap32(8, 8, 0xFFFFFFFF)));
  Put("a.an", "garbage\n");
  TKwIm& a = im.RequestImage("a.png", false);
  ASSERT_NE(a.Texture, nullptr) << "a frame file that says nothing means one frame";
  EXPECT_EQ(a.Texture->PatternCount(), 1);
  // More columns than pixels leaves frames without pixels: refused.
  Put("b.png", Png(TBitmap32(8, 8, 0xFFFFFFFF)));
  Put("b.an", "9\n1\n");
  TKwIm& b = im.RequestImage("b.png", false);
  EXPECT_TRUE(b.Failed);
  EXPECT_EQ(im.Images().Count(), 1);
}

TEST_F(KwImTest, OpaqueRectangle) {
  TBitmap32 clear(8, 6, 0x00FFFFFF);
  Put("clear.bmp", BmpFile(clear, 32));
  clear.At(2, 1) = 0x01000000;
  clear.At(5, 3) = 0xFF000000;
  Put("some.bmp", BmpFile(clear, 32));
  Put("solid.bmp", BmpFile(TBitmap32(3, 2, 0xFF000000), 24));
  EXPECT_EQ(im.RequestImage("clear.bmp", false).OpaqueRect, (TKwRect{0, 0, 7, 5}));
  EXPECT_EQ(im.RequestImage("some.bmp", false).OpaqueRect, (TKwRect{2, 1, 5, 3}));
  EXPECT_EQ(im.RequestImage("solid.bmp", false).OpaqueRect, (TKwRect{0, 0, 2, 1}));
}

TEST_F(KwImTest, AlphaPartnerNames) {
  struct TCase { const char* Picture; const char* Partner; bool RequestedIsMask; };
  const TCase cases[] = {{"Images\\P_x.bmp", "Images\\P.jpg", true},
                         {"Images\\P_x_y.BMP", "Images\\P.jpg", true},
                         {"S.bmp", "S_.jpg", true},
                         {"dir_a\\S.bmp", "dir_a\\S_.jpg", true},
                         {"P_x.jpg", "P.bmp", false},
                         {"pic.jpg", nullptr, false},
                         {"p_x.jpeg", nullptr, false},
                         {"a_b.png", nullptr, false},
                         {"A_B.TGA", nullptr, false}};
  for (const TCase& c : cases) {
    const auto partner = AlphaPartnerOf(c.Picture);
    if (!c.Partner) {
      EXPECT_FALSE(partner) << c.Picture;
      continue;
    }
    ASSERT_TRUE(partner) << c.Picture;
    EXPECT_EQ(partner->Name, c.Partner) << c.Picture;
    EXPECT_EQ(partner->RequestedIsMask, c.RequestedIsMask) << c.Picture;
  }
}

// The three pairings, each with a JPEG for colours and an 8-bit BMP whose
// indices (not its palette's colours) become the alpha.
TEST_F(KwImTest, AlphaMergeTakesColoursFromTheJpegAndAlphaFromTheMask) {
  const TBitmap32 colours(6, 5, ColourRGBA(200, 100, 50, 0xFF));
  const std::string jpeg = test::JpegFile(colours, {100});
  const std::string mask = MaskBmp(6, 5, DiagonalAlpha);
  struct TCase { const char* Request; const char* Jpeg; const char* Mask; };
  const TCase cases[] = {{"P_x.bmp", "p.jpg", "P_x.bmp"}, {"S.bmp", "s_.jpg", "S.bmp"}, {"Q_x.jpg", "Q_x.jpg", "q.bmp"}};
  for (const TCase& c : cases) {
    Put(c.Jpeg, jpeg);
    Put(c.Mask, mask);
    const TKwIm& entry = im.RequestImage(c.Request, false);
    ASSERT_NE(entry.Texture, nullptr) << c.Request;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x) {
        const uint32_t p = PixelOf(entry, x, y);
        ASSERT_EQ(ColourAlpha(p), DiagonalAlpha(x, y)) << c.Request << " at " << x << "," << y;
        ASSERT_NEAR(int(ColourRed(p)), 200, 3) << c.Request;
        ASSERT_NEAR(int(ColourGreen(p)), 100, 3) << c.Request;
      }
    EXPECT_EQ(entry.OpaqueRect, (TKwRect{0, 0, 5, 4})) << c.Request;
  }
  // A mask clear in its two left columns narrows the rectangle.
  Put("edge_a.bmp", MaskBmp(6, 5, [](int x, int) { return uint8_t(x >= 2 ? 255 : 0); }));
  Put("edge.jpg", jpeg);
  EXPECT_EQ(im.RequestImage("edge_a.bmp", false).OpaqueRect, (TKwRect{2, 0, 5, 4}));
}

TEST_F(KwImTest, NoMaskForAJpegWithoutUnderscoreOrAMaskOfAnotherSize) {
  const std::string jpeg = test::JpegFile(TBitmap32(6, 5, 0xFF808080), {100});
  Put("pic.jpg", jpeg);
  Put("pic.bmp", MaskBmp(6, 5, DiagonalAlpha));
  Put("pic_.bmp", MaskBmp(6, 5, DiagonalAlpha));
  Put("big_x.jpg", jpeg);
  Put("big.bmp", MaskBmp(7, 5, DiagonalAlpha));
  Put("lone_x.jpg", jpeg);  // its partner lone.bmp is missing
  for (const char* name : {"pic.jpg", "big_x.jpg", "lone_x.jpg"}) {
    const TKwIm& entry = im.RequestImage(name, false);
    ASSERT_NE(entry.Texture, nullptr) << name;
    EXPECT_EQ(ColourAlpha(PixelOf(entry, 0, 0)), 0xFFu) << name;
    EXPECT_EQ(ColourAlpha(PixelOf(entry, 5, 4)), 0xFFu) << name;
  }
}

TEST_F(KwImTest, NamePrefixes) {
  TBitmap32 picture(2, 1);
  picture.At(0, 0) = ColourRGBA(10, 20, 31, 0x80);  // mean 20.33
  picture.At(1, 0) = ColourRGBA(10, 20, 32, 0x40);  // mean 20.67
  Put("a.bmp", BmpFile(picture, 32));
  Put("*a.bmp", BmpFile(TBitmap32(2, 1, 0xFF0000FF), 32));  // only "#*" names it
  Put("a.png", Png(picture));

  const TKwIm& plain = im.RequestImage("a.bmp", false);
  const TKwIm& star = im.RequestImage("*a.bmp", false);
  const TKwIm& hash = im.RequestImage("#A.BMP", false);
  const TKwIm& both = im.RequestImage("*#a.bmp", false);
  const TKwIm& hashStar = im.RequestImage("#*a.bmp", false);
  const TKwIm& png = im.RequestImage("*a.png", false);
  EXPECT_EQ(im.ImageList.size(), 6u);
  EXPECT_EQ(star.Name, "*A.BMP");
  EXPECT_EQ(PixelOf(plain, 0, 0), picture.At(0, 0));
  EXPECT_EQ(PixelOf(star, 0, 0), 0x80808080u);
  EXPECT_EQ(PixelOf(star, 1, 0), 0x40404040u);
  EXPECT_EQ(PixelOf(hash, 0, 0), ColourRGBA(20, 20, 20, 0x80));
  EXPECT_EQ(PixelOf(hash, 1, 0), ColourRGBA(21, 21, 21, 0x40));
  EXPECT_EQ(PixelOf(both, 0, 0), 0x80808080u) << "silhouette, then grey of a grey";
  EXPECT_EQ(PixelOf(hashStar, 0, 0), ColourRGBA(85, 85, 85, 0xFF)) << "grey of the file named *a.bmp";
  EXPECT_EQ(PixelOf(png, 0, 0), picture.At(0, 0)) << "prefixes convert BMP pictures only";
}

TEST_F(KwImTest, PackPicturesTheirFrameFilesAndPartners) {
  const std::string jpeg = test::JpegFile(TBitmap32(4, 2, 0xFF00FF00), {100});
  UsePack({{"IMAGES\\HERO.BMP", BmpFile(test::PatternPicture(4, 2), 24)},
           {"IMAGES\\HERO.AN", "2\n1\n"},
           {"IMAGES\\ICON.BMP", BmpFile(TBitmap32(2, 2, 0xFF0000FF), 24)},
           {"IMAGES\\M_A.BMP", MaskBmp(4, 2, DiagonalAlpha)},
           {"IMAGES\\M.JPG", jpeg},
           {"IMAGES\\N_A.BMP", MaskBmp(4, 2, DiagonalAlpha)}});
  Put("images/icon.bmp", BmpFile(TBitmap32(2, 2, 0xFFFF0000), 24));
  Put("images/n.jpg", jpeg);  // a loose partner of a pack picture is not looked at

  const TKwIm& hero = im.RequestImage("Images\\Hero.bmp", false);
  ASSERT_NE(hero.Texture, nullptr);
  EXPECT_EQ(hero.Texture->PatternCount(), 2);
  EXPECT_EQ(hero.Texture->PatternWidth(), 2);
  EXPECT_EQ(TTempFolder::Read(user / "temp.an"), "2\n1\n") << "the pack's frame file is copied out";

  EXPECT_EQ(PixelOf(im.RequestImage("images\\icon.bmp", false), 0, 0), 0xFFFF0000u) << "loose files first";

  const TKwIm& merged = im.RequestImage("images\\m_a.bmp", false);
  EXPECT_EQ(ColourAlpha(PixelOf(merged, 3, 1)), DiagonalAlpha(3, 1));
  EXPECT_NEAR(int(ColourGreen(PixelOf(merged, 3, 1))), 255, 3);
  const TKwIm& alone = im.RequestImage("images\\n_a.bmp", false);
  EXPECT_EQ(PixelOf(alone, 3, 1), 0xFF000000u) << "the mask's own colours, unmerged";
}

TEST_F(KwImTest, DamagedPicturesFailQuietly) {
  // An entry whose size runs past the end of the pack.
  test::TPackBytes bytes;
  bytes.Raw("abcd").I32(1).Record("CUT.BMP", 0, 1000).U32(4);
  Put("cut.kst", bytes.Bytes());
  TKwStore cut;
  cut.OpenPath(game / "cut.kst");
  ASSERT_TRUE(cut.ReadDirectory());
  im.Store = &cut;
  EXPECT_TRUE(im.RequestImage("cut.bmp", false).Failed);
  // A file that no decoder reads; a picture too large to decode.
  Put("junk.bmp", "BM this is not a bitmap");
  EXPECT_TRUE(im.RequestImage("junk.bmp", false).Failed);
  EXPECT_EQ(im.Images().Count(), 0);
  EXPECT_EQ(im.TotalTextureBytes, 0u);
}

// Pictures of a million pixels (4 000 000 bytes), each drawn at its own tick.
class KwImBudgetTest : public KwImTest {
 protected:
  void SetUp() override {
    KwImTest::SetUp();
    Put("particles.bmp", BmpFile(TBitmap32(2, 2, 0xFF000000), 24));
    const std::string big = Png(TBitmap32(1000, 1000, 0xFF336699));
    for (int i = 0; i < 11; ++i) Put("p" + std::to_string(i) + ".png", big);
    // Unlocked here (the root locks it), to show that the budget passes
    // over the first entry of the list whatever it is.
    im.RequestImage("particles.bmp", false);
  }
  TKwIm& Picture(int i, bool locked = false) { return im.RequestImage("p" + std::to_string(i) + ".png", locked); }
  // The entry without a request (a request would load it again).
  TKwIm& Entry(int i) { return *im.Find("P" + std::to_string(i) + ".PNG"); }
};

TEST_F(KwImBudgetTest, ALoadReleasesThePicturesDrawnLongestAgo) {
  // Ten pictures, 40 000 000 bytes, loaded without a budget and drawn at
  // ticks 10, 9, …, 1: picture 9 was drawn longest ago. Picture 7 is locked.
  for (int i = 0; i < 10; ++i) Picture(i, i == 7);
  for (int i = 0; i < 10; ++i) {
    im.ProcessTick = uint32_t(10 - i);
    im.TextureOf(Entry(i));
  }
  im.ProcessTick = 20;
  im.MaxMem = 30'000'000;
  Picture(10);  // 44 000 000 bytes: over 1.1 × MaxMem
  // Unlocked candidates sum 40 000 000 (p7 and the first entry left out); the
  // oldest go until less than 30 000 000 remain: p9, p8, p6 (12 000 000).
  for (int i = 0; i <= 10; ++i) {
    const bool released = i == 9 || i == 8 || i == 6;
    EXPECT_EQ(Entry(i).Texture == nullptr, released) << "p" << i;
  }
  EXPECT_EQ(im.TotalTextureBytes, 28'000'000u);
  EXPECT_NE(im.ImageList.front().Texture, nullptr) << "the first entry is never considered";
  EXPECT_FALSE(Entry(9).Failed);
}

TEST_F(KwImBudgetTest, NoBudgetAtOrBelowTwentyFiveMillionAndReloadOnDraw) {
  im.MaxMem = 25'000'000;
  for (int i = 0; i < 11; ++i) Picture(i);
  for (int i = 0; i < 11; ++i) EXPECT_NE(Entry(i).Texture, nullptr) << "p" << i;
  // A released picture comes back on its next draw with AlwaysLoadIm.
  im.ResetUseCounts();
  im.RequestImage("p0.png", false);
  im.ReleaseUnused();
  EXPECT_EQ(im.TotalTextureBytes, 4'000'000u) << "p0 alone";
  TKwIm& p5 = Entry(5);
  EXPECT_EQ(im.TextureOf(p5), nullptr);
  im.AlwaysLoadIm = true;
  im.ProcessTick = 3;
  EXPECT_NE(im.TextureOf(p5), nullptr);
  EXPECT_EQ(p5.LastUse, 3u);
}

TEST_F(KwImTest, ReleaseUnusedKeepsWhatTheSceneUsesAndLockedPictures) {
  for (const char* n : {"a.bmp", "b.bmp", "c.bmp"}) Put(n, BmpFile(TBitmap32(2, 2, 0xFF000000), 24));
  TKwIm& a = im.RequestImage("a.bmp", false);
  TKwIm& b = im.RequestImage("b.bmp", false);
  TKwIm& c = im.RequestImage("c.bmp", true);
  im.ResetUseCounts();
  EXPECT_EQ(a.UseCount + b.UseCount + c.UseCount, 0);
  im.RequestImage("A.BMP", false);
  im.ReleaseUnused();
  EXPECT_NE(a.Texture, nullptr);
  EXPECT_EQ(b.Texture, nullptr);
  EXPECT_NE(c.Texture, nullptr);
  EXPECT_FALSE(b.Failed);
  EXPECT_EQ(im.Images().Count(), 2);
}

TEST_F(KwImTest, ReloadAllImagesKeepsLastUseAndLeavesTheRestAlone) {
  for (const char* n : {"a.bmp", "b.bmp", "c.bmp"}) Put(n, BmpFile(TBitmap32(2, 2, 0xFF000000), 24));
  im.ProcessTick = 5;
  TKwIm& a = im.RequestImage("a.bmp", false);
  im.ProcessTick = 7;
  TKwIm& b = im.RequestImage("b.bmp", false);
  TKwIm& gone = im.RequestImage("none.bmp", false);
  im.LoadNow = false;
  TKwIm& c = im.RequestImage("c.bmp", false);
  im.LoadNow = true;
  im.ProcessTick = 9;
  std::vector<uint32_t> ticks;
  im.OnLoadProgress = [&] { ticks.push_back(im.ProcessTick); };
  im.ReloadAllImages();
  EXPECT_EQ(ticks, (std::vector<uint32_t>{5, 7})) << "each reloaded at its old LastUse";
  EXPECT_EQ(im.ProcessTick, 9u);
  EXPECT_EQ(a.LastUse, 5u);
  EXPECT_EQ(b.LastUse, 7u);
  EXPECT_NE(a.Texture, nullptr);
  EXPECT_EQ(c.Texture, nullptr);
  EXPECT_TRUE(gone.Failed);
  EXPECT_EQ(im.Images().Count(), 2);
  EXPECT_EQ(im.TotalTextureBytes, 32u);
}

TEST_F(KwImTest, TexturesGoIntoTheConnectedList) {
  Put("a.bmp", BmpFile(TBitmap32(2, 2, 0xFF000000), 24));
  TKwIm& a = im.RequestImage("a.bmp", false);
  ASSERT_NE(a.Texture, nullptr);
  TImageList device;
  im.ConnectImages(device);
  EXPECT_EQ(a.Texture, nullptr) << "connecting releases what the old list held";
  im.RequestImage("a.bmp", false);
  EXPECT_EQ(device.Count(), 1);
  EXPECT_TRUE(device.Contains(a.Texture));
  im.DisconnectImages();
  EXPECT_EQ(device.Count(), 0);
  EXPECT_EQ(a.Texture, nullptr);
}

}  // namespace
}  // namespace kw
