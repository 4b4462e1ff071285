#include "scene/run_event.h"

#include "scene/element.h"
#include "script/interpreter_pool.h"
#include "script/script_context.h"

namespace kw {

std::string PrepareEventScript(std::string_view text) {
  std::string tokens;
  if (text.empty()) return tokens;
  InterpreterPool().CurrentInterpreter().Prepare(std::string(text), tokens);
  return tokens;
}

namespace {

// CurrentElement and PreviousElement for the length of one run, restored
// however the run ends.
class TCurrentElementScope {
 public:
  explicit TCurrentElementScope(TScriptElement& element)
      : ctx_(ScriptContext()), current_(ctx_.CurrentElement), previous_(ctx_.PreviousElement) {
    ctx_.PreviousElement = ctx_.CurrentElement;
    ctx_.CurrentElement = &element;
  }
  ~TCurrentElementScope() {
    ctx_.CurrentElement = current_;
    ctx_.PreviousElement = previous_;
  }
  TCurrentElementScope(const TCurrentElementScope&) = delete;
  TCurrentElementScope& operator=(const TCurrentElementScope&) = delete;

 private:
  TScriptContext& ctx_;
  TScriptElement* current_;
  TScriptElement* previous_;
};

}  // namespace

void RunEvent(TKwElement& element, const std::string& prepared, TVarList* table) {
  TInterpreterPool& pool = InterpreterPool();
  TEventLevel level(pool);
  if (!level.Entered()) return;
  TPasCalc& calc = pool.CurrentInterpreter();
  calc.Vars.Clear();
  if (prepared.empty()) return;
  {
    TCurrentElementScope scope(element);
    calc.Run(prepared);
  }
  if (!table) return;
  for (int i = 0; i < calc.Vars.Count(); ++i) table->AddMissing(calc.Vars[i]);
}

}  // namespace kw
