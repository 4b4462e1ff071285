// The game-file reader: values through their setters, child records, and
// every failure rule on hostile records.
#include <gtest/gtest.h>

#include <chrono>

#include "media/kw_store.h"
#include "scene/class_registry.h"
#include "scene/game_file.h"
#include "scene/kw_db.h"
#include "scene/kw_image.h"
#include "scene/kw_screen.h"
#include "scene/kw_text.h"
#include "support/game_file_builder.h"
#include "support/pack_writer.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using test::TRecordBuilder;

// A screen record with only the base properties, and children.
std::string Screen(int32_t key, std::string_view id, std::vector<std::string> children = {}) {
  TRecordBuilder r("TKwScreen", 5);
  r.Base(key, id);
  for (const std::string& c : children) r.Child(c);
  return r;
}

std::string Root(int32_t count, std::vector<std::string> children = {}) {
  TRecordBuilder r("TKwDB", count);
  if (count >= 5) r.Base(1, "Game");
  for (const std::string& c : children) r.Child(c);
  return r;
}

TEST(GameFile, CountZeroGivesAnEmptyRootWithConstructorValues) {
  TKwDB root;
  root.LoadFromData(TRecordBuilder("TKwDB", 0));
  EXPECT_EQ(root.Key, 0);
  EXPECT_EQ(root.Id, "");
  EXPECT_EQ(root.ChildCount(), 0u);
}

TEST(GameFile, ValuesAndChildrenInFileOrder) {
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "Menu"), Screen(3, "Room")}));
  EXPECT_EQ(root.Key, 1);
  EXPECT_EQ(root.Id, "Game");
  ASSERT_EQ(root.ChildCount(), 2u);
  EXPECT_EQ(root.Child(0)->Id, "Menu");
  EXPECT_EQ(root.Child(1)->Key, 3);
  EXPECT_EQ(root.Child(1)->Root(), &root);
}

TEST(GameFile, ImageWithOnlyTheBaseKeepsItsDefaults) {
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {TRecordBuilder("TKwImage", 5).Base(9, "Pic", 30, 40, 1)})}));
  auto* image = static_cast<TKwImage*>(root.FindByKey(9));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->X(), 30);
  EXPECT_EQ(image->Y(), 40);
  EXPECT_EQ(image->Colour, 0xFFFFFFFFu);
  EXPECT_EQ(image->hxDrawFx, 0x504u);
  EXPECT_EQ(image->ScaleMilli(), 1000);
}

TEST(GameFile, BooleansKeepTheLowByte) {
  const struct {
    int32_t stored;
    int expected;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {256, 0}, {257, 1}, {-1, 255}};
  for (const auto& c : cases) {
    TKwDB root;
    root.LoadFromData(TRecordBuilder("TKwDB", 5).Base(1, "G", 0, 0, c.stored));
    EXPECT_EQ(root.Vis, c.expected) << c.stored;
    EXPECT_EQ(root.Vis != 0, c.expected != 0) << c.stored;
  }
}

TEST(GameFile, ExtendedRealIsReadFromEightBytes) {
  // imImage, hxDrawFx, PosHor, PosVert, then Scale (dx) and Angle (dx).
  TRecordBuilder image("TKwImage", 12);
  image.Base(9, "Pic").Str("").Int(0x504).Int(1).Int(2).Real(1.5).Real(-30.25).Int(0x00ABCDEF);
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {image})}));
  auto* img = static_cast<TKwImage*>(root.FindByKey(9));
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->PosHor, phCenter);
  EXPECT_EQ(img->PosVert, pvBottom);
  EXPECT_DOUBLE_EQ(img->Scale(), 1.5);
  EXPECT_DOUBLE_EQ(img->Angle(), -30.25);
  EXPECT_EQ(img->Colour, 0xFFABCDEFu) << "a 10-byte read would have shifted hxColor";
}

TEST(GameFile, SurplusValuesAreTakenAsChildRecords) {
  // TKwAnKey has 9 properties; a count of 11 leaves two values, which the
  // reader takes as child records (an int32 count 0 is an empty record).
  TRecordBuilder key("TKwAnKey", 11);
  key.Base(5, "K").Int(4).Int(1).Int(0).Str("tag").Int(0).Int(0);
  TRecordBuilder anim("TKwAnim", 5);
  anim.Base(4, "A").Child(key);
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {anim}), Screen(3, "Next")}));
  auto* k = root.FindByKey(5);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->Tag, "tag");
  EXPECT_EQ(k->ChildCount(), 0u);
  EXPECT_NE(root.FindByKey(3), nullptr) << "the next sibling is still read";
}

TEST(GameFile, FewerValuesLeaveTheRestAtTheirDefaults) {
  TRecordBuilder text("TKwText", 7);
  text.Base(9, "T").Int(0x104).Int(0x112233);
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {text})}));
  auto* t = static_cast<TKwText*>(root.FindByKey(9));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->hxDrawFx, 0x104u);
  EXPECT_EQ(t->Colour1, 0xFF112233u);
  EXPECT_EQ(t->SizeX, 100);
}

TEST(GameFile, ChildUnderAWrongParentIsSkippedWithItsSubtree) {
  TRecordBuilder image("TKwImage", 5);
  image.Base(9, "Pic").Child(Screen(10, "Inner", {TRecordBuilder("TKwImage", 5).Base(11, "Deep")}));
  image.Child(TRecordBuilder("TKwShape", 5).Base(12, "Next"));
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {image, TRecordBuilder("TKwNothing", 0)}), Screen(3, "After")}));
  EXPECT_EQ(root.FindByKey(10), nullptr);
  EXPECT_EQ(root.FindByKey(11), nullptr);
  ASSERT_NE(root.FindByKey(12), nullptr);
  EXPECT_EQ(root.FindByKey(12)->Parent(), root.FindByKey(9));
  EXPECT_NE(root.FindByKey(3), nullptr);
}

TEST(GameFile, EmptyStringStillCallsTheSetter) {
  TKwDB root;
  root.Id = "before";
  root.LoadFromData(TRecordBuilder("TKwDB", 2).Int(1).Str(""));
  EXPECT_EQ(root.Id, "");
}

TEST(GameFile, RejectedValueEndsOnlyThatRecord) {
  // Scale 1e300 cannot be held in thousandths: the image keeps what came
  // before, loses the rest and its children; the sibling is read.
  TRecordBuilder image("TKwImage", 12);
  image.Base(9, "Pic").Str("pic.png").Int(0x104).Int(0).Int(0).Real(1e300).Real(45).Int(0x010203);
  image.Child(TRecordBuilder("TKwImage", 5).Base(10, "Child"));
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {image, TRecordBuilder("TKwShape", 5).Base(11, "Sib")})}));
  auto* img = static_cast<TKwImage*>(root.FindByKey(9));
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->imImage, "pic.png");
  EXPECT_EQ(img->hxDrawFx, 0x104u);
  EXPECT_DOUBLE_EQ(img->Angle(), 0.0);
  EXPECT_EQ(img->Colour, 0xFFFFFFFFu);
  EXPECT_EQ(root.FindByKey(10), nullptr);
  EXPECT_NE(root.FindByKey(11), nullptr);
}

TEST(GameFile, StringCountsPastTheEndOrNegativeStopTheRecord) {
  for (int32_t count : {-1, INT32_MIN, 1000, INT32_MAX}) {
    TKwDB root;
    root.LoadFromData(TRecordBuilder("TKwDB", 5).Int(7).Int(count).Bytes("abc"));
    EXPECT_EQ(root.Key, 7) << count;
    EXPECT_EQ(root.Id, "") << count;
  }
}

TEST(GameFile, EveryTruncationLoadsAPrefixAndNeverMore) {
  TRecordBuilder text("TKwText", 44);
  text.Base(9, "T");
  for (int i = 5; i < 44; ++i) {
    const TPropType t = TextProperties()[size_t(i)].Type;
    if (t == TPropType::String) text.Str("s" + std::to_string(i));
    else if (IsRealType(t)) text.Real(i);
    else text.Int(i);
  }
  const std::string full = Root(5, {Screen(2, "S", {text}), Screen(3, "Last")});
  TKwDB complete;
  complete.LoadFromData(full);
  ASSERT_NE(complete.FindByKey(3), nullptr);
  for (size_t cut = 0; cut < full.size(); ++cut) {
    TKwDB root;
    root.LoadFromData(std::string_view(full).substr(0, cut));
    EXPECT_EQ(root.FindByKey(3), nullptr) << "cut at " << cut;
    if (auto* t = static_cast<TKwText*>(root.FindByKey(9))) {
      EXPECT_TRUE(t->Text.empty() || t->Text == "s36") << "cut at " << cut;
    }
  }
}

TEST(GameFile, HugePropertyCountIsCutToTheClass) {
  TKwDB root;
  root.LoadFromData(TRecordBuilder("TKwDB", INT32_MAX).Base(1, "G"));
  EXPECT_EQ(root.Id, "G");
  TKwDB negative;
  negative.LoadFromData(TRecordBuilder("TKwDB", -5).Bytes(std::string(3, 'x')));
  EXPECT_EQ(negative.Key, 0);
}

TEST(GameFile, DeepNestingStopsAtTheLimitWithoutCrashing) {
  // Shapes nest in shapes: build far more levels than the reader follows.
  std::string record = TRecordBuilder("TKwShape", 5).Base(100000, "leaf");
  for (int depth = 0; depth < 20000; ++depth) record = TRecordBuilder("TKwShape", 0).Child(record);
  TKwDB root;
  root.LoadFromData(Root(5, {Screen(2, "S", {record}), Screen(3, "After")}));
  EXPECT_EQ(root.FindByKey(100000), nullptr);
  EXPECT_NE(root.FindByKey(3), nullptr);
  size_t depth = 0;
  for (const TKwElement* e = root.Child(0); e->ChildCount() > 0; e = e->Child(0)) ++depth;
  EXPECT_LE(depth, size_t(kMaxRecordNesting));
  EXPECT_GE(depth, size_t(kMaxRecordNesting) - 2);
}

TEST(GameFile, ChildClassNameComesFromByteZero) {
  EXPECT_EQ(ChildClassName(TRecordBuilder("TKwText", 0).Done()), "TKwText");
  EXPECT_EQ(ChildClassName(std::string("\x03\x00", 2)), "");
  EXPECT_EQ(ChildClassName(std::string("\x09\x00\x00\x00TKw", 7)), "TKw") << "cut at the record's end";
}

TEST(GameFile, LoadGameOfAMissingFileLeavesTheRootEmpty) {
  test::TTempFolder folder;
  test::TCurrentFolder here(folder.Path());
  TKwDB root;
  root.SetGameFileName("nothing.kwf");
  root.LoadGame();
  EXPECT_EQ(root.ChildCount(), 0u);
  EXPECT_EQ(root.Store(), nullptr);
}

TEST(GameFile, LoadGameReadsTheWholeFileAndNamesThePack) {
  test::TTempFolder folder;
  test::TCurrentFolder here(folder.Path());
  folder.Write("game.kwf", Root(5, {Screen(2, "Menu")}));
  TKwDB root;
  root.SetGameFileName("game.kwf");
  root.LoadGame();
  EXPECT_EQ(root.Id, "Game");
  ASSERT_EQ(root.ChildCount(), 1u);
  ASSERT_NE(root.Store(), nullptr);
  EXPECT_EQ(root.Store()->FileName(), "game.kst");
  EXPECT_FALSE(root.LoadingFile());
  EXPECT_EQ(TKwDB::PackNameFor("some\\folder\\demo.kwf"), "demo.kst");
  EXPECT_EQ(TKwDB::PackNameFor("ab"), ".kst");
}

TEST(GameFile, LoadGameOpensThePackNamedAfterTheGame) {
  test::TTempFolder folder;
  test::TCurrentFolder here(folder.Path());
  folder.Write("game.kwf", Root(5, {Screen(2, "Menu")}));
  folder.Write("game.kst", test::BuildPack({{"PIC.PNG", "data"}}));
  TKwDB root;
  root.SetGameFileName("game.kwf");
  root.LoadGame();
  ASSERT_NE(root.Store(), nullptr);
  EXPECT_TRUE(root.Store()->HasStream());
  EXPECT_GE(root.Store()->IndexOf("pic.png"), 0);
  EXPECT_EQ(root.ChildCount(), 1u);
}

TEST(GameFile, BrokenPackStillLoadsTheGame) {
  test::TTempFolder folder;
  test::TCurrentFolder here(folder.Path());
  folder.Write("game.kwf", Root(5, {Screen(2, "Menu")}));
  folder.Write("game.kst", "\xff\xff\xff\x7f broken");
  TKwDB root;
  root.SetGameFileName("game.kwf");
  root.LoadGame();
  EXPECT_EQ(root.ChildCount(), 1u);
  ASSERT_NE(root.Store(), nullptr);
  EXPECT_LT(root.Store()->IndexOf("anything"), 0);
}

}  // namespace
}  // namespace kw
