#include "script/pascalc.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/files.h"
#include "script/script_context.h"
#include "script/statements.h"

namespace kw {

namespace {

constexpr int kMaxProcedureNesting = 128;
constexpr size_t kMaxCachedTexts = 4096;

std::string TrimUpper(std::string_view name) {
  size_t b = 0, e = name.size();
  while (b < e && static_cast<unsigned char>(name[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(name[e - 1]) <= ' ') --e;
  return AsciiUpperCase(name.substr(b, e - b));
}

const char* JumpName(TPendingJump j) {
  switch (j) {
    case TPendingJump::Break: return "BREAK";
    case TPendingJump::Continue: return "CONTINUE";
    case TPendingJump::Exit: return "EXIT";
    case TPendingJump::Goto: return "GOTO";
    default: return "";
  }
}

// Orders two values of the same string-ness (CASE ranges).
int CompareSameKind(const TValue& a, const TValue& b) {
  if (a.IsString()) return a.s.compare(b.s) < 0 ? -1 : a.s == b.s ? 0 : 1;
  double x = 0, y = 0;
  a.ToFloat(x);
  b.ToFloat(y);
  return x < y ? -1 : x > y ? 1 : 0;
}

}  // namespace

TPasCalc::TPasCalc() = default;
TPasCalc::~TPasCalc() = default;

bool TPasCalc::GetVariable(std::string_view name, TVar& record) { return Vars.Get(TrimUpper(name), record); }

bool TPasCalc::SetVariable(std::string_view name, const TValue& value) {
  return Vars.PutExisting(TrimUpper(name), value);
}

bool TPasCalc::RegisterFunction(std::string_view name, TScriptFunction entry) {
  size_t b = 0, e = name.size();
  while (b < e && static_cast<unsigned char>(name[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(name[e - 1]) <= ' ') --e;
  std::string_view trimmed = name.substr(b, e - b);
  std::string upper = AsciiUpperCase(trimmed);
  if (Funcs.IndexOf(upper) >= 0) {
    Funcs.Set(upper, std::move(entry));
    return true;
  }
  if (!entry || !IsValidVarName(trimmed)) return false;
  Funcs.Set(upper, std::move(entry));
  return true;
}

void TPasCalc::ResetRunState() {
  errorCode_ = 0;
  errorMessage_.clear();
  errorExcerpt_.clear();
  pendingJump_ = TPendingJump::None;
  gotoLabel_.clear();
  blockDepth_ = -1;
}

void TPasCalc::Report(int code, std::string message, TRange excerpt) {
  if (errorCode_ != 0) return;
  errorCode_ = code;
  errorMessage_ = std::move(message);
  errorExcerpt_ = WriteOut(excerpt.b, excerpt.e);
  TScriptContext& ctx = ScriptContext();
  std::string line = errorMessage_ + " (" + errorExcerpt_ + " in " + DescribeElement(ctx.CurrentElement) + ") " +
                     ctx.EventName;
  WriteErrorLogLine(line);
}

void TPasCalc::ReportError(const std::string& message, const std::string& text, int code) {
  std::vector<TToken> tokens = DecodeTokenString(text);
  Report(code, message, {tokens.data(), tokens.data() + tokens.size()});
}

bool TPasCalc::NestingTooDeep(TRange excerpt) {
  Report(kErrNesting, "Script nested too deeply", excerpt);
  return false;
}

bool TPasCalc::Step(TRange excerpt) {
  if (stepBudget_ == 0) return true;
  if (stepsLeft_ == 0) {
    Report(kErrStepBudget, "Step budget exhausted", excerpt);
    return false;
  }
  --stepsLeft_;
  return true;
}

std::shared_ptr<TCompiledText> TPasCalc::Compiled(const std::string& tokenString) {
  auto it = compiled_.find(tokenString);
  if (it != compiled_.end()) return it->second;
  if (compiled_.size() >= kMaxCachedTexts) compiled_.clear();  // running texts stay alive through their holders
  auto c = std::make_shared<TCompiledText>();
  c->tokenString = tokenString;
  c->tokens = DecodeTokenString(c->tokenString);
  TRange all{c->tokens.data(), c->tokens.data() + c->tokens.size()};
  c->block.range = all;
  c->unit.range = all;
  compiled_.emplace(tokenString, c);
  return c;
}

bool TPasCalc::EvaluateText(const std::string& tokenString, TValue& value) {
  std::shared_ptr<TCompiledText> c = Compiled(tokenString);
  return Evaluate(c->unit, value);
}

// ---------------------------------------------------------------------------
// Preparation

std::string TPasCalc::TokenStringOf(const std::string& source) {
  if (source.find(kTokenMark) != std::string::npos) return source;
  if (source == cacheSource_ && !cacheTokens_.empty()) return cacheTokens_;
  cacheTokens_ = MakeTokenString(source);
  cacheSource_ = source;
  return cacheTokens_;
}

// Reads the top-level statements of a token string: declarations join the
// procedure table, USES and INCLUDE read their files, the other statements
// (when kept) are appended to `body`, each followed by ";".
bool TPasCalc::PrepareTokens(const std::string& tokenString, std::string& body, bool keepStatements) {
  std::shared_ptr<TCompiledText> c = Compiled(tokenString);
  const TToken* p = c->tokens.data();
  const TToken* end = p + c->tokens.size();
  for (;;) {
    TStatementRead r = ReadStatement(p, end, false);
    if (r.error) {
      Report(r.error, ReaderErrorText(r.error), r.stmt);
      return false;
    }
    if (r.stmt.Empty()) return true;
    p = r.next;
    const TToken* b = r.stmt.b;
    const TToken* e = r.stmt.e;
    if (b->kind == tkProcedure || b->kind == tkFunction) {
      if (e - b < 2 || b[1].kind != tkIdent) {
        Report(4, "Invalid procedure name", r.stmt);
        return false;
      }
      TProcedure proc;
      proc.Name.assign(b[1].text);
      proc.IsFunction = b->kind == tkFunction;
      if (Procs.IndexOf(proc.Name) >= 0) {
        Report(24, "Duplicate procedure name", r.stmt);
        return false;
      }
      if (e - b < 3 || b[2].kind != tkLParen) {
        Report(2, "( expected", r.stmt);
        return false;
      }
      const TToken* q = b + 3;
      bool closed = false;
      if (q < e && q->kind == tkRParen) {
        closed = true;
      } else {
        while (q < e && q->kind == tkIdent) {
          proc.ParamList.emplace_back(q->text);
          ++q;
          if (q < e && q->kind == tkRParen) { closed = true; break; }
          if (q < e && q->kind == tkComma) {
            ++q;
            if (q < e && q->kind == tkRParen) { closed = true; break; }
            continue;
          }
          break;
        }
      }
      if (!closed) {
        Report(7, "Invalid function call", r.stmt);
        return false;
      }
      for (size_t i = 0; i < proc.ParamList.size(); ++i) {
        if (i) proc.Params += "\r\n";
        proc.Params += proc.ParamList[i];
      }
      TStatementRead bodyRead = ReadStatement(p, end, false);
      if (bodyRead.error) {
        Report(bodyRead.error, ReaderErrorText(bodyRead.error), bodyRead.stmt);
        return false;
      }
      proc.Body = ToTokenString(bodyRead.stmt.b, bodyRead.stmt.e);
      p = bodyRead.next;
      Procs.Add(proc);
      continue;
    }
    if (b->kind == tkUses || b->kind == tkInclude) {
      bool include = b->kind == tkInclude;
      std::string keyword = TokenTableText(b->kind);
      std::string restText = ToTokenString(b + 1, e);
      TExprUnit unit;
      unit.range = {b + 1, e};
      TValue nameValue;
      if (!Evaluate(unit, nameValue)) {
        Report(1, "Invalid filename \"" + restText + "\" in " + keyword + " statement", r.stmt);
        return false;
      }
      std::string fileName = nameValue.ToString();
      std::optional<fs::path> file = ResolveGamePath(fileName);
      std::string text;
      if (!file) {
        Report(25, "Can't open file \"" + restText + "\", error code 2", r.stmt);
        return false;
      }
      std::error_code ec;
      fs::path canonical = fs::weakly_canonical(*file, ec);
      if (ec) canonical = *file;
      if (std::find(fileStack_.begin(), fileStack_.end(), canonical) != fileStack_.end() ||
          fileStack_.size() >= 16) {
        Report(25, "Recursive " + keyword + " of file \"" + restText + "\"", r.stmt);
        return false;
      }
      if (!ReadWholeFile(*file, text, uint64_t(64) << 20)) {
        Report(25, "Can't open file \"" + restText + "\", error code 5", r.stmt);
        return false;
      }
      fileStack_.push_back(canonical);
      bool ok = PrepareTokens(MakeTokenString(text), body, keepStatements && include);
      fileStack_.pop_back();
      if (!ok) return false;
      continue;
    }
    if (keepStatements) {
      body += ToTokenString(b, e);
      AppendToken(body, tkSemicolon, ";");
    }
  }
}

void TPasCalc::Prepare(const std::string& source, std::string& tokenString) {
  int outerDepth = blockDepth_;
  ResetRunState();
  Procs.Clear();
  tokenString.clear();
  std::string ts = TokenStringOf(source);
  PrepareTokens(ts, tokenString, true);
  // Preparing from inside a running script (a script that writes an event
  // property) leaves the running blocks' depth as it was.
  if (outerDepth >= 0) blockDepth_ = outerDepth;
}

bool TPasCalc::Run(const std::string& tokenString) {
  int outerDepth = blockDepth_;
  ResetRunState();
  Procs.Clear();
  std::shared_ptr<TCompiledText> c = Compiled(tokenString);
  ExecBlock(c->block);
  pendingJump_ = TPendingJump::None;
  if (outerDepth >= 0) blockDepth_ = outerDepth;
  return errorCode_ == 0;
}

bool TPasCalc::PrepareAndRun(const std::string& source) {
  int outerDepth = blockDepth_;
  ResetRunState();
  Procs.Clear();
  std::string body;
  std::string ts = TokenStringOf(source);
  PrepareTokens(ts, body, true);
  if (errorCode_ == 0) {
    std::shared_ptr<TCompiledText> c = Compiled(body);
    ExecBlock(c->block);
  }
  // A run inside a running script (Exec) ends its own jumps; the outer
  // blocks keep their depth. Its error stays recorded and stops them too.
  pendingJump_ = TPendingJump::None;
  if (outerDepth >= 0) blockDepth_ = outerDepth;
  return errorCode_ == 0;
}

// ---------------------------------------------------------------------------
// Blocks and statements

static TBlock& SubBlock(std::unique_ptr<TBlock>& holder, TRange range);

void TPasCalc::ExecBlock(TBlock& block) {
  if (!EnterNesting(block.range)) return;
  if (!block.compiled) CompileBlock(block);
  // A nested block that is only BEGIN ... END (loop and procedure bodies)
  // runs its inner block directly: below the outermost block the extra
  // level changes nothing a script can see.
  if (blockDepth_ >= 0 && block.stmts.size() == 1) {
    TStmt& only = *block.stmts[0];
    if (only.kind == TStmtKind::Compound && !only.labelRunsRest && !only.readerError && Step(only.range)) {
      ExecBlock(SubBlock(only.block1, only.sub1));
      LeaveNesting();
      return;
    }
  }
  ++blockDepth_;
  const size_t n = block.stmts.size();
  size_t i = 0;
  TStmt* restOf = nullptr;
  TRange last = block.range;
  while (errorCode_ == 0) {
    if (restOf) {
      TStmt& t = *restOf;
      restOf = nullptr;
      last = t.range;
      if (t.range.Size() > 2) {
        if (!t.afterLabel) t.afterLabel = CompileStatement({t.range.b + 2, t.range.e});
        ExecStmt(*t.afterLabel);
      }
    } else {
      if (i >= n) break;
      TStmt& s = *block.stmts[i++];
      last = s.range;
      ExecStmt(s);
    }
    if (pendingJump_ == TPendingJump::None) continue;
    if (errorCode_) break;
    if (blockDepth_ == 0 && (pendingJump_ == TPendingJump::Break || pendingJump_ == TPendingJump::Continue)) {
      Report(15, std::string(JumpName(pendingJump_)) + " outside loop", last);
      break;
    }
    if (pendingJump_ != TPendingJump::Goto) break;
    // Look for the label in this block, from its first statement.
    bool found = false;
    for (size_t j = 0; j < n; ++j) {
      TStmt& t = *block.stmts[j];
      if (t.readerError) {
        Report(t.errCode, t.errMsg, t.range);
        break;
      }
      if (t.hasLabel && t.label == gotoLabel_) {
        pendingJump_ = TPendingJump::None;
        restOf = &t;
        i = j + 1;
        found = true;
        break;
      }
    }
    if (!found) break;
  }
  --blockDepth_;
  if (blockDepth_ < 0 && pendingJump_ == TPendingJump::Goto && errorCode_ == 0)
    Report(18, "Label " + gotoLabel_ + " not exist or unreacheble", block.range);
  LeaveNesting();
}

static TBlock& SubBlock(std::unique_ptr<TBlock>& holder, TRange range) {
  if (!holder) {
    holder = std::make_unique<TBlock>();
    holder->range = range;
  }
  return *holder;
}

void TPasCalc::ExecStmt(TStmt& s) {
  if (!Step(s.range)) return;
  if (s.labelRunsRest) {
    if (s.range.Size() <= 2) return;
    if (!s.afterLabel) s.afterLabel = CompileStatement({s.range.b + 2, s.range.e});
    ExecStmt(*s.afterLabel);
    return;
  }
  switch (s.kind) {
    case TStmtKind::Error:
      Report(s.errCode, s.errMsg, s.range);
      return;
    case TStmtKind::AssignOrCall:
      ExecAssign(s);
      return;
    case TStmtKind::Compound:
      ExecBlock(SubBlock(s.block1, s.sub1));
      return;
    case TStmtKind::If: {
      TValue c;
      if (!EvaluateOrReport(*s.expr, c)) return;
      bool cond;
      if (!c.ToBoolean(cond)) {
        Report(5, "Invalid condition type", s.expr->range);
        return;
      }
      if (s.lateErrCode) {
        Report(s.lateErrCode, s.lateErrMsg, s.range);
        return;
      }
      if (cond) ExecBlock(SubBlock(s.block1, s.sub1));
      else if (!s.sub2.Empty()) ExecBlock(SubBlock(s.block2, s.sub2));
      return;
    }
    case TStmtKind::For: ExecFor(s); return;
    case TStmtKind::While: ExecWhile(s); return;
    case TStmtKind::Repeat: ExecRepeat(s); return;
    case TStmtKind::Case: ExecCase(s); return;
    case TStmtKind::Jump:
      pendingJump_ = s.jump == tkBreak ? TPendingJump::Break
                     : s.jump == tkContinue ? TPendingJump::Continue : TPendingJump::Exit;
      return;
    case TStmtKind::Goto:
      pendingJump_ = TPendingJump::Goto;
      gotoLabel_ = s.label;
      return;
  }
}

void TPasCalc::ExecAssign(TStmt& s) {
  if (s.groups.empty() && s.after == TAfterGroups::Assign) {
    // name := expression, the most common statement
    TValue v;
    if (!EvaluateOrReport(*s.expr, v)) return;
    if (!s.nameValid) {
      Report(4, "Invalid variable name: " + s.name, s.range);
      return;
    }
    if (Vars.HasArrayNamed(s.name)) {
      Report(24, "Array with same name exist : " + s.name, s.range);
      return;
    }
    Vars.Put(s.name, v, &s.varHint);
    return;
  }
  std::string texts[2];
  if (!s.groups.empty() && !EvalGroups(s.groups, texts, s.range)) return;
  if (s.after == TAfterGroups::Found) {
    Report(1, "Found " + s.foundText + ", expected :=, (, [ or ;", s.range);
    return;
  }
  TValue v;
  if (s.after == TAfterGroups::Call) {
    EvaluateOrReport(*s.expr, v);
    return;
  }
  if (!EvaluateOrReport(*s.expr, v)) return;
  if (!s.nameValid) {
    Report(4, "Invalid variable name: " + s.name, s.range);
    return;
  }
  const size_t groups = s.groups.size();
  if (groups == 0) {
    if (Vars.HasArrayNamed(s.name)) {
      Report(24, "Array with same name exist : " + s.name, s.range);
      return;
    }
    Vars.Put(s.name, v, &s.varHint);
    return;
  }
  bool exists = Vars.IndexOf(s.name, s.varHint) >= 0;
  if (groups == 1 && exists) {
    if (Vars.HasArrayNamed(s.name)) {
      Report(24, "Array with same name exist : " + s.name, s.range);
      return;
    }
    CharAssign(s.name, texts[0], v, s.range);
  } else if (groups == 2 && exists) {
    Report(24, "Variable with same name exist : " + s.name, s.range);
  } else if (groups == 2) {
    CharAssign(s.arrayPrefix + texts[0] + "]", texts[1], v, s.range);
  } else {
    Vars.Put(s.arrayPrefix + texts[0] + "]", v);
  }
}

bool TPasCalc::CharAssign(const std::string& var, const std::string& index, const TValue& v, TRange excerpt) {
  TValue cur;
  if (!Vars.Get(var, cur)) {
    Report(3, "Variable not found :" + var, excerpt);
    return false;
  }
  if (!cur.IsString()) {
    Report(5, "Invalid variable type: " + var, excerpt);
    return false;
  }
  std::string msg;
  if (index.empty()) msg = "Empty string index";
  else if (index.find(',') != std::string::npos) msg = "Invalid string index";
  long long pos = 0;
  if (msg.empty()) {
    size_t used = 0;
    try {
      pos = std::stoll(index, &used);
    } catch (...) {
      used = 0;
    }
    if (used != index.size()) msg = "Invalid string index : " + index;
    else if (pos < 1 || size_t(pos) > cur.s.size()) msg = "String index out of range: " + index;
  }
  if (!msg.empty()) {
    Report(19, msg, excerpt);
    return false;
  }
  char c;
  if (v.IsString()) {
    if (v.s.size() != 1) {
      Report(20, "Character expected: '" + v.s + "'", excerpt);
      return false;
    }
    c = v.s[0];
  } else {
    int32_t code;
    if (!v.ToInteger(code)) {
      Report(5, "Invalid variable type: " + var, excerpt);
      return false;
    }
    if (code < 0 || code > 255) {
      Report(20, "Character value out of range: " + std::to_string(code), excerpt);
      return false;
    }
    c = char(code);
  }
  cur.s[size_t(pos - 1)] = c;
  Vars.Put(var, cur);
  return true;
}

bool TPasCalc::LoopJumpEnds() {
  switch (pendingJump_) {
    case TPendingJump::Break: pendingJump_ = TPendingJump::None; return true;
    case TPendingJump::Continue: pendingJump_ = TPendingJump::None; return false;
    case TPendingJump::Exit: case TPendingJump::Goto: return true;
    default: return false;
  }
}

// Evaluates the expression of a statement; a failure is reported as the
// statement's "Error in expression" (the first error of a run is kept).
bool TPasCalc::EvaluateOrReport(TExprUnit& unit, TValue& out) {
  if (Evaluate(unit, out)) return true;
  Report(1, "Error in expression", unit.range);
  return false;
}

void TPasCalc::ExecFor(TStmt& s) {
  TValue v;
  if (!EvaluateOrReport(*s.expr, v)) return;
  int32_t from;
  if (!v.ToInteger(from)) {
    Report(5, "Invalid loop variable value ", s.expr->range);
    return;
  }
  if (s.lateErrCode) {
    Report(s.lateErrCode, s.lateErrMsg, s.range);
    return;
  }
  if (!EvaluateOrReport(*s.expr2, v)) return;
  int32_t to;
  if (!v.ToInteger(to)) {
    Report(5, "Invalid loop variable value ", s.expr2->range);
    return;
  }
  TBlock& body = SubBlock(s.block1, s.sub1);
  const int64_t step = s.downto ? -1 : 1;
  for (int64_t i = from; s.downto ? i >= to : i <= to; i += step) {
    if (!Step(s.range)) return;
    int idx = Vars.IndexOf(s.name, s.varHint);
    if (idx < 0) {
      Report(1, "Invalid variable name: " + s.name, s.range);
      return;
    }
    Vars[idx].Value.SetInteger(int32_t(i));
    ExecBlock(body);
    if (errorCode_ || LoopJumpEnds()) return;
  }
}

void TPasCalc::ExecWhile(TStmt& s) {
  TBlock& body = SubBlock(s.block1, s.sub1);
  TValue c;
  for (;;) {
    if (!Step(s.range)) return;
    if (!EvaluateOrReport(*s.expr, c)) return;
    bool cond;
    if (!c.ToBoolean(cond)) {
      Report(5, "Invalid condition type", s.expr->range);
      return;
    }
    if (!cond) return;
    ExecBlock(body);
    if (errorCode_ || LoopJumpEnds()) return;
  }
}

void TPasCalc::ExecRepeat(TStmt& s) {
  TBlock& body = SubBlock(s.block1, s.sub1);
  TValue c;
  for (;;) {
    if (!Step(s.range)) return;
    ExecBlock(body);
    if (errorCode_) return;
    if (!EvaluateOrReport(*s.expr, c)) return;
    bool cond;
    if (!c.ToBoolean(cond)) {
      Report(5, "Invalid condition type", s.expr->range);
      return;
    }
    if (LoopJumpEnds()) return;
    if (cond) return;
  }
}

void TPasCalc::ExecCase(TStmt& s) {
  TValue selector;
  if (!EvaluateOrReport(*s.expr, selector)) return;
  TCaseItem* elseItem = nullptr;
  for (TCaseItem& item : s.items) {
    if (item.kind == TCaseItem::Error) {
      Report(item.errCode, item.errMsg, s.range);
      return;
    }
    if (item.kind == TCaseItem::Else) {
      elseItem = &item;
      continue;
    }
    for (TCaseRange& range : item.ranges) {
      TValue low, high;
      if (!EvaluateOrReport(*range.low, low)) return;
      if (range.high) {
        if (!EvaluateOrReport(*range.high, high)) return;
      } else {
        high = low;
      }
      if (low.IsString() != high.IsString()) {
        Report(1, "Invalid typecast in CASE range", s.range);
        return;
      }
      if (CompareSameKind(low, high) > 0) std::swap(low, high);
      if (selector.IsString() != low.IsString()) continue;
      if (CompareSameKind(low, selector) <= 0 && CompareSameKind(selector, high) <= 0) {
        ExecBlock(SubBlock(item.block, item.stmt));
        return;
      }
    }
  }
  if (elseItem) ExecBlock(SubBlock(elseItem->block, elseItem->stmt));
}

// ---------------------------------------------------------------------------
// Procedure and function calls

bool TPasCalc::CallProcedure(const TProcedure& proc, const std::vector<TCallArg>& args, TValue& out, TRange unit) {
  if (callDepth_ >= kMaxProcedureNesting) {
    Report(kErrNesting, "Procedure calls nested too deeply: " + proc.Name, unit);
    return false;
  }
  if (args.size() != proc.ParamList.size()) {
    Report(7, "Wrong parameters amount, procedure " + proc.Name, unit);
    return false;
  }
  const int depth = callDepth_;
  while (int(snapshots_.size()) <= depth) {
    snapshots_.push_back(std::make_unique<TVarList>());
    asides_.push_back(std::make_unique<TVarList>());
  }
  TVarList& snapshot = *snapshots_[size_t(depth)];
  TVarList& aside = *asides_[size_t(depth)];
  snapshot.AssignFrom(Vars);
  ++callDepth_;
  struct TDepthGuard {
    int& d;
    ~TDepthGuard() { --d; }
  } guard{callDepth_};

  bool ok = true;
  // Parameters become variables of the call, shadowing what the caller or
  // the element has of the same name.
  for (size_t i = 0; i < args.size() && ok; ++i) {
    TValue v;
    if (!Evaluate(*args[i].unit, v)) {
      Report(7, "Invalid expression in function params: " + ToTokenString(args[i].unit->range.b, args[i].unit->range.e),
             unit);
      ok = false;
      break;
    }
    const std::string& param = proc.ParamList[i];
    if (!IsValidVarName(param)) {
      Report(24, "Duplicate variable name: " + param, unit);
      ok = false;
      break;
    }
    int idx = Vars.IndexOf(param);
    if (idx >= 0) Vars[idx].Value = std::move(v);
    else Vars.Append(TVar{param, std::move(v)});
  }
  if (ok) {
    if (proc.IsFunction) Vars.Delete(Vars.IndexOf("RESULT"));
    if (!proc.CompiledBody) proc.CompiledBody = Compiled(proc.Body);
    TCompiledText* body = proc.CompiledBody.get();  // kept alive by the procedure record the caller holds
    ExecBlock(body->block);
    ok = errorCode_ == 0;
    if (ok) {
      TRange where = body->block.range;
      if (pendingJump_ == TPendingJump::Break || pendingJump_ == TPendingJump::Continue) {
        Report(15, std::string(JumpName(pendingJump_)) + " outside loop", where);
        ok = false;
      } else if (pendingJump_ == TPendingJump::Goto) {
        Report(18, "Label " + gotoLabel_ + " not exist or unreacheble", where);
        ok = false;
      }
    }
    pendingJump_ = TPendingJump::None;
  }
  // Every change the body made to variables is undone; parameters named by
  // plain variables hand their final values back.
  aside.Swap(Vars);
  Vars.Swap(snapshot);
  if (!ok) return false;
  TValue pv;
  for (size_t i = 0; i < args.size(); ++i) {
    if (!args[i].joinedValid) continue;
    if (!aside.Get(proc.ParamList[i], pv)) continue;
    int idx = Vars.IndexOf(args[i].joined, args[i].varHint);
    if (idx >= 0) Vars[idx].Value = pv;
  }
  if (proc.IsFunction) {
    if (!aside.Get("RESULT", out)) {
      Report(26, "Function must return result : " + proc.Name, unit);
      return false;
    }
  }
  return true;
}

}  // namespace kw
