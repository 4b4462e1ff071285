#include "scene/run_event.h"

namespace kw {

std::string PrepareEventScript(std::string_view) {
  // The tokeniser of the script layer makes the prepared form; the scripting
  // bridge installs it here. Without it a script has no prepared form.
  return {};
}

void RunEvent(TKwElement&, const std::string& prepared) {
  if (prepared.empty()) return;
  // Runs through the interpreter pool once the scripting bridge is wired.
}

}  // namespace kw
