// The script interpreter side by side with Lua 5.4 on the same programs:
// a counting loop, a loop with a condition and string building, calls of a
// script function, and read-modify-writes of a path three elements deep.
// Each benchmark reports ns_per_pass (time of one pass of the program's loop).
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/script/test_element.h"
#include "script/pascalc.h"

#ifdef KW_HAVE_LUA
#include <lua.hpp>
#endif

namespace {

using kw::TPasCalc;

constexpr int kCountPasses = 10000000;
constexpr int kStringPasses = 200000;
constexpr int kCallPasses = 1000000;
constexpr int kPathPasses = 1000000;

const char* kCountScript = "I := 0; S := 0; FOR I := 1 TO 10000000 DO S := S + I";
const char* kStringScript =
    "I := 0; C := 0; S := ''; FOR I := 1 TO 200000 DO BEGIN "
    "IF C >= 20 THEN BEGIN S := ''; C := 0 END; "
    "IF I > 100000 THEN S := S + 'ab' ELSE S := S + 'cd'; C := C + 1 END";
const char* kCallScript =
    "FUNCTION INC1(V); BEGIN RESULT := V + 1 END; "
    "I := 0; N := 0; WHILE I < 1000000 DO BEGIN N := INC1(N); I := I + 1 END";
const char* kPathScript =
    "I := 0; FOR I := 1 TO 1000000 DO SCREEN1.BUTTON1.ICON.X := SCREEN1.BUTTON1.ICON.X + 1";

const char* kCountLua = "s = 0; for i = 1, 10000000 do s = s + i end";
const char* kStringLua =
    "c = 0; s = ''; for i = 1, 200000 do "
    "if c >= 20 then s = ''; c = 0 end; "
    "if i > 100000 then s = s .. 'ab' else s = s .. 'cd' end; c = c + 1 end";
const char* kCallLua =
    "function inc1(v) return v + 1 end; "
    "i = 0; n = 0; while i < 1000000 do n = inc1(n); i = i + 1 end";
const char* kPathLua =
    "screen1 = {button1 = {icon = {x = 0}}}; "
    "for i = 1, 1000000 do screen1.button1.icon.x = screen1.button1.icon.x + 1 end";

void PerPass(benchmark::State& state, int passes) {
  state.counters["ns_per_pass"] = benchmark::Counter(
      double(passes) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A script run as an event of the test tree's root (paths resolve from it).
void RunScript(benchmark::State& state, const char* script, int passes, bool exec) {
  kw::test::TTestTree tree;
  kw::ScriptContext().CurrentElement = &tree.root;
  TPasCalc calc;
  std::string tokens;
  calc.Prepare(script, tokens);
  for (auto _ : state) {
    calc.Vars.Clear();
    bool ok = exec ? calc.PrepareAndRun(script) : calc.Run(tokens);
    if (!ok) state.SkipWithError(calc.ErrorMessage().c_str());
  }
  kw::ScriptContext().CurrentElement = nullptr;
  PerPass(state, passes);
}

void BM_Script_CountingLoop(benchmark::State& s) { RunScript(s, kCountScript, kCountPasses, false); }
void BM_Script_ConditionAndStrings(benchmark::State& s) { RunScript(s, kStringScript, kStringPasses, false); }
void BM_Script_FunctionCalls(benchmark::State& s) { RunScript(s, kCallScript, kCallPasses, true); }
void BM_Script_ElementPath(benchmark::State& s) { RunScript(s, kPathScript, kPathPasses, false); }
BENCHMARK(BM_Script_CountingLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Script_ConditionAndStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Script_FunctionCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Script_ElementPath)->Unit(benchmark::kMillisecond);

#ifdef KW_HAVE_LUA
void RunLua(benchmark::State& state, const char* chunk, int passes) {
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  if (luaL_loadstring(L, chunk) != LUA_OK) {
    state.SkipWithError(lua_tostring(L, -1));
    lua_close(L);
    return;
  }
  for (auto _ : state) {
    lua_pushvalue(L, -1);
    if (lua_pcall(L, 0, 0, 0) != LUA_OK) {
      state.SkipWithError(lua_tostring(L, -1));
      break;
    }
  }
  lua_close(L);
  PerPass(state, passes);
}

void BM_Lua_CountingLoop(benchmark::State& s) { RunLua(s, kCountLua, kCountPasses); }
void BM_Lua_ConditionAndStrings(benchmark::State& s) { RunLua(s, kStringLua, kStringPasses); }
void BM_Lua_FunctionCalls(benchmark::State& s) { RunLua(s, kCallLua, kCallPasses); }
void BM_Lua_ElementPath(benchmark::State& s) { RunLua(s, kPathLua, kPathPasses); }
BENCHMARK(BM_Lua_CountingLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua_ConditionAndStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua_FunctionCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua_ElementPath)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
