// The class registry: for each element class, in registry order, its name,
// its published properties in file order, and the classes it may be a child
// of. Filled at compile time; read by the game-file reader (CreateChild),
// the tools and, later, the scripting bridge and saving.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "scene/element.h"
#include "scene/property.h"

namespace kw {

struct TClassInfo {
  TKwClass Id;
  const char* Name;           // "TKwImage"
  const char* UpperName;      // "TKWIMAGE"
  TPropTable Properties;      // file order
  std::span<const TKwClass> Parents;  // classes it may be a child of
  // Constructs an element of this class. Under a parent, the parent's child
  // list owns it; without one (the root only) the caller does.
  TKwElement* (*Construct)(TKwElement* parent);
};

// Every class, in registry order: TKwDB, TKwScreen, TKwImage, TKwExScreen,
// TKwAnim, TKwAnKey, TKwExAnim, TKwEffect, TKwImList, TKwShape, TKwText.
std::span<const TClassInfo> ClassRegistry();
const TClassInfo& ClassInfoOf(TKwClass id);
// The entry whose name equals `name` exactly (case counts), or none.
const TClassInfo* FindClassExact(std::string_view name);
bool MayBeChildOf(const TClassInfo& child, TKwClass parent);

// The property tables, one per class (defined beside each class).
TPropTable DBProperties();
TPropTable ScreenProperties();
TPropTable ExScreenProperties();
TPropTable ImageProperties();
TPropTable ShapeProperties();
TPropTable TextProperties();
TPropTable ImListProperties();
TPropTable EffectProperties();
TPropTable AnimProperties();
TPropTable AnKeyProperties();
TPropTable ExAnimProperties();

}  // namespace kw
