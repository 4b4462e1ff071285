#include "scene/shell_state.h"

#include "media/kw_im.h"
#include "scene/element.h"
#include "scene/kw_text.h"
#include "script/script_context.h"

namespace kw {

TShellState& Shell() {
  // Never destroyed, so elements destroyed late at exit can still clear it.
  static TShellState* state = new TShellState;
  return *state;
}

void ResetShellState() {
  Shell() = TShellState{};
  ResetKwImages();
}

void ForgetElementReferences(const TKwElement* element) {
  TShellState& s = Shell();
  auto forget = [element](auto*& ref) {
    if (ref && static_cast<const TKwElement*>(ref) == element) ref = nullptr;
  };
  forget(s.CurrentScreen);
  forget(s.NextScreen);
  forget(s.CursorAt);
  forget(s.PressedElement);
  forget(s.CursorElement);
  forget(s.EntryText);
  TScriptContext& ctx = ScriptContext();
  const TScriptElement* gone = element;
  if (ctx.CurrentElement == gone) ctx.CurrentElement = nullptr;
  if (ctx.PreviousElement == gone) ctx.PreviousElement = nullptr;
}

}  // namespace kw
