// The one way an element's event script is prepared and run. Preparing
// turns a script text into its token string on the interpreter of the
// current nesting level (the pool's first entry while the game file is
// read); RunEvent runs such a token string on the interpreter of the next
// level with the element as SELF.
#pragma once

#include <string>
#include <string_view>

namespace kw {

class TKwElement;
class TVarList;

// The prepared (token string) form of a script text, made on
// CurrentInterpreter; empty for an empty text.
std::string PrepareEventScript(std::string_view text);

// Runs a prepared script of `element`:
//   1. ScriptDepth rises by one and that level's interpreter becomes
//      current (an event nested deeper than the pool is refused, logged);
//   2. the interpreter's variable table is emptied;
//   3. with a non-empty script: PreviousElement := CurrentElement,
//      CurrentElement := element, the script runs, and both get back the
//      values they had; the variables the run left are then added to
//      `table` (when given) with AddMissing, so names the table already
//      holds keep their values;
//   4. ScriptDepth falls again.
// A script that fails has logged its error; the event simply ends.
void RunEvent(TKwElement& element, const std::string& prepared, TVarList* table = nullptr);

}  // namespace kw
