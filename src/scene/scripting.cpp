#include "scene/scripting.h"

#include "script/interpreter_pool.h"
#include "scriptlib/general_library.h"
#include "scriptlib/script_clock.h"

namespace kw {

void StartScripting(uint64_t seed, const TClock* clock) {
  DestroyInterpreterPool();  // a fresh pool: no tables left from an earlier run
  RegisterAllFunctions(InterpreterPool());
  SeedRandom(seed);
  SetScriptClock(clock);
}

void StopScripting() {
  DestroyInterpreterPool();
  SetScriptClock(nullptr);
}

}  // namespace kw
