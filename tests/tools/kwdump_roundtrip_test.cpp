// kwdump and kwbuild: the JSON form, its errors, and dump-then-build giving
// the same bytes.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "scene/game_file.h"
#include "scene/game_record.h"
#include "scene/kw_db.h"
#include "scene/kw_image.h"
#include "scene/tree_json.h"
#include "support/game_file_builder.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using json = nlohmann::json;

std::string Build(const json& tree, const std::filesystem::path& base = {}) {
  TGameRecord record;
  std::string error;
  EXPECT_TRUE(GameRecordFromJson(tree, base, record, error)) << error;
  return EncodeGameRecord(record);
}

std::string BuildError(const json& tree) {
  TGameRecord record;
  std::string error;
  EXPECT_FALSE(GameRecordFromJson(tree, {}, record, error));
  return error;
}

// Dumps bytes to JSON text and builds them again.
std::string DumpThenBuild(const std::string& bytes) {
  const std::string text = GameRecordToJson(DecodeGameRecord(bytes)).dump(2);
  return Build(json::parse(text));
}

// A tree with odd but valid contents: every value type, a byte with no
// character, NUL and control bytes, Cyrillic text, extreme numbers.
json HostileTree() {
  return json::parse(R"({
    "class": "TKwDB",
    "properties": {"Key": -2147483648, "Id": "Игра\u0098\u0000\u0001\"", "Vis": 256,
                   "SaveErr": 2, "Tag": "last"},
    "children": [
      {"class": "TKwScreen", "properties": {"Key": 2, "hxDrawFx": 4294967295, "AutoInit": false},
       "children": [
         {"class": "TKwImage",
          "properties": {"Key": 3, "Scale": 1.0625, "Angle": -0.0, "rX": 1e-310, "rY": 0.1,
                         "ScaleX": "0x7ff8000000000001", "ScaleY": "0xfff0000000000000",
                         "hxTrans": 300, "PosHor": 7}},
         {"class": "TKwScreen", "properties": {"Key": 4}},
         {"class": "TKwFuture", "raw": "09000000544b7746757475726500000000"}
       ]},
      {"class": "TKwAnim", "children": [{"class": "TKwAnKey", "properties": {"Count": 65535}}]}
    ]})");
}

TEST(KwDumpRoundTrip, HostileTreeGivesTheSameBytes) {
  const std::string bytes = Build(HostileTree());
  EXPECT_EQ(DumpThenBuild(bytes), bytes);
}

TEST(KwDumpRoundTrip, RecordsNoToolWritesSurviveAsRaw) {
  using test::TRecordBuilder;
  const std::string surplus = TRecordBuilder("TKwAnKey", 12).Base(5, "K").Int(1).Int(0).Int(0).Str("").Int(9).Int(9).Int(9);
  const std::string cut = std::string(TRecordBuilder("TKwShape", 33).Base(6, "S")).substr(0, 30);
  const std::string file = TRecordBuilder("TKwDB", 5).Base(1, "G").Child(surplus).Child(cut).Child("").Bytes("\x01\x02");
  EXPECT_EQ(DumpThenBuild(file), file);
  const json dumped = GameRecordToJson(DecodeGameRecord(file));
  EXPECT_TRUE(dumped.contains("raw")) << "trailing bytes make the whole root raw";
  const std::string inner = TRecordBuilder("TKwDB", 5).Base(1, "G").Child(surplus).Child(cut);
  const json partly = GameRecordToJson(DecodeGameRecord(inner));
  ASSERT_EQ(partly["children"].size(), 2u);
  EXPECT_TRUE(partly["children"][0].contains("raw"));
  EXPECT_TRUE(partly["children"][1].contains("raw"));
  EXPECT_EQ(DumpThenBuild(inner), inner);
}

TEST(KwDumpRoundTrip, DumpShowsNamesInFileOrderAndPlainValues) {
  const std::string bytes = Build(HostileTree().at("children").at(0).at("children").at(0));
  const auto dumped = GameRecordToJson(DecodeGameRecord(bytes));
  std::vector<std::string> names;
  for (auto it = dumped["properties"].begin(); it != dumped["properties"].end(); ++it) names.push_back(it.key());
  ASSERT_EQ(names.size(), 32u) << "up to rY, property 29, plus ScaleX and ScaleY";
  EXPECT_EQ(names[5], "imImage");
  EXPECT_EQ(names[9], "Scale");
  EXPECT_EQ(dumped["properties"]["Scale"].get<double>(), 1.0625) << "the file's value, not the thousandths";
  EXPECT_EQ(dumped["properties"]["Vis"], true) << "unnamed properties before the last carry initial values";
  EXPECT_EQ(dumped["properties"]["hxColor"].get<int64_t>(), 0xFFFFFF);
  EXPECT_EQ(dumped["properties"]["hxTrans"].get<int64_t>(), 300) << "the stored field, not its low byte";
  EXPECT_EQ(dumped["properties"]["ScaleX"], "0x7ff8000000000001");
}

TEST(KwDumpRoundTrip, StringsAreUtf8WithTheUnmappedByteKept) {
  std::string bytes;
  ASSERT_TRUE(Cp1251FromJsonText("Игра\xC2\x98", bytes));
  EXPECT_EQ(bytes, "\xC8\xE3\xF0\xE0\x98");
  EXPECT_EQ(JsonTextFromCp1251(bytes), "Игра\xC2\x98");
  EXPECT_FALSE(Cp1251FromJsonText("\xE2\x82\xAC\xE4\xB8\xAD", bytes)) << "a Chinese character has no byte";
}

TEST(KwDumpRoundTrip, BuiltFileLoadsIntoTheTree) {
  const std::string bytes = Build(HostileTree());
  TKwDB root;
  root.LoadFromData(bytes);
  EXPECT_EQ(root.Key, INT32_MIN);
  EXPECT_EQ(root.Vis, 0) << "256 keeps its low byte";
  EXPECT_EQ(root.SaveErr, 2);
  EXPECT_EQ(root.Tag, "last");
  auto* image = static_cast<TKwImage*>(root.FindByKey(3));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->ScaleMilli(), 1062);
  EXPECT_EQ(root.FindByKey(4), nullptr) << "a screen under a screen is not loaded";
}

TEST(KwBuild, UnknownNamesAreErrorsNamingTheElement) {
  json tree = HostileTree();
  tree["children"][0]["children"][0]["properties"]["Bogus"] = 1;
  std::string error = BuildError(tree);
  EXPECT_NE(error.find("Bogus"), std::string::npos) << error;
  EXPECT_NE(error.find("TKwImage"), std::string::npos) << error;
  EXPECT_NE(error.find("/0/0"), std::string::npos) << error;

  json badClass = {{"class", "TKwDB"}, {"children", {{{"class", "TKwScreenX"}, {"properties", {{"Id", "Menu"}}}}}}};
  error = BuildError(badClass);
  EXPECT_NE(error.find("TKwScreenX"), std::string::npos) << error;
  EXPECT_NE(error.find("\"Menu\""), std::string::npos) << error;

  EXPECT_NE(BuildError({{"class", "TKwDB"}, {"properties", {{"Key", "one"}}}}).find("Key"), std::string::npos);
  EXPECT_NE(BuildError({{"class", "TKwDB"}, {"properties", {{"Key", 1ll << 40}}}}).find("32 bits"), std::string::npos);
  EXPECT_NE(BuildError({{"class", "TKwDB"}, {"properties", {{"Id", "中"}}}}).find("Windows-1251"), std::string::npos);
}

TEST(KwBuild, ScriptsMayComeFromFilesBesideTheJson) {
  test::TTempFolder folder;
  folder.Write("scripts/init.pas", "ИМЯ := 1;\n");
  const json tree = {{"class", "TKwDB"}, {"properties", {{"exInit", {{"file", "scripts/init.pas"}}}}}};
  const std::string bytes = Build(tree, folder.Path());
  TKwDB root;
  root.LoadFromData(bytes);
  EXPECT_EQ(root.Script(esInit).Text, "\xC8\xCC\xDF := 1;\n");
  TGameRecord record;
  std::string error;
  const json missing = {{"class", "TKwDB"}, {"properties", {{"exInit", {{"file", "nope.pas"}}}}}};
  EXPECT_FALSE(GameRecordFromJson(missing, folder.Path(), record, error));
  EXPECT_NE(error.find("nope.pas"), std::string::npos);
}

TEST(KwTools, CommandLineRoundTrip) {
  const std::string bin = KW_BINARY_DIR;
  const std::string kwdump = bin + "/tools/kwdump/kwdump", kwbuild = bin + "/tools/kwbuild/kwbuild";
  if (!std::filesystem::exists(kwdump) || !std::filesystem::exists(kwbuild)) GTEST_SKIP() << "tools not built";
  test::TTempFolder folder;
  folder.Write("game.json", HostileTree().dump());
  const std::string f = folder.Path().string();
  ASSERT_EQ(std::system((kwbuild + " " + f + "/game.json " + f + "/a.kwf").c_str()), 0);
  ASSERT_EQ(std::system((kwdump + " " + f + "/a.kwf > " + f + "/a.json").c_str()), 0);
  ASSERT_EQ(std::system((kwbuild + " " + f + "/a.json " + f + "/b.kwf").c_str()), 0);
  EXPECT_EQ(test::TTempFolder::Read(folder / "a.kwf"), test::TTempFolder::Read(folder / "b.kwf"));
  folder.Write("bad.json", R"({"class": "TKwDB", "properties": {"Nope": 1}})");
  EXPECT_NE(std::system((kwbuild + " " + f + "/bad.json " + f + "/c.kwf 2>/dev/null").c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(folder / "c.kwf"));
}

}  // namespace
}  // namespace kw
