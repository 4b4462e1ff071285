// TPasCalc, the script interpreter: its variable, function and procedure
// tables, preparation of script text (declarations, USES and INCLUDE),
// statements, expressions, procedure calls and the first-error record with
// its error-log line.
//
// Limits (each stops the script with an error instead of exhausting the
// stack): parentheses and prefix operators nested 128 deep in one
// expression; blocks, evaluations and calls nested 512 deep at run time
// across all interpreters; procedure calls nested 128 deep; USES and
// INCLUDE nested 16 files deep (a file that reaches itself is refused).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/compiled.h"
#include "script/func_list.h"
#include "script/var_list.h"

namespace kw {

enum class TPendingJump : uint8_t { None, Break, Continue, Exit, Goto };

// Error codes of the interpreter's own limits (the others are the
// language's: 1 to 29).
constexpr int kErrNesting = 27;
constexpr int kErrStepBudget = 30;

class TPasCalc {
 public:
  TPasCalc();
  ~TPasCalc();
  TPasCalc(const TPasCalc&) = delete;
  TPasCalc& operator=(const TPasCalc&) = delete;

  TVarList Vars;
  TFuncList Funcs;
  TProcList Procs;

  // The tables through trimmed, ASCII-upper-cased names.
  bool GetVariable(std::string_view name, TVar& record);
  bool SetVariable(std::string_view name, const TValue& value);
  bool RegisterFunction(std::string_view name, TScriptFunction entry);

  // Resets the run state, empties the procedure table and gives the
  // prepared body of `source` (declarations out, USES/INCLUDE read).
  void Prepare(const std::string& source, std::string& tokenString);
  // Runs a token string as a block; true when no error was recorded.
  bool Run(const std::string& tokenString);
  // Prepares and runs; the text's own procedures can be called.
  bool PrepareAndRun(const std::string& source);
  // Keeps the first error of a run and writes its error-log line. `text`
  // is a token string (written out as the excerpt).
  void ReportError(const std::string& message, const std::string& text, int code);

  int ErrorCode() const { return errorCode_; }
  const std::string& ErrorMessage() const { return errorMessage_; }
  const std::string& ErrorExcerpt() const { return errorExcerpt_; }
  int BlockDepth() const { return blockDepth_; }
  TPendingJump PendingJump() const { return pendingJump_; }

  // Evaluates a token string as one expression (for built-ins).
  bool EvaluateText(const std::string& tokenString, TValue& value);

  // Test-only: stops runs after this many statements and loop passes
  // (0: no budget), so arbitrary scripts can be run to completion.
  void SetStepBudgetForTesting(uint64_t steps) { stepBudget_ = steps; stepsLeft_ = steps; }

 private:
  friend class TExprParser;

  void ResetRunState();
  std::shared_ptr<TCompiledText> Compiled(const std::string& tokenString);
  void Report(int code, std::string message, TRange excerpt);
  bool EnterNesting(TRange excerpt) {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    if (runNesting_ == 0) stackBase_ = here;
    if (runNesting_ >= kMaxRunNesting || (stackBase_ > here && size_t(stackBase_ - here) > kMaxStackBytes))
      return NestingTooDeep(excerpt);
    ++runNesting_;
    return true;
  }
  void LeaveNesting() { --runNesting_; }
  bool NestingTooDeep(TRange excerpt);
  // Nesting of blocks and evaluations across every interpreter of the
  // process (event runs nest interpreters on one thread and one stack).
  static inline int runNesting_ = 0;
  static inline const char* stackBase_ = nullptr;
  static constexpr int kMaxRunNesting = 512;
  static constexpr size_t kMaxStackBytes = size_t(3) << 20;
  bool Step(TRange excerpt);

  // Preparation
  bool PrepareTokens(const std::string& tokenString, std::string& body, bool keepStatements);
  std::string TokenStringOf(const std::string& source);

  // Expressions
  bool Evaluate(TExprUnit& unit, TValue& out);
  bool EvaluateOrReport(TExprUnit& unit, TValue& out);
  void EvalNode(const TExprNode& n, TValue& out, TRange unit);
  void EvalName(const TExprNode& n, TValue& out, TRange unit);
  void EvalCall(const TExprNode& n, TValue& out, TRange unit);
  bool EvalGroups(const std::vector<TIndexGroup>& groups, std::string* texts, TRange unit);
  void ApplyBinary(uint8_t op, TValue& l, TValue& r, TValue& out, TRange unit);
  void ApplyPrefix(uint8_t op, TValue& v, TRange unit);
  bool CallProcedure(const TProcedure& proc, const std::vector<TCallArg>& args, TValue& out, TRange unit);
  void LanguageKey(TValue& v);

  // Statements
  void ExecBlock(TBlock& block);
  void ExecStmt(TStmt& s);
  void ExecAssign(TStmt& s);
  void ExecFor(TStmt& s);
  void ExecWhile(TStmt& s);
  void ExecRepeat(TStmt& s);
  void ExecCase(TStmt& s);
  bool CharAssign(const std::string& var, const std::string& index, const TValue& v, TRange excerpt);
  // Handles a jump after a loop body; true when the loop ends.
  bool LoopJumpEnds();

  int errorCode_ = 0;
  std::string errorMessage_, errorExcerpt_;
  int blockDepth_ = -1;
  TPendingJump pendingJump_ = TPendingJump::None;
  std::string gotoLabel_;
  std::string cacheSource_, cacheTokens_;
  std::unordered_map<std::string, std::shared_ptr<TCompiledText>> compiled_;
  std::vector<std::filesystem::path> fileStack_;
  std::vector<std::unique_ptr<TVarList>> snapshots_, asides_;
  int callDepth_ = 0;
  uint64_t stepBudget_ = 0, stepsLeft_ = 0;
};

}  // namespace kw
