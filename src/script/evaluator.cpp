// Expressions: parsing a token stretch into nodes, and evaluating them.
//
// Precedence, lowest first; every binary level is left-associative:
//   1 OR XOR   2 AND   3 = <> > < >= <=   4 + -   5 * /   6 ^ SHL SHR
//   7 prefix NOT + - (applied to an operand only: "- -1" is an error)
#include <cmath>
#include <cstring>

#include "script/pascalc.h"
#include "script/script_context.h"

namespace kw {

namespace {

constexpr int kMaxExpressionNesting = 128;

bool IsLevelOp(int level, uint8_t k) {
  switch (level) {
    case 1: return k == tkOr || k == tkXor;
    case 2: return k == tkAnd;
    case 3: return k == tkEq || k == tkNe || k == tkGt || k == tkLt || k == tkGe || k == tkLe;
    case 4: return k == tkPlus || k == tkMinus;
    case 5: return k == tkMul || k == tkSlash;
    case 6: return k == tkPow || k == tkShl || k == tkShr;
  }
  return false;
}

std::unique_ptr<TExprNode> ErrorNode(int code, std::string msg) {
  auto n = std::make_unique<TExprNode>();
  n->kind = TNodeKind::Error;
  n->errCode = code;
  n->errMsg = std::move(msg);
  return n;
}

// Splits [b, e) at the commas outside nested parentheses and brackets.
std::vector<TRange> SplitAtCommas(const TToken* b, const TToken* e) {
  std::vector<TRange> parts;
  int depth = 0;
  const TToken* start = b;
  for (const TToken* t = b; t < e; ++t) {
    if (t->kind == tkLParen || t->kind == tkLBracket) ++depth;
    else if (t->kind == tkRParen || t->kind == tkRBracket) --depth;
    else if (t->kind == tkComma && depth == 0) {
      parts.push_back({start, t});
      start = t + 1;
    }
  }
  parts.push_back({start, e});
  return parts;
}

std::unique_ptr<TExprUnit> MakeUnit(TRange r) {
  auto u = std::make_unique<TExprUnit>();
  u->range = r;
  return u;
}

// A number literal: digits and the separators "+", ",", "-", "."; one "."
// or one "," as the decimal point; a float when it has a point or lies
// beyond the 32-bit range (2147483647 itself is a float).
bool ParseNumberLiteral(std::string_view token, TValue& out) {
  while (!token.empty() && token.front() == ' ') token.remove_prefix(1);
  while (!token.empty() && token.back() == ' ') token.remove_suffix(1);
  if (token.empty()) return false;
  int dots = 0, commas = 0;
  char lastSep = 0;
  for (char c : token) {
    if (c == '.') { ++dots; lastSep = c; }
    else if (c == ',') { ++commas; lastSep = c; }
    else if (!((c >= '0' && c <= '9') || c == '+' || c == '-')) return false;
  }
  std::string text;
  if (lastSep == '.' && dots == 1) {
    for (char c : token) if (c != ',') text += c;
  } else if (lastSep == ',' && commas == 1) {
    for (char c : token) if (c != '.') text += (c == ',' ? '.' : c);
  } else {
    text.assign(token);
  }
  // Plain decimal: sign, digits, optional point and fraction.
  size_t p = 0;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
  size_t digits = 0;
  while (p < text.size() && text[p] >= '0' && text[p] <= '9') { ++p; ++digits; }
  if (p < text.size() && text[p] == '.') {
    ++p;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9') { ++p; ++digits; }
  }
  if (digits == 0 || p != text.size()) return false;
  double v = std::strtod(text.c_str(), nullptr);
  if (text.find('.') != std::string::npos || v >= 2147483647.0 || v <= -2147483647.0) {
    out = TValue::Float(v);
  } else {
    double whole = std::floor(std::fabs(v) + 0.000000001);
    out = TValue::Integer(int32_t(v < 0 ? -whole : whole));
  }
  return true;
}

}  // namespace

// Reads one expression stretch into nodes, one token of look-ahead as the
// evaluator of the language does. After a parse error nothing more is read.
class TExprParser {
 public:
  TExprParser(TPasCalc& calc, TRange r) : calc_(calc), p_(r.b), e_(r.e) {}

  std::unique_ptr<TExprNode> Parse(bool& trailingOk) {
    auto root = Level(1);
    // The evaluator reads one token past its look-ahead and wants the end.
    if (!stop_) {
      const TToken* after = p_ < e_ ? p_ + 1 : p_;
      trailingOk = after >= e_;
    } else {
      trailingOk = false;
    }
    return root;
  }

 private:
  uint8_t Kind() const { return p_ < e_ ? p_->kind : uint8_t(tkEnd); }
  std::string_view Text() const { return p_ < e_ ? p_->text : std::string_view(); }
  void Next() { if (p_ < e_) ++p_; }

  std::unique_ptr<TExprNode> Fail(int code, std::string msg) {
    stop_ = true;
    return ErrorNode(code, std::move(msg));
  }

  // level := next-level { operator next-level }
  std::unique_ptr<TExprNode> Level(int level) {
    if (level == 7) return Prefix();
    auto first = Level(level + 1);
    if (stop_ || !IsLevelOp(level, Kind())) return first;
    auto chain = std::make_unique<TExprNode>();
    chain->kind = TNodeKind::Chain;
    chain->a = std::move(first);
    while (!stop_ && IsLevelOp(level, Kind())) {
      uint8_t op = Kind();
      Next();
      chain->rest.emplace_back(op, Level(level + 1));
    }
    return chain;
  }

  // prefix := [NOT | + | -] operand
  std::unique_ptr<TExprNode> Prefix() {
    uint8_t k = Kind();
    if (k != tkNot && k != tkPlus && k != tkMinus) return Operand();
    Next();
    auto n = std::make_unique<TExprNode>();
    n->kind = TNodeKind::Prefix;
    n->op = k;
    n->a = Operand();
    return n;
  }

  // operand := "(" level1 ")" | TRUE | FALSE | constant | name
  std::unique_ptr<TExprNode> Operand() {
    switch (Kind()) {
      case tkLParen: {
        if (++depth_ > kMaxExpressionNesting) return Fail(kErrNesting, "Expression nested too deeply");
        Next();
        auto inner = Level(1);
        --depth_;
        if (stop_) return inner;
        if (Kind() != tkRParen) {
          stop_ = true;
          auto seq = ErrorNode(2, "')' expected");
          seq->kind = TNodeKind::Seq;
          seq->a = std::move(inner);
          return seq;
        }
        Next();
        return inner;
      }
      case tkTrue: case tkFalse: {
        auto n = std::make_unique<TExprNode>();
        n->value = TValue::Boolean(Kind() == tkTrue);
        Next();
        return n;
      }
      case tkConst: return Constant();
      case tkIdent: return Name();
      default:
        return Fail(1, "Unknown or invalid operator in expression: " + std::string(Text()));
    }
  }

  std::unique_ptr<TExprNode> Constant() {
    std::string_view t = Text();
    auto n = std::make_unique<TExprNode>();
    if (t[0] == '\'' || t[0] == '"') {
      if (t.size() < 2 || (t.back() != '\'' && t.back() != '"'))
        return Fail(6, "Unterminated string: " + std::string(t));
      if (t[0] == '\'') n->value = TValue::String(std::string(t.substr(1, t.size() - 2)));
      else n->value = TValue::String(std::string(t));  // a language key, quotes kept
    } else if (!ParseNumberLiteral(t, n->value)) {
      return Fail(1, "Invalid number: " + std::string(t));
    }
    Next();
    return n;
  }

  // name := ident [ "(" args ")" ] | ident [ "[" index "]" [ "[" index "]" ] ]
  std::unique_ptr<TExprNode> Name() {
    auto n = std::make_unique<TExprNode>();
    n->name.assign(Text());
    bool nextIsParen = p_ + 1 < e_ && p_[1].kind == tkLParen;
    if (nextIsParen || calc_.Funcs.IndexOf(n->name) >= 0 || calc_.Procs.IndexOf(n->name) >= 0) {
      n->kind = TNodeKind::Call;
      Next();
      if (Kind() == tkLParen) {
        const TToken* b = p_ + 1;
        const TToken* t = b;
        int depth = 1;
        for (; t < e_; ++t) {
          if (t->kind == tkLParen) ++depth;
          else if (t->kind == tkRParen && --depth == 0) break;
        }
        if (t >= e_) return Fail(1, "Invalid function params: " + WriteOut(b, e_));
        n->argsRange = {b, t};
        if (b < t) {
          for (TRange r : SplitAtCommas(b, t)) {
            TCallArg arg;
            arg.unit = MakeUnit(r);
            arg.joined = JoinTexts(r.b, r.e);
            arg.joinedValid = IsValidVarName(arg.joined);
            n->args.push_back(std::move(arg));
          }
        }
        p_ = t;
        Next();
      }
      return n;
    }
    n->kind = TNodeKind::Name;
    n->arrayPrefix = n->name + "[";
    Next();
    while (n->groups.size() < 2 && Kind() == tkLBracket) {
      TIndexGroup g;
      const TToken* b = p_ + 1;
      const TToken* t = b;
      int depth = 1;
      for (; t < e_; ++t) {
        if (t->kind == tkLBracket) ++depth;
        else if (t->kind == tkRBracket && --depth == 0) break;
      }
      if (t >= e_) {
        g.unterminated = true;
        n->groups.push_back(std::move(g));
        stop_ = true;
        return n;
      }
      for (TRange r : SplitAtCommas(b, t)) g.pieces.push_back(MakeUnit(r));
      n->groups.push_back(std::move(g));
      p_ = t;
      Next();
    }
    return n;
  }

  TPasCalc& calc_;
  const TToken* p_;
  const TToken* e_;
  bool stop_ = false;
  int depth_ = 0;
};

// Index groups as the evaluator reads them for names and assignment
// targets; also used by the statements.
std::vector<TIndexGroup> ParseIndexGroups(const TToken*& p, const TToken* e, bool& unterminated);
std::vector<TIndexGroup> ParseIndexGroups(const TToken*& p, const TToken* e, bool& unterminated) {
  std::vector<TIndexGroup> groups;
  unterminated = false;
  while (groups.size() < 2 && p < e && p->kind == tkLBracket) {
    TIndexGroup g;
    const TToken* b = p + 1;
    const TToken* t = b;
    int depth = 1;
    for (; t < e; ++t) {
      if (t->kind == tkLBracket) ++depth;
      else if (t->kind == tkRBracket && --depth == 0) break;
    }
    if (t >= e) {
      g.unterminated = true;
      groups.push_back(std::move(g));
      unterminated = true;
      p = e;
      return groups;
    }
    for (TRange r : SplitAtCommas(b, t)) g.pieces.push_back(MakeUnit(r));
    groups.push_back(std::move(g));
    p = t + 1;
  }
  return groups;
}

std::vector<TRange> SplitTopLevelCommas(const TToken* b, const TToken* e) { return SplitAtCommas(b, e); }

bool TPasCalc::Evaluate(TExprUnit& unit, TValue& out) {
  if (unit.range.Empty()) {
    Report(1, "Empty string - not expression", unit.range);
    return false;
  }
  if (!unit.compiled || unit.funcVersion != Funcs.Version() || unit.procSignature != Procs.Signature()) {
    if (unit.root) unit.retired.push_back(std::move(unit.root));
    TExprParser parser(*this, unit.range);
    unit.root = parser.Parse(unit.trailingOk);
    unit.compiled = true;
    unit.funcVersion = Funcs.Version();
    unit.procSignature = Procs.Signature();
  }
  if (!EnterNesting(unit.range)) return false;
  const TExprNode* root = unit.root.get();
  EvalNode(*root, out, unit.range);
  LeaveNesting();
  return errorCode_ == 0 && unit.trailingOk;
}

void TPasCalc::EvalNode(const TExprNode& n, TValue& out, TRange unit) {
  switch (n.kind) {
    case TNodeKind::Const:
      out = n.value;
      return;
    case TNodeKind::Error:
      Report(n.errCode, n.errMsg, unit);
      return;
    case TNodeKind::Seq:
      EvalNode(*n.a, out, unit);
      Report(n.errCode, n.errMsg, unit);
      return;
    case TNodeKind::Chain: {
      EvalNode(*n.a, out, unit);
      TValue r;
      for (const auto& [op, operand] : n.rest) {
        if (errorCode_) return;
        EvalNode(*operand, r, unit);
        if (errorCode_) return;
        ApplyBinary(op, out, r, out, unit);
      }
      return;
    }
    case TNodeKind::Prefix:
      EvalNode(*n.a, out, unit);
      if (errorCode_) return;
      ApplyPrefix(n.op, out, unit);
      return;
    case TNodeKind::Name:
      EvalName(n, out, unit);
      return;
    case TNodeKind::Call:
      EvalCall(n, out, unit);
      return;
  }
}

bool TPasCalc::EvalGroups(const std::vector<TIndexGroup>& groups, std::string* texts, TRange unit) {
  for (size_t g = 0; g < groups.size(); ++g) {
    const TIndexGroup& group = groups[g];
    if (group.unterminated) {
      Report(21, "] expected", unit);
      return false;
    }
    std::string& text = texts[g];
    text.clear();
    for (size_t i = 0; i < group.pieces.size(); ++i) {
      TExprUnit& piece = *group.pieces[i];
      TValue v;
      if (!Evaluate(piece, v)) {
        Report(1, "Error in expression: " + WriteOut(piece.range.b, piece.range.e), unit);
        return false;
      }
      int32_t iv;
      if (!v.ToInteger(iv)) {
        Report(5, "Invalid index: " + WriteOut(piece.range.b, piece.range.e), unit);
        return false;
      }
      if (i) text += ',';
      text += std::to_string(iv);
    }
  }
  return true;
}

// The character at a string index, checked as names and targets check it.
static bool CheckStringIndex(const std::string& index, size_t length, size_t& pos, int& code,
                             std::string& msg) {
  code = 19;
  if (index.empty()) { msg = "Empty string index"; return false; }
  if (index.find(',') != std::string::npos) { msg = "Invalid string index"; return false; }
  size_t i = 0;
  bool neg = index[0] == '-';
  if (neg) i = 1;
  int64_t v = 0;
  if (i >= index.size()) { msg = "Invalid string index : " + index; return false; }
  for (; i < index.size(); ++i) {
    if (index[i] < '0' || index[i] > '9' || v > 100000000000LL) {
      msg = "Invalid string index : " + index;
      return false;
    }
    v = v * 10 + (index[i] - '0');
  }
  if (neg) v = -v;
  if (v < 1 || uint64_t(v) > length) { msg = "String index out of range: " + index; return false; }
  pos = size_t(v - 1);
  return true;
}

void TPasCalc::EvalName(const TExprNode& n, TValue& out, TRange unit) {
  if (n.groups.empty()) {
    if (Vars.HasArrayNamed(n.name)) {
      Report(24, "Array with same name exist : " + n.name, unit);
      return;
    }
    if (!Vars.Get(n.name, out, &n.varHint)) Report(3, "Variable not found: " + n.name, unit);
    return;
  }
  std::string texts[2];
  if (!EvalGroups(n.groups, texts, unit)) return;
  bool exists = Vars.IndexOf(n.name, n.varHint) >= 0;
  std::string varName;
  const std::string* strIndex = nullptr;
  if (n.groups.size() == 1 && exists) {
    if (Vars.HasArrayNamed(n.name)) {
      Report(24, "Array with same name exist : " + n.name, unit);
      return;
    }
    varName = n.name;
    strIndex = &texts[0];
  } else if (n.groups.size() == 2 && exists) {
    Report(24, "Variable with same name exist : " + n.name, unit);
    return;
  } else {
    varName = n.arrayPrefix + texts[0] + "]";
    if (n.groups.size() == 2) strIndex = &texts[1];
  }
  if (!Vars.Get(varName, out)) {
    Report(3, "Variable not found: " + varName, unit);
    return;
  }
  if (!strIndex) return;
  if (!out.IsString()) {
    Report(5, "Invalid variable type: " + varName, unit);
    return;
  }
  size_t pos;
  int code;
  std::string msg;
  if (!CheckStringIndex(*strIndex, out.s.size(), pos, code, msg)) {
    Report(code, msg, unit);
    return;
  }
  char c = out.s[pos];
  out.s.assign(1, c);
}

void TPasCalc::EvalCall(const TExprNode& n, TValue& out, TRange unit) {
  int pi = Procs.IndexOf(n.name, n.procHint);
  if (pi >= 0) {
    // Held: the body may prepare text that empties the table.
    std::shared_ptr<const TProcedure> proc = Procs.Shared(pi);
    if (!CallProcedure(*proc, n.args, out, unit) && !errorCode_)
      Report(7, "Error in procedure: " + n.name, unit);
    return;
  }
  int fi = n.funcHint;
  if (fi < 0 || fi >= Funcs.Count() || Funcs[fi].Name != n.name) fi = n.funcHint = Funcs.IndexOf(n.name);
  if (fi < 0) {
    Report(8, "Unknown function: " + n.name, unit);
    return;
  }
  TScriptFunction callback = Funcs[fi].Callback;
  TVarList args;
  int positions[16];
  std::vector<int> morePositions;
  for (size_t i = 0; i < n.args.size(); ++i) {
    const TCallArg& arg = n.args[i];
    TVar record;
    if (!Evaluate(*arg.unit, record.Value)) {
      Report(7, "Invalid expression in function params: " + ToTokenString(arg.unit->range.b, arg.unit->range.e),
             unit);
      return;
    }
    int pos = arg.joinedValid ? Vars.IndexOf(arg.joined, arg.varHint) : -1;
    record.Name = pos >= 0 ? "VAR" : "VALUE";
    if (i < 16) positions[i] = pos;
    else morePositions.push_back(pos);
    args.Append(std::move(record));
  }
  TVar result;
  bool ok = false;
  std::string raised;
  bool hasRaised = false;
  try {
    ok = callback(*this, args, result);
  } catch (const std::exception& ex) {
    ok = false;
    hasRaised = true;
    raised = ex.what();
  } catch (...) {
    ok = false;
    hasRaised = true;
  }
  if (!ok) {
    std::string msg = "Invalid parameters, function " + n.name;
    if (hasRaised) msg += " : " + raised;
    Report(7, msg, unit);
    return;
  }
  for (size_t i = 0; i < n.args.size() && int(i) < args.Count(); ++i) {
    int pos = i < 16 ? positions[i] : morePositions[i - 16];
    if (pos >= 0 && pos < Vars.Count()) Vars[pos].Value = args[int(i)].Value;
  }
  out = std::move(result.Value);
}

void TPasCalc::LanguageKey(TValue& v) {
  if (!v.IsString() || v.s.empty() || v.s[0] != '"') return;
  TScriptContext& ctx = ScriptContext();
  if (!ctx.LookupText) return;
  std::string key = v.s.size() >= 2 ? v.s.substr(1, v.s.size() - 2) : std::string();
  std::string text = ctx.LookupText(key);
  if (!text.empty()) v.s = std::move(text);
}

static const char* OpText(uint8_t op) { return TokenTableText(op); }

static void SetIntegral(TValue& out, __int128 v, bool big) {
  if (!big && v >= INT32_MIN && v <= INT32_MAX) {
    out.kind = TValueKind::Integer;
    out.i = int64_t(v);
  } else if (v >= INT64_MIN && v <= INT64_MAX) {
    out.kind = TValueKind::BigInt;
    out.i = int64_t(v);
  } else {
    out.kind = TValueKind::Float;
    out.f = double(v);
  }
}

void TPasCalc::ApplyBinary(uint8_t op, TValue& l, TValue& r, TValue& out, TRange unit) {
  if ((l.kind == TValueKind::Integer || l.kind == TValueKind::BigInt) &&
      (r.kind == TValueKind::Integer || r.kind == TValueKind::BigInt)) {
    // The common case of loops and counters, same results as the general rules below.
    const int64_t a = l.i, b = r.i;
    const bool big = l.kind == TValueKind::BigInt || r.kind == TValueKind::BigInt;
    int64_t v = 0;
    bool isBool = false, flag = false;
    switch (op) {
      case tkPlus: if (__builtin_add_overflow(a, b, &v)) goto general; break;
      case tkMinus: if (__builtin_sub_overflow(a, b, &v)) goto general; break;
      case tkMul: if (__builtin_mul_overflow(a, b, &v)) goto general; break;
      case tkEq: isBool = true; flag = a == b; break;
      case tkNe: isBool = true; flag = a != b; break;
      case tkLt: isBool = true; flag = a < b; break;
      case tkGt: isBool = true; flag = a > b; break;
      case tkLe: isBool = true; flag = a <= b; break;
      case tkGe: isBool = true; flag = a >= b; break;
      default: goto general;
    }
    if (!out.s.empty()) out.s.clear();
    if (isBool) {
      out.kind = TValueKind::Boolean;
      out.i = flag ? 1 : 0;
    } else {
      out.kind = !big && v >= INT32_MIN && v <= INT32_MAX ? TValueKind::Integer : TValueKind::BigInt;
      out.i = v;
    }
    return;
  }
general:
  LanguageKey(l);
  LanguageKey(r);
  auto bad = [&] { Report(5, std::string("Invalid operand types for \"") + OpText(op) + "\"", unit); };
  bool ls = l.IsString() || (l.IsEmpty() && r.IsString());
  bool rs = r.IsString() || (r.IsEmpty() && l.IsString());
  switch (op) {
    case tkOr: case tkXor: case tkAnd: {
      if (l.kind == TValueKind::Boolean && r.kind == TValueKind::Boolean) {
        bool a = l.i != 0, b = r.i != 0;
        bool v = op == tkOr ? (a || b) : op == tkAnd ? (a && b) : (a != b);
        out = TValue::Boolean(v);
        return;
      }
      int32_t a, b;
      if (!l.ToInteger(a) || !r.ToInteger(b)) return bad();
      int32_t v = op == tkOr ? (a | b) : op == tkAnd ? (a & b) : (a ^ b);
      out = TValue::Integer(v);
      return;
    }
    case tkEq: case tkNe: case tkGt: case tkLt: case tkGe: case tkLe: {
      int cmp;
      if (ls && rs) {
        const std::string& a = l.s;
        const std::string& b = r.s;
        int c = a.compare(b);  // bytes as unsigned char; a prefix is smaller
        cmp = c < 0 ? -1 : c > 0 ? 1 : 0;
      } else if (l.IsIntegerLike() && r.IsIntegerLike()) {
        int64_t a, b;
        l.ToInt64(a);
        r.ToInt64(b);
        cmp = a < b ? -1 : a > b ? 1 : 0;
      } else {
        double a, b;
        if (!l.ToFloat(a) || !r.ToFloat(b)) return bad();
        cmp = a < b ? -1 : a > b ? 1 : 0;
        if (std::isnan(a) || std::isnan(b)) cmp = 2;
      }
      bool v;
      switch (op) {
        case tkEq: v = cmp == 0; break;
        case tkNe: v = cmp != 0; break;
        case tkGt: v = cmp == 1; break;
        case tkLt: v = cmp == -1; break;
        case tkGe: v = cmp == 1 || cmp == 0; break;
        default: v = cmp == -1 || cmp == 0; break;
      }
      out = TValue::Boolean(v);
      return;
    }
    case tkPlus: case tkMinus: case tkMul: {
      if (op == tkPlus && ls && rs) {
        if (&out == &l) {
          out.kind = TValueKind::String;
          out.s.append(r.s);
        } else {
          std::string s = l.s + r.s;
          out = TValue::String(std::move(s));
        }
        return;
      }
      if (l.IsIntegerLike() && r.IsIntegerLike()) {
        int64_t a, b;
        l.ToInt64(a);
        r.ToInt64(b);
        __int128 v = op == tkPlus ? __int128(a) + b : op == tkMinus ? __int128(a) - b : __int128(a) * b;
        bool big = l.kind == TValueKind::BigInt || r.kind == TValueKind::BigInt;
        out.s.clear();
        SetIntegral(out, v, big);
        return;
      }
      double a, b;
      if (!l.ToFloat(a) || !r.ToFloat(b)) return bad();
      bool ld = l.kind == TValueKind::DateTime, rd = r.kind == TValueKind::DateTime;
      double v = op == tkPlus ? a + b : op == tkMinus ? a - b : a * b;
      bool date = op == tkPlus ? (ld != rd) : op == tkMinus ? (ld && !rd) : false;
      out = date ? TValue::DateTime(v) : TValue::Float(v);
      return;
    }
    case tkSlash: {
      double a, b;
      if (!l.ToFloat(a) || !r.ToFloat(b)) return bad();
      if (b == 0) {
        Report(5, "Division by zero", unit);
        return;
      }
      out = TValue::Float(a / b);
      return;
    }
    case tkPow: {
      double a, b;
      if (!l.ToFloat(a) || !r.ToFloat(b)) return bad();
      // Single precision, as games have always seen it: 2 ^ 0.5 is 1.41421353816986.
      out = TValue::Float(double(std::pow(float(a), float(b))));
      return;
    }
    case tkShl: case tkShr: {
      int32_t a, b;
      if (!l.ToInteger(a) || !r.ToInteger(b)) return bad();
      uint32_t ua = uint32_t(a), n = uint32_t(b) & 31;
      out = TValue::Integer(int32_t(op == tkShl ? ua << n : ua >> n));
      return;
    }
  }
  bad();
}

void TPasCalc::ApplyPrefix(uint8_t op, TValue& v, TRange unit) {
  if (op == tkPlus) return;
  if (op == tkNot) {
    bool zero;
    if (v.IsString()) {
      double d;
      if (!ParseDecimal(v.s, d)) {
        Report(5, "Invalid operand types for \"NOT\"", unit);
        return;
      }
      zero = d == 0;
    } else if (v.kind == TValueKind::Float || v.kind == TValueKind::DateTime) {
      zero = v.f == 0;
    } else {
      zero = v.i == 0;
    }
    v = TValue::Byte(zero ? 1 : 0);
    return;
  }
  // prefix "-"
  if (v.IsIntegerLike()) {
    int64_t a;
    v.ToInt64(a);
    bool big = v.kind == TValueKind::BigInt;
    SetIntegral(v, -__int128(a), big);
    return;
  }
  if (v.kind == TValueKind::Float || v.kind == TValueKind::DateTime) {
    v.f = -v.f;
    return;
  }
  double d;
  if (!v.ToFloat(d)) {
    Report(5, "Invalid operand types for \"-\"", unit);
    return;
  }
  v = TValue::Float(-d);
}

}  // namespace kw
