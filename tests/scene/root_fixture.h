// A game root read from its JSON form inside a fresh game folder (the
// current folder during the test) and with a fresh user-data home, so that
// language files, sound lists, settings and record files are the test's own.
#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "bridge_fixture.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "support/temp_folder.h"

namespace kw::test {

class TRootTest : public TBridgeTest {
 protected:
  void SetUp() override {
    TBridgeTest::SetUp();
    ForgetAllFolderListings();
    inFolder = std::make_unique<TCurrentFolder>(game.Path());
  }
  void TearDown() override {
    TBridgeTest::TearDown();
    inFolder.reset();
    ForgetAllFolderListings();
  }

  // The root's properties (a JSON object's members) of a game without
  // children.
  void LoadRoot(const std::string& properties) {
    Load(R"({"class": "TKwDB", "properties": {"Key": 1, "Id": "Test game")" +
         (properties.empty() ? std::string() : ", " + properties) + "}}");
  }

  // The game written as game.kwf into the game folder and read with
  // LoadGame, as the player reads it.
  void LoadGameFile(const std::string& json) {
    TGameRecord record;
    std::string error;
    ASSERT_TRUE(GameRecordFromJson(nlohmann::json::parse(json), ".", record, error)) << error;
    game.Write("game.kwf", EncodeGameRecord(record));
    ForgetAllFolderListings();
    root = std::make_unique<TKwDB>();
    root->SetGameFileName("game.kwf");
    root->LoadGame();
  }

  // Sets a property through its setter, as the game file and scripts do.
  void SetProp(TKwElement& e, const char* name, const TPropValue& value) {
    const int i = FindProperty(e.Properties(), name);
    ASSERT_GE(i, 0) << name;
    e.Properties()[size_t(i)].Set(e, value);
  }

  void WriteGameFile(const std::string& relative, const std::string& bytes) {
    game.Write(relative, bytes);
    ForgetAllFolderListings();
  }

  TTempFolder game;
  TDataHome home;
  std::unique_ptr<TCurrentFolder> inFolder;
};

}  // namespace kw::test
