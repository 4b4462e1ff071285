#include "scene/kw_effect.h"

#include "scene/class_registry.h"
#include "scene/prop_fields.h"

namespace kw {

TKwEffect::TKwEffect(TKwElement* parent) : TKwElement(parent) {}

namespace {

const TPropInfo kEffectProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwEffect, "EffectFN", String, EffectFN),
    KW_FIELD(TKwEffect, "DAnim", Real, DAnim),
    KW_FIELD(TKwEffect, "Active", Bool, Active),
    KW_BASE_SCRIPT("exInit", esInit),
    KW_BASE_SCRIPT("exAfterLoad", esAfterLoad),
    KW_BASE_SCRIPT("exUpdate", esUpdate),
    KW_BASE_SCRIPT("exProcess", esProcess),
    KW_FIELD(TKwEffect, "hxColor", UInt, hxColor),
    KW_ORDER,
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_FIELD(TKwEffect, "Tag", String, Tag),
    KW_FIELD(TKwEffect, "NotSave", Bool, NotSave),
    KW_SCRIPT(TKwEffect, "exStart", exStart),
};
static_assert(std::size(kEffectProps) == 18);

}  // namespace

TPropTable EffectProperties() { return kEffectProps; }

}  // namespace kw
