// The root's per-user files: the record file (FileRS) opened without ever
// truncating it and never outside the user folder, and the settings file
// (IniFile) with its volumes, display mode and cursor.
#include <vector>

#include "root_fixture.h"

namespace kw::test {
namespace {

class RootSettings : public TRootTest {
 protected:
  fs::path UserFolder() const { return home.Path() / "Nimbrel" / "Test game"; }
};

TEST_F(RootSettings, RecordFileOpensWithoutTruncatingAndCreatesWhenMissing) {
  home.Write("Nimbrel/Test game/progress.rs", "saved bytes");
  LoadRoot(R"("FileRS": "progress.rs")");
  ASSERT_NE(root->RecordFile(), nullptr);
  std::string bytes;
  ASSERT_TRUE(root->RecordFile()->ReadAll(bytes));
  EXPECT_EQ(bytes, "saved bytes");
  EXPECT_EQ(TTempFolder::Read(UserFolder() / "progress.rs"), "saved bytes");

  // A name in a folder that does not exist yet: the folder is made and the
  // file created empty.
  SetProp(*root, "FileRS", std::string("Saves\\slot1.rs"));
  ASSERT_NE(root->RecordFile(), nullptr);
  EXPECT_TRUE(fs::is_regular_file(UserFolder() / "Saves" / "slot1.rs"));
  ASSERT_TRUE(root->RecordFile()->ReadAll(bytes));
  EXPECT_EQ(bytes, "");
  // A save replaces the content; reading follows the new content.
  ASSERT_TRUE(root->RecordFile()->Replace("new state"));
  ASSERT_TRUE(root->RecordFile()->ReadAll(bytes));
  EXPECT_EQ(bytes, "new state");

  // Setting the first name again reopens it, still untouched.
  SetProp(*root, "FileRS", std::string("progress.rs"));
  ASSERT_TRUE(root->RecordFile()->ReadAll(bytes));
  EXPECT_EQ(bytes, "saved bytes");
  // A file the root created is found again under any letter case.
  SetProp(*root, "FileRS", std::string("saves\\SLOT1.RS"));
  ASSERT_NE(root->RecordFile(), nullptr);
  ASSERT_TRUE(root->RecordFile()->ReadAll(bytes));
  EXPECT_EQ(bytes, "new state");
  SetProp(*root, "FileRS", std::string(""));
  EXPECT_EQ(root->RecordFile(), nullptr);
  // A name that can be neither opened nor created gives no record file.
  SetProp(*root, "FileRS", std::string("Saves"));
  EXPECT_EQ(root->RecordFile(), nullptr);
  EXPECT_TRUE(fs::is_directory(UserFolder() / "Saves"));
}

TEST_F(RootSettings, RecordAndSettingsFilesNeverLeaveTheUserFolder) {
  // Names as the game file gives them (JSON-escaped here).
  for (const char* props : {R"("FileRS": "..\\escape.rs", "IniFile": "..\\escape.ini")",
                            R"("FileRS": "../../escape.rs", "IniFile": "sub/../../escape.ini")",
                            R"("FileRS": "/tmp/escape.rs", "IniFile": "/tmp/escape.ini")"}) {
    LoadRoot(props);
    EXPECT_EQ(root->RecordFile(), nullptr) << props;
    EXPECT_EQ(root->Settings, nullptr) << props;
  }
  EXPECT_FALSE(fs::exists(home.Path() / "Nimbrel" / "escape.rs"));
  EXPECT_FALSE(fs::exists(home.Path() / "escape.rs"));
  EXPECT_FALSE(fs::exists(home.Path() / "Nimbrel" / "escape.ini"));
  EXPECT_FALSE(fs::exists("/tmp/escape.rs"));
}

TEST_F(RootSettings, AGameWithoutUserFilesMakesNoUserFolder) {
  LoadRoot("");
  EXPECT_FALSE(fs::exists(home.Path() / "Nimbrel"));
}

struct TSettingsCase {
  const char* name;
  const char* file;  // settings file content; nullptr: no file
  bool forceFullScreen, testMode;
  int32_t sound, music;
  bool fullScreen, sysCursor;
  std::vector<bool> displayCalls;  // arguments of the display-mode hook
  std::vector<bool> cursorCalls;
};

class RootSettingsTable : public RootSettings, public ::testing::WithParamInterface<TSettingsCase> {};

TEST_P(RootSettingsTable, ReadsDefSectionAndAppliesIt) {
  const TSettingsCase& c = GetParam();
  if (c.file) home.Write("Nimbrel/Test game/settings.ini", c.file);
  Shell().ForceFullScreen = c.forceFullScreen;
  Shell().TestMode = c.testMode;
  // Earlier values, kept when the reading stops before them.
  Shell().FullScreen = false;
  Shell().SysCursor = false;
  std::vector<bool> display, cursor;
  Shell().ApplyDisplayMode = [&display](bool on) { display.push_back(on); };
  Shell().ShowSystemCursor = [&cursor](bool on) { cursor.push_back(on); };
  LoadRoot(R"("IniFile": "settings.ini")");
  ASSERT_NE(root->Settings, nullptr);
  EXPECT_EQ(root->SoundVolume, c.sound);
  EXPECT_EQ(root->MusicVolume, c.music);
  EXPECT_EQ(Shell().FullScreen, c.fullScreen);
  EXPECT_EQ(Shell().SysCursor, c.sysCursor);
  EXPECT_EQ(display, c.displayCalls);
  EXPECT_EQ(cursor, c.cursorCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RootSettingsTable,
    ::testing::Values(
        TSettingsCase{"NoFileGivesDefaults", nullptr, false, false, 100, 50, true, false, {true}, {false}},
        TSettingsCase{"Windowed", "[Def]\r\nFS=0\r\nSnd=70\r\nMuz=$20\r\n", false, false, 70, 32, false, false,
                      {false}, {false}},
        TSettingsCase{"NarrowDesktopForcesFullScreen", "[Def]\nFS=0\n", true, false, 100, 50, true, false, {true},
                      {false}},
        TSettingsCase{"TestModeGivesAWindow", "[Def]\nFS=1\n", false, true, 100, 50, false, false, {false}, {false}},
        TSettingsCase{"TestModeWinsOverForce", "[Def]\nFS=1\n", true, true, 100, 50, false, false, {false}, {false}},
        TSettingsCase{"SystemCursor", "[def]\nsyscursor = 1\n", false, false, 100, 50, true, true, {true}, {true}},
        // The first value that is no whole number ends the reading: Snd is
        // taken, Muz and everything after keep their earlier values and
        // nothing is applied.
        TSettingsCase{"BadValueStopsSilently", "[Def]\nSnd=30\nMuz=loud\nFS=0\nSysCursor=1\n", false, false, 30, 50,
                      false, false, {}, {}},
        TSettingsCase{"EmptyValueIsNoNumber", "[Def]\nSnd=\n", false, false, 100, 50, false, false, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RootSettings, SettingsAreReadOnlyWhenTheNameChangesAndWrittenBack) {
  home.Write("Nimbrel/Test game/settings.ini", "[Def]\nSnd=70\n");
  LoadRoot(R"("IniFile": "settings.ini")");
  EXPECT_EQ(root->SoundVolume, 70);
  home.Write("Nimbrel/Test game/settings.ini", "[Def]\nSnd=10\n");
  SetProp(*root, "IniFile", std::string("settings.ini"));
  EXPECT_EQ(root->SoundVolume, 70);

  // Scripts' writes go to the file in the user folder.
  Run(*root, "VOLSND := 40; FULLSCREEN := 0; SYSCURSOR := 1;");
  const std::string text = TTempFolder::Read(UserFolder() / "settings.ini");
  EXPECT_NE(text.find("Snd=40"), std::string::npos) << text;
  EXPECT_NE(text.find("FS=0"), std::string::npos) << text;
  EXPECT_NE(text.find("SysCursor=1"), std::string::npos) << text;
  EXPECT_FALSE(Shell().FullScreen);
  EXPECT_TRUE(Shell().SysCursor);

  // Another name is read at once.
  home.Write("Nimbrel/Test game/other.ini", "[Def]\nSnd=5\n");
  SetProp(*root, "IniFile", std::string("other.ini"));
  EXPECT_EQ(root->SoundVolume, 5);
}

}  // namespace
}  // namespace kw::test
