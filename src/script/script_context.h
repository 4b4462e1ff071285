// The process-wide scripting state shared by the interpreters, the scene and
// the built-ins: which element's script runs, the event's name, the strict
// path switch, and the hooks through which the interpreter reaches the
// game's root (language texts, the SaveErr switch, element handles). The
// scene fills the hooks when a game is loaded; until then language keys
// look up nothing, no element handle resolves and the error log is off.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "script/script_element.h"

namespace kw {

struct TScriptContext {
  // The element whose event script runs (SELF), none when no event runs.
  TScriptElement* CurrentElement = nullptr;
  // The element that was current when the running event began (PREEXKWE).
  TScriptElement* PreviousElement = nullptr;
  // Name of the running event, used only in diagnostics.
  std::string EventName;
  // On only while the built-ins GetVar and Exec run: an unresolved last
  // path segment fails the read instead of reading the byte 0.
  bool StrictPaths = false;

  // The game's root element (the segment "KWDB" of a path), none before a
  // game is loaded.
  TScriptElement* Root = nullptr;
  // The live element of a handle, none for 0 or an unknown handle.
  std::function<TScriptElement*(uint32_t)> ElementByHandle;
  // The text of a language key (without its double quotes); empty when the
  // language has no entry.
  std::function<std::string(const std::string&)> LookupText;
  // The root's SaveErr switch: error-log lines are written only while on.
  std::function<bool()> SaveErr;
  // Called with every error-log line (without its CR LF) whether or not it
  // is written to the file; kwscript --log copies them to stderr.
  std::function<void(const std::string&)> OnLogLine;

  TScriptElement* FindElement(uint32_t handle) const {
    if (handle == 0 || !ElementByHandle) return nullptr;
    return ElementByHandle(handle);
  }
};

// The one context of the process (window thread only).
TScriptContext& ScriptContext();

// Appends one line, ended by CR LF, to "nimbrel.err" in the current folder
// when SaveErr is on; hands the line to OnLogLine in any case. A log that
// cannot be opened or created is skipped quietly.
void WriteErrorLogLine(const std::string& line);

// " (in Id <Class>" ... the element part of diagnostics and error lines:
// "Id <Class>" for an element, empty for none.
std::string DescribeElement(const TScriptElement* element);

}  // namespace kw
