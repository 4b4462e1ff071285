#include "scriptlib/general_library.h"

#include "script/interpreter_pool.h"
#include "script/pascalc.h"

namespace kw {

TBuiltinLibrary GeneralLibrary() {
  TBuiltinLibrary lib;
  lib.Add(TextBuiltins());
  lib.Add(DateBuiltins());
  lib.Add(MathBuiltins());
  lib.Add(VariableBuiltins());
  return lib;
}

void RegisterAllFunctions(TPasCalc& calc) { GeneralLibrary().RegisterInto(calc); }

void RegisterAllFunctions(TInterpreterPool& pool) { RegisterLibrary(GeneralLibrary(), pool); }

void RegisterLibrary(const TBuiltinLibrary& library, TInterpreterPool& pool) {
  pool.ForEach([&library](TPasCalc& calc) { library.RegisterInto(calc); });
}

}  // namespace kw
