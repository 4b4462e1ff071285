#include "script/interpreter_pool.h"

#include "script/script_context.h"

namespace kw {

TInterpreterPool::TInterpreterPool() {
  for (auto& p : pool_) p = std::make_unique<TPasCalc>();
}

bool TInterpreterPool::EnterEvent() {
  if (depth_ >= kSize) {
    TScriptContext& ctx = ScriptContext();
    WriteErrorLogLine("Event runs nested deeper than " + std::to_string(kSize - 1) + " levels, event refused (in " +
                      DescribeElement(ctx.CurrentElement) + ") " + ctx.EventName);
    return false;
  }
  ++depth_;
  return true;
}

void TInterpreterPool::LeaveEvent() {
  if (depth_ > 1) --depth_;
}

void TInterpreterPool::ForEach(const std::function<void(TPasCalc&)>& fn) {
  for (auto& p : pool_) fn(*p);
}

TInterpreterPool& InterpreterPool() {
  static TInterpreterPool pool;
  return pool;
}

}  // namespace kw
