// The pool of interpreters, one per nesting level of event runs. An event
// run takes the interpreter of the next level (its own variables), so an
// event raised from inside another event's script never disturbs the
// running one. The first entry serves scripts prepared while no event runs.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "script/pascalc.h"

namespace kw {

class TInterpreterPool {
 public:
  static constexpr int kSize = 10;

  TInterpreterPool();

  // 1 while no event runs; at most kSize during nested events.
  int ScriptDepth() const { return depth_; }
  TPasCalc& CurrentInterpreter() { return *pool_[size_t(depth_ - 1)]; }
  TPasCalc& Entry(int index) { return *pool_[size_t(index)]; }

  // Raises ScriptDepth for an event run and makes that level's interpreter
  // current. Refused (false, logged, nothing changed) when the pool has no
  // deeper entry: the event is then not run.
  bool EnterEvent();
  // Lowers ScriptDepth again after an EnterEvent that succeeded.
  void LeaveEvent();

  // Calls `fn` for every interpreter, in order (registration of built-ins).
  void ForEach(const std::function<void(TPasCalc&)>& fn);

 private:
  std::array<std::unique_ptr<TPasCalc>, kSize> pool_;
  int depth_ = 1;
};

// The process-wide pool (window thread only).
TInterpreterPool& InterpreterPool();

// Scoped EnterEvent / LeaveEvent: `Entered()` tells whether the event may run.
class TEventLevel {
 public:
  explicit TEventLevel(TInterpreterPool& pool) : pool_(pool), entered_(pool.EnterEvent()) {}
  ~TEventLevel() {
    if (entered_) pool_.LeaveEvent();
  }
  TEventLevel(const TEventLevel&) = delete;
  TEventLevel& operator=(const TEventLevel&) = delete;
  bool Entered() const { return entered_; }

 private:
  TInterpreterPool& pool_;
  bool entered_;
};

}  // namespace kw
