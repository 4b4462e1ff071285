// What the interpreter needs of a scene element. The scene's elements
// implement this; the interpreter never sees more of them. Paths such as
// KWDB.SCREEN1.BUTTON1.X are walked with these calls (see ReadPath and
// WritePath in var_list.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/script_value.h"

namespace kw {

class TScriptElement {
 public:
  virtual ~TScriptElement() = default;

  // The value the element offers under `name` (upper case in ASCII, as the
  // script wrote it): a variable of its own, a property, a child, a
  // computed name. False when the element has nothing of that name.
  virtual bool GetValue(const std::string& name, TValue& value) = 0;
  // Stores `value` under `name`; false when the element has no such value.
  // Never creates anything on the element.
  virtual bool SetValue(const std::string& name, const TValue& value) = 0;

  // The parent element, none above the root.
  virtual TScriptElement* ScriptParent() const = 0;
  // The element's handle: nonzero, the same for the element's whole life.
  virtual uint32_t ScriptHandle() const = 0;
  // Id and class name, for diagnostics ("Button1", "TKwImage").
  virtual std::string ScriptId() const = 0;
  virtual std::string ScriptClassName() const = 0;
};

}  // namespace kw
