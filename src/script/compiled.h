// The parsed forms the interpreter caches for a token string, so that
// repeated passes do not re-read it. A TCompiledText owns one token string
// and its decoded tokens; blocks, statements and expression units refer to
// stretches of those tokens and are parsed lazily, the first time they run.
//
// Parse errors are not raised when parsing: they become nodes that report
// their error when execution reaches them, so errors, their order and the
// work done before them are those of reading the text while running it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/lexer.h"
#include "script/script_value.h"
#include "script/var_list.h"

namespace kw {

struct TRange {
  const TToken* b = nullptr;
  const TToken* e = nullptr;
  bool Empty() const { return b == e; }
  size_t Size() const { return size_t(e - b); }
};

struct TExprNode;
struct TBlock;
struct TStmt;

// One expression evaluated with Evaluate: an index piece, a call argument,
// the right side of an assignment, a condition. Parsed against the current
// function and procedure names (a name followed by neither "(" nor a
// function name reads as a variable), and parsed again when those change.
struct TExprUnit {
  TRange range;
  bool compiled = false;
  bool trailingOk = false;  // the token after the expression's look-ahead is the end
  uint64_t funcVersion = 0, procSignature = 0;
  std::unique_ptr<TExprNode> root;
  std::vector<std::unique_ptr<TExprNode>> retired;  // earlier parses, possibly still running
};

struct TIndexGroup {
  bool unterminated = false;  // "] expected"
  std::vector<std::unique_ptr<TExprUnit>> pieces;
};

struct TCallArg {
  std::unique_ptr<TExprUnit> unit;
  std::string joined;       // the tokens without blanks: the variable it may name
  bool joinedValid = false;  // a valid variable name
  mutable TVarHint varHint;
};

enum class TNodeKind : uint8_t { Const, Error, Seq, Chain, Prefix, Name, Call };

struct TExprNode {
  TNodeKind kind = TNodeKind::Const;
  uint8_t op = 0;  // Prefix: tkNot, tkPlus, tkMinus
  int errCode = 0;
  std::string errMsg;  // Error; Seq: raised after its operand ran
  TValue value;        // Const
  std::unique_ptr<TExprNode> a;  // Seq, Chain (first operand), Prefix
  std::vector<std::pair<uint8_t, std::unique_ptr<TExprNode>>> rest;  // Chain: operator, operand
  // Name and Call
  std::string name;
  std::string arrayPrefix;  // name + "["
  std::vector<TIndexGroup> groups;
  std::vector<TCallArg> args;
  TRange argsRange;
  mutable TVarHint varHint;
  mutable int funcHint = -1, procHint = -1;
};

enum class TStmtKind : uint8_t {
  Error, AssignOrCall, Compound, If, For, While, Repeat, Case, Jump, Goto,
};

enum class TAfterGroups : uint8_t { Assign, Call, Found };

struct TCaseRange {
  std::unique_ptr<TExprUnit> low, high;  // high is none for a single value
};

struct TCaseItem {
  enum Kind : uint8_t { Branch, Else, Error } kind = Branch;
  std::vector<TCaseRange> ranges;
  TRange stmt;  // the branch statement, run as a block
  std::unique_ptr<TBlock> block;
  int errCode = 0;
  std::string errMsg;
  TRange errRange;
};

struct TStmt {
  TStmtKind kind = TStmtKind::Error;
  TRange range;
  int errCode = 0;
  std::string errMsg;
  // A statement whose second token is ":" carries its first token as label.
  bool hasLabel = false;
  bool readerError = false;  // the statement reader failed here
  bool labelRunsRest = false;  // ordinary flow runs the part after the label
  std::string label;
  std::unique_ptr<TStmt> afterLabel;
  // AssignOrCall
  std::string name, arrayPrefix;
  bool nameValid = false;
  std::vector<TIndexGroup> groups;
  TAfterGroups after = TAfterGroups::Call;
  std::string foundText;
  mutable TVarHint varHint;
  // Expressions: assignment value or call, conditions, FOR bounds, CASE selector
  std::unique_ptr<TExprUnit> expr, expr2;
  // Compound: sub1; If: then sub1, else sub2; loops: body sub1
  TRange sub1, sub2;
  std::unique_ptr<TBlock> block1, block2;
  int lateErrCode = 0;  // raised after the first expression ran (FOR's "DO expected", IF's reader)
  std::string lateErrMsg;
  // For
  bool downto = false;
  // Jump
  uint8_t jump = 0;
  // Case
  std::vector<TCaseItem> items;
};

struct TBlock {
  TRange range;
  bool compiled = false;
  std::vector<std::unique_ptr<TStmt>> stmts;
};

struct TCompiledText {
  std::string tokenString;
  std::vector<TToken> tokens;
  TBlock block;
  TExprUnit unit;  // the whole text as one expression
};

}  // namespace kw
