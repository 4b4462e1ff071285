// Built-in calls from scripts: the cost of one call through the table's
// validator (Copy, Inc), of Format and of FormatDateTime, each inside a
// counting loop. Each benchmark reports ns_per_pass (one pass of the loop,
// the loop's own cost included; Loop alone gives that).
#include <benchmark/benchmark.h>

#include <string>

#include "script/pascalc.h"
#include "scriptlib/general_library.h"

namespace {

constexpr int kPasses = 200000;

void RunScript(benchmark::State& state, const std::string& body) {
  kw::TPasCalc calc;
  kw::RegisterAllFunctions(calc);
  std::string tokens;
  calc.Prepare("I := 0; N := 0; S := ''; FOR I := 1 TO 200000 DO " + body, tokens);
  for (auto _ : state) {
    calc.Vars.Clear();
    if (!calc.Run(tokens)) state.SkipWithError(calc.ErrorMessage().c_str());
  }
  state.counters["ns_per_pass"] = benchmark::Counter(
      double(kPasses) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Loop(benchmark::State& state) { RunScript(state, "N := N + 1"); }
void CopyCall(benchmark::State& state) { RunScript(state, "S := Copy('abcdef', 2, 3)"); }
void IncCall(benchmark::State& state) { RunScript(state, "Inc(N)"); }
void FormatCall(benchmark::State& state) { RunScript(state, "S := Format('%d of %5.2f', I, 2.5)"); }
void FormatDateTimeCall(benchmark::State& state) {
  RunScript(state, "S := FormatDateTime('yyyy-mm-dd hh:nn:ss', 46381.5)");
}

BENCHMARK(Loop)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyCall)->Unit(benchmark::kMillisecond);
BENCHMARK(IncCall)->Unit(benchmark::kMillisecond);
BENCHMARK(FormatCall)->Unit(benchmark::kMillisecond);
BENCHMARK(FormatDateTimeCall)->Unit(benchmark::kMillisecond);

}  // namespace
