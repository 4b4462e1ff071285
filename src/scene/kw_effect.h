// The effect element: a particle system loaded from an effect file, drawn at
// the element's place.
#pragma once

#include "scene/element.h"

namespace kw {

class TKwEffect : public TKwElement {
 public:
  explicit TKwEffect(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Effect; }

  std::string EffectFN;
  double DAnim = 0;     // speed factor
  TBool8 Active = 0;
  uint32_t hxColor = 0xFFFFFF;
  TEventScript exStart;
};

}  // namespace kw
