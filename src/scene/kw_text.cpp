#include "scene/kw_text.h"

#include "scene/class_registry.h"
#include "scene/colour_word.h"
#include "scene/prop_fields.h"

namespace kw {

TKwText::TKwText(TKwElement* parent) : TKwElement(parent) {}

TKwElement* TKwText::HitTest(int32_t layer, int32_t x, int32_t y, int32_t, uint8_t) {
  if (Vis ? !MousedVis : !MousedNotVis) return nullptr;
  if (layer != Order()) return nullptr;
  const int64_t left = X(), top = Y();
  return (left <= x && x <= left + SizeX && top <= y && y <= top + SizeY) ? this : nullptr;
}

namespace {

TKwText& Tx(TKwElement& e) { return static_cast<TKwText&>(e); }
const TKwText& Tx(const TKwElement& e) { return static_cast<const TKwText&>(e); }

template <uint32_t TKwText::*Word>
TPropValue GetTint(const TKwElement& e) { return int64_t(ColourTint(Tx(e).*Word)); }
template <uint32_t TKwText::*Word>
void SetTint(TKwElement& e, const TPropValue& v) { Tx(e).*Word = WithTint(Tx(e).*Word, uint32_t(PropInt(v))); }
template <uint32_t TKwText::*Word>
TPropValue GetOpacity(const TKwElement& e) { return int64_t(ColourOpacity(Tx(e).*Word)); }
template <uint32_t TKwText::*Word>
void SetOpacity(TKwElement& e, const TPropValue& v) { Tx(e).*Word = WithOpacity(Tx(e).*Word, uint32_t(PropInt(v))); }

const TPropInfo kTextProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwText, "hxDrawFx", UInt, hxDrawFx),
    {"hxColor1", TPropType::UInt, GetTint<&TKwText::Colour1>, SetTint<&TKwText::Colour1>},
    {"hxTrans1", TPropType::Byte, GetOpacity<&TKwText::Colour1>, SetOpacity<&TKwText::Colour1>},
    {"hxColor2", TPropType::UInt, GetTint<&TKwText::Colour2>, SetTint<&TKwText::Colour2>},
    {"hxTrans2", TPropType::Byte, GetOpacity<&TKwText::Colour2>, SetOpacity<&TKwText::Colour2>},
    KW_FIELD(TKwText, "MousedNotVis", Bool, MousedNotVis),
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
    KW_FIELD(TKwText, "MousedVis", Bool, MousedVis),
    KW_FIELD(TKwText, "NoMsKwDB", Bool, NoMsKwDB),
    KW_ORDER,
    KW_FIELD(TKwText, "rX", Real, rX),
    KW_FIELD(TKwText, "rY", Real, rY),
    KW_FIELD(TKwText, "SizeX", Int, SizeX),
    KW_FIELD(TKwText, "SizeY", Int, SizeY),
    KW_FIELD(TKwText, "Font", String, Font),
    KW_FIELD(TKwText, "PosHor", Enum, PosHor),
    KW_FIELD(TKwText, "PosVert", Enum, PosVert),
    KW_FIELD(TKwText, "TextId", String, TextId),
    KW_FIELD(TKwText, "AutoEnter", Bool, AutoEnter),
    KW_FIELD(TKwText, "EnEnter", Bool, EnEnter),
    KW_FIELD(TKwText, "AutoScale", Bool, AutoScale),
    KW_FIELD(TKwText, "Interval", Real, Interval),
    KW_FIELD(TKwText, "Text", String, Text),
    KW_FIELD(TKwText, "Scale", Real, Scale),
    KW_FIELD(TKwText, "Tag", String, Tag),
    KW_FIELD(TKwText, "NotSave", Bool, NotSave),
    KW_FIELD(TKwText, "hxShadColor", UInt, hxShadColor),
    KW_FIELD(TKwText, "Emboss", Bool, Emboss),
    KW_FIELD(TKwText, "Shadow", Bool, Shadow),
    KW_FIELD(TKwText, "Uni", Bool, Uni),
};
static_assert(std::size(kTextProps) == 44);

}  // namespace

TPropTable TextProperties() { return kTextProps; }

}  // namespace kw
