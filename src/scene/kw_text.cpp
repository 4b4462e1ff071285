// The text element's state: its properties, the writes that lay the text
// out again, the font lookup and the hit test. Layout and drawing live in
// kw_text_layout.cpp, kw_text_render.cpp and kw_text_system.cpp.
#include "scene/kw_text.h"

#include <type_traits>

#include "platform/device.h"
#include "scene/class_registry.h"
#include "scene/colour_word.h"
#include "scene/kw_db.h"
#include "scene/prop_fields.h"
#include "scene/shell_state.h"

namespace kw {

TKwText::TKwText(TKwElement* parent) : TKwElement(parent) {}

TKwDB* TKwText::GameRoot() const {
  TKwElement* root = Root();
  return IsClass(root, TKwClass::DB) ? static_cast<TKwDB*>(root) : nullptr;
}

TDevice* TKwText::Device() const {
  const TKwDB* root = GameRoot();
  return root ? root->Device : nullptr;
}

bool TKwText::UnicodeMode() const {
  const TKwDB* root = GameRoot();
  return root && root->UnicodeMode;
}

bool TKwText::DrawnBySystem() const { return UnicodeMode() && (Uni || Shell().EntryText == this); }

// The pointer is not kept: the device may reload its fonts, and the name
// finds the font as the device holds it now.
TFont* TKwText::FoundFont() const {
  if (!fontFound_) return nullptr;
  TDevice* device = Device();
  return device ? device->Fonts().Find(Font) : nullptr;
}

void TKwText::SetText(std::string value) { LayOut(std::move(value)); }

void TKwText::SetFont(std::string value) {
  Font = std::move(value);
  TDevice* device = Device();
  fontFound_ = device && device->Fonts().Find(Font);
  LayOut(Text);
}

void TKwText::SetSizeX(int32_t value) {
  SizeX = value;
  LayOut(Text);
}

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

// Properties whose writes lay the text out again: the field is read as
// stored, the write goes through the element's setter.
template <auto Member, auto Setter>
void SetLaidOut(TKwElement& e, const TPropValue& v) {
  using V = std::remove_cvref_t<decltype(Tx(e).*Member)>;
  V value{};
  props::FromValue(value, v);
  (Tx(e).*Setter)(std::move(value));
}
// Layout settings: stored as plain fields are, then the text laid out again.
template <auto Member>
void SetLayoutSetting(TKwElement& e, const TPropValue& v) {
  props::FromValue(Tx(e).*Member, v);
  Tx(e).LayOutAgain();
}
#define KW_TEXT_SETTING(Name, Type, member) \
  {Name, TPropType::Type, props::GetField<TKwText, &TKwText::member>, SetLayoutSetting<&TKwText::member>}
#define KW_TEXT_LAYOUT(Name, Type, member, setter) \
  {Name, TPropType::Type, props::GetField<TKwText, &TKwText::member>, SetLaidOut<&TKwText::member, &TKwText::setter>}

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
    KW_TEXT_LAYOUT("SizeX", Int, SizeX, SetSizeX),
    KW_FIELD(TKwText, "SizeY", Int, SizeY),
    KW_TEXT_LAYOUT("Font", String, Font, SetFont),
    KW_FIELD(TKwText, "PosHor", Enum, PosHor),
    KW_FIELD(TKwText, "PosVert", Enum, PosVert),
    KW_TEXT_SETTING("TextId", String, TextId),
    KW_TEXT_SETTING("AutoEnter", Bool, AutoEnter),
    KW_TEXT_SETTING("EnEnter", Bool, EnEnter),
    KW_TEXT_SETTING("AutoScale", Bool, AutoScale),
    KW_FIELD(TKwText, "Interval", Real, Interval),
    KW_TEXT_LAYOUT("Text", String, Text, SetText),
    KW_TEXT_SETTING("Scale", Real, Scale),
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
