// The statement reader and the parsing of statements into TStmt forms.
#pragma once

#include <memory>

#include "script/compiled.h"

namespace kw {

struct TStatementRead {
  TRange stmt;          // the statement's tokens, empty at the end
  const TToken* next;   // past the stop token
  int error;            // 10, 11, 16, 17 when the depths are off at the end
  bool stoppedAtElse;
};

// The next statement from `p`: tokens up to the next ";" (or ELSE) at
// block depth (BEGIN, CASE / END) and loop depth (REPEAT / UNTIL) zero.
// Leading ";" are skipped.
TStatementRead ReadStatement(const TToken* p, const TToken* end, bool stopAtElse);
const char* ReaderErrorText(int code);

std::unique_ptr<TStmt> CompileStatement(TRange r);
void CompileBlock(TBlock& block);

}  // namespace kw
