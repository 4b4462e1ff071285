// Statements: the statement reader, the parsed statement forms and their
// execution, jumps through nested blocks.
#include "script/statements.h"

#include "script/pascalc.h"

namespace kw {

std::vector<TIndexGroup> ParseIndexGroups(const TToken*& p, const TToken* e, bool& unterminated);
std::vector<TRange> SplitTopLevelCommas(const TToken* b, const TToken* e);

const char* ReaderErrorText(int code) {
  switch (code) {
    case 10: return "END expected";
    case 11: return "Too many END";
    case 16: return "UNTIL expected";
    case 17: return "Too many UNTIL";
  }
  return "";
}

TStatementRead ReadStatement(const TToken* p, const TToken* end, bool stopAtElse) {
  while (p < end && p->kind == tkSemicolon) ++p;
  const TToken* b = p;
  int blocks = 0, loops = 0;
  for (; p < end; ++p) {
    uint8_t k = p->kind;
    if (blocks == 0 && loops == 0 && (k == tkSemicolon || (stopAtElse && k == tkElse)))
      return {{b, p}, p + 1, 0, k == tkElse};
    if (k == tkBegin || k == tkCase) ++blocks;
    else if (k == tkEndKw) --blocks;
    else if (k == tkRepeat) ++loops;
    else if (k == tkUntil) --loops;
  }
  int err = blocks > 0 ? 10 : blocks < 0 ? 11 : loops > 0 ? 16 : loops < 0 ? 17 : 0;
  return {{b, end}, end, err, false};
}

namespace {

std::unique_ptr<TExprUnit> Unit(const TToken* b, const TToken* e) {
  auto u = std::make_unique<TExprUnit>();
  u->range = {b, e};
  return u;
}

const TToken* FindKind(const TToken* b, const TToken* e, uint8_t k1, uint8_t k2 = 255) {
  for (const TToken* t = b; t < e; ++t)
    if (t->kind == k1 || t->kind == k2) return t;
  return nullptr;
}

bool AllIdentChars(std::string_view t) {
  if (t.empty()) return false;
  for (unsigned char c : t)
    if (!IsIdentChar(c)) return false;
  return true;
}

bool IsLabelToken(const TToken& t) {
  return t.kind == tkIdent || (t.kind == tkConst && AllIdentChars(t.text));
}

void SetError(TStmt& s, int code, std::string msg) {
  s.kind = TStmtKind::Error;
  s.errCode = code;
  s.errMsg = std::move(msg);
}

void CompileCase(TStmt& s, const TToken* of) {
  const TToken* e = s.range.e;
  const TToken* q = of + 1;
  bool elseSeen = false;
  auto fail = [&](int code, std::string msg) {
    TCaseItem item;
    item.kind = TCaseItem::Error;
    item.errCode = code;
    item.errMsg = std::move(msg);
    s.items.push_back(std::move(item));
  };
  for (;;) {
    if (q >= e) return fail(1, "Error in CASE statement");
    if (q->kind == tkEndKw) return;
    if (q->kind == tkElse) {
      if (elseSeen) return fail(28, "Too many ELSEin CASE statement");
      elseSeen = true;
      TStatementRead r = ReadStatement(q + 1, e, false);
      if (r.error) return fail(r.error, ReaderErrorText(r.error));
      TCaseItem item;
      item.kind = TCaseItem::Else;
      item.stmt = r.stmt;
      s.items.push_back(std::move(item));
      q = r.next;
      continue;
    }
    const TToken* colon = q;
    while (colon < e && colon->kind != tkColon && colon->kind != tkSemicolon && colon->kind != tkEndKw) ++colon;
    if (colon >= e || colon->kind != tkColon) return fail(29, ": expected");
    if (colon == q) return fail(29, "Range defininition expected");
    TCaseItem item;
    for (TRange piece : SplitTopLevelCommas(q, colon)) {
      TCaseRange range;
      const TToken* dots = nullptr;
      int depth = 0;
      for (const TToken* t = piece.b; t < piece.e; ++t) {
        if (t->kind == tkLParen || t->kind == tkLBracket) ++depth;
        else if (t->kind == tkRParen || t->kind == tkRBracket) --depth;
        else if (t->kind == tkRange && depth == 0) { dots = t; break; }
      }
      if (dots) {
        range.low = Unit(piece.b, dots);
        range.high = Unit(dots + 1, piece.e);
      } else {
        range.low = Unit(piece.b, piece.e);
      }
      item.ranges.push_back(std::move(range));
    }
    TStatementRead r = ReadStatement(colon + 1, e, false);
    if (r.error) return fail(r.error, ReaderErrorText(r.error));
    item.stmt = r.stmt;
    s.items.push_back(std::move(item));
    q = r.next;
  }
}

}  // namespace

std::unique_ptr<TStmt> CompileStatement(TRange r) {
  auto sp = std::make_unique<TStmt>();
  TStmt& s = *sp;
  s.range = r;
  const TToken* b = r.b;
  const TToken* e = r.e;
  if (r.Size() >= 2 && b[1].kind == tkColon) {
    s.hasLabel = true;
    s.label.assign(b[0].text);
    // Reached by ordinary flow, a labelled statement runs what follows its label.
    s.labelRunsRest = IsLabelToken(b[0]);
    if (s.labelRunsRest) return sp;
  }
  switch (b->kind) {
    case tkIdent: {
      s.kind = TStmtKind::AssignOrCall;
      s.name.assign(b->text);
      s.nameValid = IsValidVarName(s.name);
      s.arrayPrefix = s.name + "[";
      const TToken* p = b + 1;
      bool unterminated;
      s.groups = ParseIndexGroups(p, e, unterminated);
      if (unterminated) break;
      uint8_t k = p < e ? p->kind : uint8_t(tkEnd);
      if (k == tkAssign) {
        s.after = TAfterGroups::Assign;
        s.expr = Unit(p + 1, e);
      } else if (k == tkLParen || k == tkLBracket || k == tkEnd) {
        s.after = TAfterGroups::Call;
        s.expr = Unit(b, e);
      } else {
        s.after = TAfterGroups::Found;
        s.foundText.assign(p->text);
      }
      break;
    }
    case tkBegin:
      if (r.Size() < 2 || e[-1].kind != tkEndKw) {
        SetError(s, 10, "END expected");
        break;
      }
      s.kind = TStmtKind::Compound;
      s.sub1 = {b + 1, e - 1};
      break;
    case tkIf: {
      const TToken* then = FindKind(b + 1, e, tkThen);
      if (!then) {
        SetError(s, 14, "THEN expected");
        break;
      }
      s.kind = TStmtKind::If;
      s.expr = Unit(b + 1, then);
      TStatementRead tr = ReadStatement(then + 1, e, true);
      if (tr.error) {
        s.lateErrCode = tr.error;
        s.lateErrMsg = ReaderErrorText(tr.error);
      }
      s.sub1 = tr.stmt;
      if (tr.stoppedAtElse) s.sub2 = {tr.next, e};
      break;
    }
    case tkFor: {
      const TToken* to = FindKind(b + 1, e, tkTo, tkDownto);
      if (!to) { SetError(s, 12, "TO or DOWNTO expected"); break; }
      if (r.Size() < 2 || b[1].kind != tkIdent) { SetError(s, 13, "FOR control variable expected"); break; }
      if (r.Size() < 3 || b[2].kind != tkAssign) {
        SetError(s, 9, "Invalid \xEE\xF0" "erator:   ('FOR' expected ");
        break;
      }
      s.kind = TStmtKind::For;
      s.name.assign(b[1].text);
      s.downto = to->kind == tkDownto;
      s.expr = Unit(b + 3, to);
      const TToken* d = FindKind(to + 1, e, tkDo);
      if (!d) {
        s.lateErrCode = 14;
        s.lateErrMsg = "DO expected";
        break;
      }
      s.expr2 = Unit(to + 1, d);
      s.sub1 = {d + 1, e};
      break;
    }
    case tkWhile: {
      const TToken* d = FindKind(b + 1, e, tkDo);
      if (!d) { SetError(s, 14, "DO expected"); break; }
      s.kind = TStmtKind::While;
      s.expr = Unit(b + 1, d);
      s.sub1 = {d + 1, e};
      break;
    }
    case tkRepeat: {
      const TToken* u = FindKind(b + 1, e, tkUntil);
      if (!u) { SetError(s, 16, "UNTIL expected"); break; }
      s.kind = TStmtKind::Repeat;
      s.sub1 = {b + 1, u};
      s.expr = Unit(u + 1, e);
      break;
    }
    case tkCase: {
      const TToken* of = FindKind(b + 1, e, tkOf);
      if (!of) { SetError(s, 14, "OF expected"); break; }
      s.kind = TStmtKind::Case;
      s.expr = Unit(b + 1, of);
      CompileCase(s, of);
      break;
    }
    case tkBreak: case tkContinue: case tkExit:
      if (r.Size() != 1) {
        SetError(s, 1, std::string("Invalid ") + TokenTableText(b->kind) + " operator");
        break;
      }
      s.kind = TStmtKind::Jump;
      s.jump = b->kind;
      break;
    case tkGoto:
      if (r.Size() < 2 || !IsLabelToken(b[1])) { SetError(s, 1, "Invalid label in GOTO"); break; }
      if (r.Size() > 2) { SetError(s, 1, "Error in GOTO statement"); break; }
      s.kind = TStmtKind::Goto;
      s.label.assign(b[1].text);
      break;
    case tkEndKw: SetError(s, 11, "Too many END"); break;
    case tkElse: SetError(s, 9, "ELSE without IF"); break;
    default: SetError(s, 9, "Invalid operator: " + std::string(b->text)); break;
  }
  return sp;
}

void CompileBlock(TBlock& block) {
  block.compiled = true;
  const TToken* p = block.range.b;
  const TToken* e = block.range.e;
  for (;;) {
    TStatementRead r = ReadStatement(p, e, false);
    if (r.error) {
      auto s = std::make_unique<TStmt>();
      s->range = r.stmt;
      s->readerError = true;
      SetError(*s, r.error, ReaderErrorText(r.error));
      block.stmts.push_back(std::move(s));
      return;
    }
    if (r.stmt.Empty()) return;
    block.stmts.push_back(CompileStatement(r.stmt));
    p = r.next;
  }
}

}  // namespace kw
