// The root's fonts archive: FileFonts fills the device's font list with the
// archive's fonts under their record names, replacing what was there.
#include "media/fonts_archive.h"
#include "platform/device.h"
#include "root_fixture.h"

namespace kw::test {
namespace {

TBitmapFont Font(const char* name, int cellHeight) {
  TBitmapFont font;
  font.Name = name;
  font.CellHeight = cellHeight;
  font.Atlas = TBitmap32(2, 2, 0xFFFFFFFFu);
  font.Glyphs['A'] = TGlyph{0, 0, 2, 2, 0, 1, 3};
  return font;
}

class RootFonts : public TRootTest {
 protected:
  void WriteArchive(const char* name, std::vector<TBitmapFont> fonts) {
    ASSERT_TRUE(WriteFontsArchive(game.Path() / name, fonts));
    ForgetAllFolderListings();
  }
  // The game read with LoadGame onto a device, as the player reads it.
  void LoadWithDevice(const std::string& fileFonts) {
    TGameRecord record;
    std::string error;
    ASSERT_TRUE(GameRecordFromJson(
        nlohmann::json::parse(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Fonts", "FileFonts": ")" +
                              fileFonts + "\"}}"),
        ".", record, error));
    game.Write("game.kwf", EncodeGameRecord(record));
    ForgetAllFolderListings();
    root = std::make_unique<TKwDB>();
    root->Device = &device;
    root->SetGameFileName("game.kwf");
    root->LoadGame();
  }
  TDevice device;
};

TEST_F(RootFonts, ArchiveFontsFillTheDeviceUnderTheirRecordNames) {
  WriteArchive("fonts.fnt", {Font("Default", 16), Font("Big", 24)});
  device.Fonts().Add(Font("Stale", 9));
  LoadWithDevice("FONTS.FNT");  // the game's name in any letter case
  EXPECT_EQ(device.Fonts().Count(), 2);
  ASSERT_NE(device.Fonts().Find("default"), nullptr);
  EXPECT_EQ(device.Fonts().Find("default")->Data().CellHeight, 16);
  ASSERT_NE(device.Fonts().Find("Big"), nullptr);
  EXPECT_EQ(device.Fonts().Find("Stale"), nullptr);

  // Another archive replaces the list; naming the same one again does not
  // read it anew.
  WriteArchive("other.fnt", {Font("Small", 12)});
  SetProp(*root, "FileFonts", std::string("other.fnt"));
  EXPECT_EQ(device.Fonts().Count(), 1);
  EXPECT_NE(device.Fonts().Find("Small"), nullptr);
  device.Fonts().Add(Font("Extra", 10));
  SetProp(*root, "FileFonts", std::string("other.fnt"));
  EXPECT_EQ(device.Fonts().Count(), 2);

  // A missing archive leaves no fonts.
  SetProp(*root, "FileFonts", std::string("missing.fnt"));
  EXPECT_EQ(device.Fonts().Count(), 0);
}

TEST_F(RootFonts, WithoutADeviceNothingIsLoadedButTheNameIsKept) {
  WriteArchive("fonts.fnt", {Font("Default", 16)});
  LoadRoot(R"("FileFonts": "fonts.fnt")");
  EXPECT_EQ(root->FileFonts, "fonts.fnt");
}

}  // namespace
}  // namespace kw::test
