#include "scene/kw_screen.h"

#include "scene/class_registry.h"
#include "scene/prop_fields.h"

namespace kw {

TKwScreen::TKwScreen(TKwElement* parent) : TKwElement(parent) { MousedNotVis = 1; }

TKwElement* TKwScreen::HitTest(int32_t layer, int32_t x, int32_t y, int32_t, uint8_t hitFlag) {
  TKwElement* hit = TKwElement::HitTest(layer, x, y, Agro, hitFlag);
  if (!hit && (Vis || MousedNotVis) && layer == Order() && Modal) return this;
  return hit;
}

TKwExScreen::TKwExScreen(TKwElement* parent) : TKwElement(parent) {}

namespace {

const TPropInfo kScreenProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwScreen, "ImBack", String, ImBack),
    KW_FIELD(TKwScreen, "SizeX", Int, SizeX),
    KW_FIELD(TKwScreen, "SizeY", Int, SizeY),
    KW_FIELD(TKwScreen, "hxDrawFx", UInt, hxDrawFx),
    KW_FIELD(TKwScreen, "Agro", Int, Agro),
    KW_FIELD(TKwScreen, "Modal", Bool, Modal),
    KW_BASE_SCRIPT("exInit", esInit),
    KW_BASE_SCRIPT("exAfterLoad", esAfterLoad),
    KW_BASE_SCRIPT("exUpdate", esUpdate),
    KW_BASE_SCRIPT("exProcess", esProcess),
    KW_ORDER,
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_BASE_SCRIPT("exShow", esShow),
    KW_FIELD(TKwScreen, "Tag", String, Tag),
    KW_FIELD(TKwScreen, "AllwaysLoad", Bool, AllwaysLoad),
    KW_FIELD(TKwScreen, "NotSave", Bool, NotSave),
    KW_BASE_SCRIPT("exRender", esRender),
    KW_FIELD(TKwScreen, "AutoInit", Bool, AutoInit),
};
static_assert(std::size(kScreenProps) == 23);

const TPropInfo kExScreenProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwExScreen, "PosHor", Enum, PosHor),
    KW_FIELD(TKwExScreen, "PosVert", Enum, PosVert),
    KW_FIELD(TKwExScreen, "obScreen", Int, obScreen),
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_BASE_SCRIPT("exInit", esInit),
    KW_BASE_SCRIPT("exAfterLoad", esAfterLoad),
    KW_BASE_SCRIPT("exMouseIn", esMouseIn),
    KW_BASE_SCRIPT("exMouseOut", esMouseOut),
    KW_BASE_SCRIPT("exMouseMove", esMouseMove),
    KW_BASE_SCRIPT("exMouseDown", esMouseDown),
    KW_BASE_SCRIPT("exMouseUp", esMouseUp),
    KW_BASE_SCRIPT("exUpdate", esUpdate),
    KW_BASE_SCRIPT("exProcess", esProcess),
    KW_FIELD(TKwExScreen, "Modal", Bool, Modal),
    KW_BASE_SCRIPT("exShow", esShow),
    KW_FIELD(TKwExScreen, "Tag", String, Tag),
    KW_FIELD(TKwExScreen, "NotSave", Bool, NotSave),
    KW_FIELD(TKwExScreen, "Processing", Bool, Processing),
};
static_assert(std::size(kExScreenProps) == 23);

}  // namespace

TPropTable ScreenProperties() { return kScreenProps; }
TPropTable ExScreenProperties() { return kExScreenProps; }

}  // namespace kw
