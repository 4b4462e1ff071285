#include "scene/kw_shape.h"

#include "scene/class_registry.h"
#include "scene/colour_word.h"
#include "scene/prop_fields.h"

namespace kw {

TKwShape::TKwShape(TKwElement* parent) : TKwElement(parent) {}

bool TKwShape::InBox(int32_t x, int32_t y) const {
  const int64_t left = X(), top = Y();
  return left <= x && x <= left + SizeX && top <= y && y <= top + SizeY;
}

TKwElement* TKwShape::HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag) {
  if (Vis ? !MousedVis : !MousedNotVis) return nullptr;
  if (TKwElement* hit = TKwElement::HitTest(layer, x, y, hitParam, hitFlag))
    return (!Crop || InBox(x, y)) ? hit : nullptr;
  return (layer == Order() && InBox(x, y)) ? this : nullptr;
}

namespace {

TKwShape& Sh(TKwElement& e) { return static_cast<TKwShape&>(e); }
const TKwShape& Sh(const TKwElement& e) { return static_cast<const TKwShape&>(e); }

const TPropInfo kShapeProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwShape, "hxDrawFx", UInt, hxDrawFx),
    {"hxColor", TPropType::UInt, [](const TKwElement& e) -> TPropValue { return int64_t(ColourTint(Sh(e).Colour)); },
     [](TKwElement& e, const TPropValue& v) { Sh(e).Colour = WithTint(Sh(e).Colour, uint32_t(PropInt(v))); }},
    {"hxTrans", TPropType::Byte, [](const TKwElement& e) -> TPropValue { return int64_t(ColourOpacity(Sh(e).Colour)); },
     [](TKwElement& e, const TPropValue& v) { Sh(e).Colour = WithOpacity(Sh(e).Colour, uint32_t(PropInt(v))); }},
    KW_FIELD(TKwShape, "MousedNotVis", Bool, MousedNotVis),
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
    KW_FIELD(TKwShape, "MousedVis", Bool, MousedVis),
    KW_FIELD(TKwShape, "NoMsKwDB", Bool, NoMsKwDB),
    KW_ORDER,
    KW_FIELD(TKwShape, "rX", Real, rX),
    KW_FIELD(TKwShape, "rY", Real, rY),
    KW_FIELD(TKwShape, "SizeX", Int, SizeX),
    KW_FIELD(TKwShape, "SizeY", Int, SizeY),
    KW_FIELD(TKwShape, "Tag", String, Tag),
    KW_FIELD(TKwShape, "NotSave", Bool, NotSave),
    KW_FIELD(TKwShape, "Crop", Bool, Crop),
    KW_FIELD(TKwShape, "ShapeType", Enum, ShapeType),
    KW_FIELD(TKwShape, "Par1", Real, Par1),
    KW_FIELD(TKwShape, "Par2", Real, Par2),
    KW_FIELD(TKwShape, "Par3", Real, Par3),
};
static_assert(std::size(kShapeProps) == 33);

}  // namespace

TPropTable ShapeProperties() { return kShapeProps; }

}  // namespace kw
