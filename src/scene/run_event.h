// The one way an element's event script runs. The interpreter (script
// layer) completes these two functions: Prepare turns a script text into its
// token string when an event-script property is set, RunEvent runs such a
// token string with the element as SELF. Until the interpreter is wired in,
// no prepared form is made and RunEvent therefore runs nothing.
#pragma once

#include <string>
#include <string_view>

namespace kw {

class TKwElement;

// The prepared (token string) form of a script text; empty for an empty text.
std::string PrepareEventScript(std::string_view text);

// Runs a prepared script of `element`. An empty prepared text runs nothing.
void RunEvent(TKwElement& element, const std::string& prepared);

}  // namespace kw
