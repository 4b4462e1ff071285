#include "scene/kw_anim.h"

#include "scene/class_registry.h"
#include "scene/prop_fields.h"

namespace kw {

TKwAnim::TKwAnim(TKwElement* parent) : TKwElement(parent) { MousedNotVis = 1; }
TKwAnKey::TKwAnKey(TKwElement* parent) : TKwElement(parent) {}
TKwExAnim::TKwExAnim(TKwElement* parent) : TKwElement(parent) {}

namespace {

const TPropInfo kAnimProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwAnim, "ImBack", String, ImBack),
    KW_FIELD(TKwAnim, "SizeX", Int, SizeX),
    KW_FIELD(TKwAnim, "SizeY", Int, SizeY),
    KW_FIELD(TKwAnim, "hxDrawFx", UInt, hxDrawFx),
    KW_FIELD(TKwAnim, "Agro", Int, Agro),
    KW_FIELD(TKwAnim, "Modal", Bool, Modal),
    KW_FIELD(TKwAnim, "Pos", Int, Pos),
    KW_FIELD(TKwAnim, "Morph", Bool, Morph),
    KW_FIELD(TKwAnim, "Rep", Bool, Rep),
    KW_FIELD(TKwAnim, "ShowAn", Bool, ShowAn),
    KW_FIELD(TKwAnim, "Active", Bool, Active),
    KW_SCRIPT(TKwAnim, "exStop", exStop),
    KW_SCRIPT(TKwAnim, "exStart", exStart),
    KW_SCRIPT(TKwAnim, "exAnim", exAnim),
    KW_BASE_SCRIPT("exInit", esInit),
    KW_BASE_SCRIPT("exUpdate", esUpdate),
    KW_ORDER,
    KW_FIELD(TKwAnim, "Angle", Extended, Angle),
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_FIELD(TKwAnim, "Interpol", Bool, Interpol),
    KW_FIELD(TKwAnim, "Tag", String, Tag),
    KW_FIELD(TKwAnim, "NotSave", Bool, NotSave),
    KW_BASE_SCRIPT("exProcess", esProcess),
};
static_assert(std::size(kAnimProps) == 28);

const TPropInfo kAnKeyProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwAnKey, "Count", Word, Count),
    KW_FIELD(TKwAnKey, "Morph", Bool, Morph),
    KW_FIELD(TKwAnKey, "NotSave", Bool, NotSave),
    KW_FIELD(TKwAnKey, "Tag", String, Tag),
};
static_assert(std::size(kAnKeyProps) == 9);

const TPropInfo kExAnimProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwExAnim, "PosHor", Enum, PosHor),
    KW_FIELD(TKwExAnim, "PosVert", Enum, PosVert),
    KW_FIELD(TKwExAnim, "obAnim", Int, obAnim),
    KW_FIELD(TKwExAnim, "Pos", Int, Pos),
    KW_FIELD(TKwExAnim, "Rep", Bool, Rep),
    KW_FIELD(TKwExAnim, "Active", Bool, Active),
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_FIELD(TKwExAnim, "Tag", String, Tag),
    KW_FIELD(TKwExAnim, "NotSave", Bool, NotSave),
};
static_assert(std::size(kExAnimProps) == 14);

}  // namespace

TPropTable AnimProperties() { return kAnimProps; }
TPropTable AnKeyProperties() { return kAnKeyProps; }
TPropTable ExAnimProperties() { return kExAnimProps; }

}  // namespace kw
