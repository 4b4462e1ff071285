// The general-purpose built-ins (text, conversion, date and time,
// arithmetic, variables and execution) and the registration of the library
// into interpreters.
#pragma once

#include <span>

#include "scriptlib/builtin_table.h"

namespace kw {

class TPasCalc;
class TInterpreterPool;

std::span<const TBuiltin> TextBuiltins();
std::span<const TBuiltin> DateBuiltins();
std::span<const TBuiltin> MathBuiltins();
std::span<const TBuiltin> VariableBuiltins();

// Every general function; engine rows are added to it by their own files.
TBuiltinLibrary GeneralLibrary();

// Registers the general functions into one interpreter, in registration
// order (what kwscript and tests use when no game engine is present).
void RegisterAllFunctions(TPasCalc& calc);
// The same into every interpreter of the pool, once at start-up.
void RegisterAllFunctions(TInterpreterPool& pool);
// Registers `library` (the general rows plus whatever engine rows the
// caller added) into every interpreter of the pool.
void RegisterLibrary(const TBuiltinLibrary& library, TInterpreterPool& pool);

}  // namespace kw
