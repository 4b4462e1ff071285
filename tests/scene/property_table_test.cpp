// The property tables: counts, names and types at the places the file
// format fixes, initial values, and setters with storage rules.
#include <gtest/gtest.h>

#include "scene/class_registry.h"
#include "scene/kw_db.h"
#include "scene/kw_image.h"
#include "scene/kw_imlist.h"
#include "scene/kw_text.h"
#include "scene/property_error.h"

namespace kw {
namespace {

TEST(PropertyTables, RegistryOrderAndCounts) {
  const struct {
    const char* name;
    size_t count;
  } expected[] = {{"TKwDB", 37},    {"TKwScreen", 23}, {"TKwImage", 38},  {"TKwExScreen", 23},
                  {"TKwAnim", 28},  {"TKwAnKey", 9},   {"TKwExAnim", 14}, {"TKwEffect", 18},
                  {"TKwImList", 25}, {"TKwShape", 33},  {"TKwText", 44}};
  const auto registry = ClassRegistry();
  ASSERT_EQ(registry.size(), std::size(expected));
  for (size_t i = 0; i < registry.size(); ++i) {
    EXPECT_STREQ(registry[i].Name, expected[i].name);
    EXPECT_EQ(registry[i].Properties.size(), expected[i].count) << expected[i].name;
    const char* base[] = {"Key", "Id", "X", "Y", "Vis"};
    for (size_t k = 0; k < 5; ++k) EXPECT_STREQ(registry[i].Properties[k].Name, base[k]);
  }
}

TEST(PropertyTables, NamesAndTypesAtFixedPlaces) {
  const struct {
    const char* cls;
    size_t index;
    const char* name;
    const char* code;
  } cases[] = {
      {"TKwDB", 14, "FileRS", "s"},       {"TKwDB", 16, "hxTransLev", "i8"},  {"TKwDB", 22, "IniFile", "s"},
      {"TKwDB", 36, "Tag", "s"},          {"TKwScreen", 8, "hxDrawFx", "u"},  {"TKwScreen", 22, "AutoInit", "b"},
      {"TKwExScreen", 5, "PosHor", "e"},  {"TKwExScreen", 22, "Processing", "b"},
      {"TKwImage", 9, "Scale", "dx"},     {"TKwImage", 28, "rX", "d"},        {"TKwImage", 31, "ScaleY", "dx"},
      {"TKwImage", 37, "NotSave", "b"},   {"TKwShape", 29, "ShapeType", "e"}, {"TKwShape", 32, "Par3", "d"},
      {"TKwText", 28, "Font", "s"},       {"TKwText", 43, "Uni", "b"},        {"TKwImList", 13, "Scale", "d"},
      {"TKwImList", 24, "exMouseDown", "s"}, {"TKwEffect", 17, "exStart", "s"}, {"TKwAnim", 22, "Angle", "dx"},
      {"TKwAnim", 27, "exProcess", "s"},  {"TKwAnKey", 5, "Count", "i16"},    {"TKwExAnim", 7, "obAnim", "i"},
  };
  for (const auto& c : cases) {
    const TClassInfo* info = FindClassExact(c.cls);
    ASSERT_NE(info, nullptr) << c.cls;
    ASSERT_LT(c.index, info->Properties.size());
    EXPECT_STREQ(info->Properties[c.index].Name, c.name) << c.cls << " " << c.index;
    EXPECT_STREQ(PropTypeCode(info->Properties[c.index].Type), c.code) << c.cls << "." << c.name;
  }
}

TPropValue Read(const TKwElement& e, const char* name) {
  const int k = FindProperty(e.Properties(), name);
  EXPECT_GE(k, 0) << name;
  return e.Properties()[size_t(k)].Get(e);
}

void Write(TKwElement& e, const char* name, TPropValue v) {
  const int k = FindProperty(e.Properties(), name);
  ASSERT_GE(k, 0) << name;
  e.Properties()[size_t(k)].Set(e, v);
}

TEST(PropertyTables, InitialValuesOfAnImage) {
  TKwDB root;
  TKwElement* image = root.CreateChild("TKwScreen")->CreateChild("TKwImage");
  EXPECT_EQ(PropInt(Read(*image, "Vis")), 1);
  EXPECT_EQ(PropInt(Read(*image, "MousedVis")), 1);
  EXPECT_EQ(PropInt(Read(*image, "hxDrawFx")), 0x504);
  EXPECT_EQ(PropInt(Read(*image, "hxColor")), 0xFFFFFF);
  EXPECT_EQ(PropInt(Read(*image, "hxTrans")), 255);
  EXPECT_EQ(PropReal(Read(*image, "Scale")), 1.0);
  EXPECT_EQ(PropReal(Read(*image, "ScaleX")), 1.0);
  EXPECT_EQ(PropInt(Read(*image, "Interpol")), 1);
  EXPECT_EQ(FindProperty(image->Properties(), "AutoInit"), -1) << "images do not publish AutoInit";
}

TEST(PropertyTables, OtherInitialValues) {
  TKwDB root;
  EXPECT_EQ(PropInt(Read(root, "Vis")), 0) << "the root is made without a parent";
  TKwElement* screen = root.CreateChild("TKwScreen");
  EXPECT_EQ(PropInt(Read(*screen, "hxDrawFx")), 1);
  EXPECT_EQ(PropInt(Read(*screen, "AutoInit")), 1);
  EXPECT_EQ(screen->MousedNotVis, 1);
  TKwElement* text = screen->CreateChild("TKwText");
  EXPECT_EQ(PropInt(Read(*text, "hxTrans1")), 255);
  EXPECT_EQ(PropInt(Read(*text, "hxTrans2")), 0);
  EXPECT_EQ(PropInt(Read(*text, "SizeX")), 100);
  EXPECT_EQ(PropReal(Read(*text, "Scale")), 1.0);
  TKwElement* list = screen->CreateChild("TKwImList");
  EXPECT_EQ(list->NoMsKwDB, 1);
  TKwElement* effect = screen->CreateChild("TKwEffect");
  EXPECT_EQ(PropInt(Read(*effect, "hxColor")), 0xFFFFFF);
  EXPECT_EQ(PropInt(Read(*screen->CreateChild("TKwExScreen"), "Processing")), 1);
  TKwElement* anim = screen->CreateChild("TKwAnim");
  EXPECT_EQ(anim->MousedNotVis, 1);
  EXPECT_EQ(PropInt(Read(*anim, "hxDrawFx")), 1);
}

TEST(PropertyTables, ColourHalvesAreWrittenApart) {
  TKwDB root;
  auto* image = static_cast<TKwImage*>(root.CreateChild("TKwScreen")->CreateChild("TKwImage"));
  Write(*image, "hxColor", int64_t(0x123456));
  EXPECT_EQ(image->Colour, 0xFF123456u);
  Write(*image, "hxTrans", int64_t(0x80));
  EXPECT_EQ(image->Colour, 0x80123456u);
  Write(*image, "hxColor", int64_t(0xFFABCDEF));  // only the tint bits are taken
  EXPECT_EQ(image->Colour, 0x80ABCDEFu);
  EXPECT_EQ(PropInt(Read(*image, "hxColor")), 0xABCDEF);
}

TEST(PropertyTables, ImageScaleIsKeptInThousandths) {
  TKwDB root;
  auto* image = static_cast<TKwImage*>(root.CreateChild("TKwScreen")->CreateChild("TKwImage"));
  const struct {
    double in, out;
  } cases[] = {{1.0625, 1.062}, {1.1875, 1.188}, {0.0005, 0.0}, {-2.5, -2.5}};
  for (const auto& c : cases) {
    Write(*image, "Scale", c.in);
    EXPECT_DOUBLE_EQ(PropReal(Read(*image, "Scale")), c.out) << c.in;
  }
  EXPECT_THROW(Write(*image, "Angle", 1e300), EPropertyValue);
  EXPECT_DOUBLE_EQ(image->Angle(), 0.0) << "a rejected value is not stored";
}

TEST(PropertyTables, BooleansKeepTheirByte) {
  TKwDB root;
  TKwElement* image = root.CreateChild("TKwScreen")->CreateChild("TKwImage");
  Write(*image, "Vis", NormaliseInteger(TPropType::Bool, -1));
  EXPECT_EQ(PropInt(Read(*image, "Vis")), 255);
  Write(*image, "Vis", NormaliseInteger(TPropType::Bool, 256));
  EXPECT_EQ(PropInt(Read(*image, "Vis")), 0);
}

TEST(PropertyTables, ImageListCellsFollowTheGrid) {
  TKwDB root;
  auto* list = static_cast<TKwImList*>(root.CreateChild("TKwScreen")->CreateChild("TKwImList"));
  Write(*list, "SizeX", int64_t(300));
  Write(*list, "Space", int64_t(10));
  Write(*list, "ColCount", int64_t(3));
  EXPECT_EQ(list->ElWidth, 0) << "no rows yet";
  Write(*list, "RowCount", int64_t(1));
  EXPECT_EQ(list->ElWidth, 93);
  Write(*list, "ElWidth", int64_t(5));
  EXPECT_EQ(list->ElWidth, 93) << "the cell size is derived";
  Write(*list, "ColCount", int64_t(INT32_MAX));
  EXPECT_EQ(list->ElWidth, 0) << "never negative";
}

TEST(PropertyTables, LookupIgnoresAsciiCase) {
  EXPECT_EQ(FindProperty(ImageProperties(), "IMIMAGE"), 5);
  EXPECT_EQ(FindProperty(ImageProperties(), "nosuch"), -1);
}

}  // namespace
}  // namespace kw
