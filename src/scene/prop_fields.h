// Building blocks for the property tables: getters and setters of plain
// fields and of event scripts, made from member pointers so that each table
// entry is one line.
#pragma once

#include <cmath>
#include <string>
#include <type_traits>

#include "scene/element.h"
#include "scene/property.h"

namespace kw::props {

template <class V>
TPropValue ToValue(const V& v) {
  if constexpr (std::is_same_v<V, std::string>) return v;
  else if constexpr (std::is_floating_point_v<V>) return double(v);
  else return int64_t(v);
}

template <class V>
void FromValue(V& field, const TPropValue& value) {
  if constexpr (std::is_same_v<V, std::string>) field = PropString(value);
  else if constexpr (std::is_floating_point_v<V>) field = V(PropReal(value));
  else field = V(PropInt(value));
}

// A plain field of class C.
template <class C, auto Member>
TPropValue GetField(const TKwElement& e) {
  return ToValue(static_cast<const C&>(e).*Member);
}
template <class C, auto Member>
void SetField(TKwElement& e, const TPropValue& value) {
  FromValue(static_cast<C&>(e).*Member, value);
}

// One of the twelve base event scripts.
template <TBaseScript Which>
TPropValue GetBaseScript(const TKwElement& e) { return e.Script(Which).Text; }
template <TBaseScript Which>
void SetBaseScript(TKwElement& e, const TPropValue& value) { e.Script(Which).Set(PropString(value)); }

// An event script field of class C (the class's own scripts).
template <class C, auto Member>
TPropValue GetScript(const TKwElement& e) { return (static_cast<const C&>(e).*Member).Text; }
template <class C, auto Member>
void SetScript(TKwElement& e, const TPropValue& value) { (static_cast<C&>(e).*Member).Set(PropString(value)); }

// The base properties every class starts with, and the base fields the
// kinds publish under the same names.
TPropValue GetKey(const TKwElement& e);
void SetKey(TKwElement& e, const TPropValue& v);
TPropValue GetId(const TKwElement& e);
void SetId(TKwElement& e, const TPropValue& v);
TPropValue GetX(const TKwElement& e);
void SetX(TKwElement& e, const TPropValue& v);
TPropValue GetY(const TKwElement& e);
void SetY(TKwElement& e, const TPropValue& v);
TPropValue GetVis(const TKwElement& e);
void SetVis(TKwElement& e, const TPropValue& v);
TPropValue GetOrder(const TKwElement& e);
void SetOrder(TKwElement& e, const TPropValue& v);

}  // namespace kw::props

// Table entry shorthands used by the class files.
#define KW_BASE_PROPS                                                   \
  {"Key", ::kw::TPropType::Int, ::kw::props::GetKey, ::kw::props::SetKey}, \
  {"Id", ::kw::TPropType::String, ::kw::props::GetId, ::kw::props::SetId}, \
  {"X", ::kw::TPropType::Int, ::kw::props::GetX, ::kw::props::SetX},       \
  {"Y", ::kw::TPropType::Int, ::kw::props::GetY, ::kw::props::SetY},       \
  {"Vis", ::kw::TPropType::Bool, ::kw::props::GetVis, ::kw::props::SetVis}
#define KW_FIELD(Cls, Name, Type, member) \
  {Name, ::kw::TPropType::Type, ::kw::props::GetField<Cls, &Cls::member>, ::kw::props::SetField<Cls, &Cls::member>}
#define KW_BASE_SCRIPT(Name, which) \
  {Name, ::kw::TPropType::String, ::kw::props::GetBaseScript<::kw::which>, ::kw::props::SetBaseScript<::kw::which>}
#define KW_SCRIPT(Cls, Name, member) \
  {Name, ::kw::TPropType::String, ::kw::props::GetScript<Cls, &Cls::member>, ::kw::props::SetScript<Cls, &Cls::member>}
#define KW_ORDER {"Order", ::kw::TPropType::Int, ::kw::props::GetOrder, ::kw::props::SetOrder}
