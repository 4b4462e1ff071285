// Source preparation, the tokenizer and token strings.
//
// A token string is the prepared form of a script: every token written as
// the byte 127, the byte (kind + 64) and the token's text. Everything that
// runs walks token strings (decoded once into TToken arrays), never the
// source text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// Token kinds. The order is the token table's order and is fixed: the
// kind byte of stored token strings depends on it, and the tokenizer tries
// the table in this order.
enum TTokenKind : uint8_t {
  tkEnd = 0, tkIdent = 1, tkConst = 2,
  tkTrue = 3, tkFalse, tkEq, tkOr, tkAnd, tkNot, tkXor,
  tkComma = 10, tkColon, tkNe, tkGt, tkLt, tkGe, tkLe, tkPlus, tkMinus, tkMul, tkSlash, tkPow,
  tkLParen = 22, tkRParen, tkLBracket, tkRBracket, tkSemicolon, tkLineComment, tkLBrace, tkRBrace,
  tkAssign = 30,
  tkBegin = 31, tkEndKw, tkIf, tkThen, tkElse, tkFor, tkTo, tkDownto, tkDo, tkWhile, tkRepeat,
  tkUntil, tkBreak, tkContinue, tkExit, tkGoto = 46,
  tkShl = 47, tkShr, tkProcedure, tkFunction, tkUses, tkInclude, tkCase, tkOf, tkRange = 55,
  tkBad = 56,  // a kind byte outside the table in a hand-made token string
};

constexpr char kTokenMark = 127;

// The fixed text of a table kind (empty for kinds 0 to 2 and tkBad).
const char* TokenTableText(int kind);

// Comments removed ("//" and "{" to the end of the line, "{" up to "}"),
// ASCII letters upper-cased outside string literals.
std::string PrepareSource(std::string_view source);

// The token string of a source text (prepared first).
std::string MakeTokenString(std::string_view source);

struct TToken {
  uint8_t kind;
  std::string_view text;
};

// The tokens of a token string, its end token not included. Views point
// into `tokenString`. Bytes before the first byte 127 are ignored; a token
// of kind 0 ends the string.
std::vector<TToken> DecodeTokenString(std::string_view tokenString);

// A range of tokens written out for messages: every text followed by one
// blank, and one more blank for the end token ("X := 1" -> "X := 1  ").
std::string WriteOut(const TToken* begin, const TToken* end);
// The same range as a token string again.
std::string ToTokenString(const TToken* begin, const TToken* end);
// The texts joined without blanks ("A [ 2 ]" -> "A[2]").
std::string JoinTexts(const TToken* begin, const TToken* end);
void AppendToken(std::string& tokenString, uint8_t kind, std::string_view text);

}  // namespace kw
