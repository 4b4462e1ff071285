#include "scene/kw_image.h"

#include <cmath>

#include "scene/class_registry.h"
#include "scene/colour_word.h"
#include "scene/prop_fields.h"
#include "scene/property_error.h"

namespace kw {

int32_t ToThousandths(double value) {
  const double scaled = std::nearbyint(value * 1000.0);
  if (!std::isfinite(scaled) || scaled > 2147483647.0 || scaled < -2147483648.0)
    throw EPropertyValue("value out of range");
  return int32_t(scaled);
}

TKwImage::TKwImage(TKwElement* parent) : TKwElement(parent) {}

void TKwImage::SetScale(double value) { scaleMilli_ = ToThousandths(value); }
void TKwImage::SetAngle(double value) { angleMilli_ = ToThousandths(value); }

namespace {

TKwImage& Img(TKwElement& e) { return static_cast<TKwImage&>(e); }
const TKwImage& Img(const TKwElement& e) { return static_cast<const TKwImage&>(e); }

const TPropInfo kImageProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwImage, "imImage", String, imImage),
    KW_FIELD(TKwImage, "hxDrawFx", UInt, hxDrawFx),
    KW_FIELD(TKwImage, "PosHor", Enum, PosHor),
    KW_FIELD(TKwImage, "PosVert", Enum, PosVert),
    {"Scale", TPropType::Extended, [](const TKwElement& e) -> TPropValue { return Img(e).Scale(); },
     [](TKwElement& e, const TPropValue& v) { Img(e).SetScale(PropReal(v)); }},
    {"Angle", TPropType::Extended, [](const TKwElement& e) -> TPropValue { return Img(e).Angle(); },
     [](TKwElement& e, const TPropValue& v) { Img(e).SetAngle(PropReal(v)); }},
    {"hxColor", TPropType::UInt, [](const TKwElement& e) -> TPropValue { return int64_t(ColourTint(Img(e).Colour)); },
     [](TKwElement& e, const TPropValue& v) { Img(e).Colour = WithTint(Img(e).Colour, uint32_t(PropInt(v))); }},
    {"hxTrans", TPropType::Byte, [](const TKwElement& e) -> TPropValue { return int64_t(ColourOpacity(Img(e).Colour)); },
     [](TKwElement& e, const TPropValue& v) { Img(e).Colour = WithOpacity(Img(e).Colour, uint32_t(PropInt(v))); }},
    KW_FIELD(TKwImage, "MousedNotVis", Bool, MousedNotVis),
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
    KW_FIELD(TKwImage, "MousedVis", Bool, MousedVis),
    KW_FIELD(TKwImage, "Anim", Int, Anim),
    KW_FIELD(TKwImage, "NoMsKwDB", Bool, NoMsKwDB),
    KW_ORDER,
    KW_FIELD(TKwImage, "rX", Real, rX),
    KW_FIELD(TKwImage, "rY", Real, rY),
    KW_FIELD(TKwImage, "ScaleX", Extended, ScaleX),
    KW_FIELD(TKwImage, "ScaleY", Extended, ScaleY),
    KW_FIELD(TKwImage, "Interpol", Bool, Interpol),
    KW_FIELD(TKwImage, "InterpolSc", Bool, InterpolSc),
    KW_FIELD(TKwImage, "MsKeep", Bool, MsKeep),
    KW_FIELD(TKwImage, "Tag", String, Tag),
    KW_FIELD(TKwImage, "TextId", String, TextId),
    KW_FIELD(TKwImage, "NotSave", Bool, NotSave),
};
static_assert(std::size(kImageProps) == 38);

}  // namespace

TPropTable ImageProperties() { return kImageProps; }

}  // namespace kw
