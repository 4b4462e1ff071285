#include "scene/class_registry.h"

#include <algorithm>

#include "scene/kw_anim.h"
#include "scene/kw_db.h"
#include "scene/kw_effect.h"
#include "scene/kw_image.h"
#include "scene/kw_imlist.h"
#include "scene/kw_screen.h"
#include "scene/kw_shape.h"
#include "scene/kw_text.h"

namespace kw {

namespace {

using C = TKwClass;

template <class T>
TKwElement* Make(TKwElement* parent) {
  return new T(parent);
}
TKwElement* MakeRoot(TKwElement*) { return new TKwDB(); }

// Containment: the classes each class may be a child of.
constexpr TKwClass kNoParents[] = {C::DB};  // unused: the root has none (span of 0)
constexpr TKwClass kScreenParents[] = {C::DB};
constexpr TKwClass kAnimParents[] = {C::DB, C::Screen, C::Image, C::Shape};
constexpr TKwClass kImageParents[] = {C::Screen, C::Image, C::AnKey, C::Shape};
constexpr TKwClass kUnderVisuals[] = {C::Screen, C::Image, C::Shape};
constexpr TKwClass kAnKeyParents[] = {C::Anim};
constexpr TKwClass kTextParents[] = {C::Screen, C::Image, C::Text, C::Shape};

const TClassInfo* Registry() {
  static const TClassInfo registry[] = {
      {C::DB, "TKwDB", "TKWDB", DBProperties(), std::span(kNoParents, 0), MakeRoot},
      {C::Screen, "TKwScreen", "TKWSCREEN", ScreenProperties(), kScreenParents, Make<TKwScreen>},
      {C::Image, "TKwImage", "TKWIMAGE", ImageProperties(), kImageParents, Make<TKwImage>},
      {C::ExScreen, "TKwExScreen", "TKWEXSCREEN", ExScreenProperties(), kUnderVisuals, Make<TKwExScreen>},
      {C::Anim, "TKwAnim", "TKWANIM", AnimProperties(), kAnimParents, Make<TKwAnim>},
      {C::AnKey, "TKwAnKey", "TKWANKEY", AnKeyProperties(), kAnKeyParents, Make<TKwAnKey>},
      {C::ExAnim, "TKwExAnim", "TKWEXANIM", ExAnimProperties(), kUnderVisuals, Make<TKwExAnim>},
      {C::Effect, "TKwEffect", "TKWEFFECT", EffectProperties(), kUnderVisuals, Make<TKwEffect>},
      {C::ImList, "TKwImList", "TKWIMLIST", ImListProperties(), kUnderVisuals, Make<TKwImList>},
      {C::Shape, "TKwShape", "TKWSHAPE", ShapeProperties(), kUnderVisuals, Make<TKwShape>},
      {C::Text, "TKwText", "TKWTEXT", TextProperties(), kTextParents, Make<TKwText>},
  };
  return registry;
}

constexpr size_t kClassCount = 11;

}  // namespace

std::span<const TClassInfo> ClassRegistry() { return {Registry(), kClassCount}; }

const TClassInfo& ClassInfoOf(TKwClass id) {
  // The registry is in the order of TKwClass.
  return Registry()[std::min(size_t(id), kClassCount - 1)];
}

const TClassInfo* FindClassExact(std::string_view name) {
  for (const TClassInfo& info : ClassRegistry())
    if (name == info.Name) return &info;
  return nullptr;
}

bool MayBeChildOf(const TClassInfo& child, TKwClass parent) {
  return std::find(child.Parents.begin(), child.Parents.end(), parent) != child.Parents.end();
}

}  // namespace kw
