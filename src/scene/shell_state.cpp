#include "scene/shell_state.h"

#include "scene/element.h"
#include "scene/kw_text.h"

namespace kw {

TShellState& Shell() {
  // Never destroyed, so elements destroyed late at exit can still clear it.
  static TShellState* state = new TShellState;
  return *state;
}

void ResetShellState() { Shell() = TShellState{}; }

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
}

}  // namespace kw
