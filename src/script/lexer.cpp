#include "script/lexer.h"

#include <cstring>

#include "script/var_list.h"

namespace kw {

namespace {

// The token table, in kind order (kinds 0 to 2 have no fixed text).
const char* const kTable[56] = {
    "", "", "",
    "TRUE", "FALSE", "=", "OR", "AND", "NOT", "XOR",
    ",", ":", "<>", ">", "<", ">=", "<=", "+", "-", "*", "/", "^",
    "(", ")", "[", "]", ";", "//", "{", "}", ":=",
    "BEGIN", "END", "IF", "THEN", "ELSE", "FOR", "TO", "DOWNTO", "DO", "WHILE", "REPEAT", "UNTIL",
    "BREAK", "CONTINUE", "EXIT", "GOTO",
    "SHL", "SHR", "PROCEDURE", "FUNCTION", "USES", "INCLUDE", "CASE", "OF", "..",
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsQuote(char c) { return c == '\'' || c == '"'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasNonIdentChar(const char* text) {
  for (const char* p = text; *p; ++p)
    if (!IsIdentChar(static_cast<unsigned char>(*p))) return true;
  return false;
}

std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

// One token from `pos`. ".." is the range token also when a digit follows
// it ('a'..3 is 'a', .. and 3), while "..X" stays a name (X of the
// grandparent). `afterSplit` is set when a number was cut before "..".
uint8_t NextToken(std::string_view text, size_t& pos, std::string_view& out, bool& afterSplit) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos >= text.size()) {
    out = {};
    return tkEnd;
  }
  bool forcedRange = afterSplit;
  afterSplit = false;
  int best = -1;
  size_t bestLen = 0;
  for (int k = 3; k < 56; ++k) {
    size_t len = std::strlen(kTable[k]);
    if (len <= bestLen || text.compare(pos, len, kTable[k]) != 0) continue;
    size_t after = pos + len;
    bool boundary = after >= text.size() || !IsIdentChar(static_cast<unsigned char>(text[after])) ||
                    HasNonIdentChar(kTable[k]) ||
                    (k == tkRange && (forcedRange || (after < text.size() && IsDigit(text[after]))));
    if (!boundary) continue;
    best = k;
    bestLen = len;
  }
  if (best >= 0) {
    out = text.substr(pos, bestLen);
    pos += bestLen;
    return uint8_t(best);
  }
  size_t start = pos;
  if (IsQuote(text[pos])) {
    size_t e = pos + 1;
    while (e < text.size() && !IsQuote(text[e])) ++e;
    if (e < text.size()) ++e;
    pos = e;
    out = TrimBlanks(text.substr(start, e - start));
    return tkConst;
  }
  size_t e = pos + 1;
  while (e < text.size() && IsIdentChar(static_cast<unsigned char>(text[e]))) ++e;
  std::string_view run = text.substr(start, e - start);
  if (IsDigit(run[0])) {
    size_t range = run.find("..");
    if (range != std::string_view::npos) {
      run = run.substr(0, range);
      e = start + range;
      afterSplit = true;
    }
  }
  pos = e;
  out = TrimBlanks(run);
  return IsDigit(run[0]) ? tkConst : tkIdent;
}

}  // namespace

const char* TokenTableText(int kind) { return kind >= 0 && kind < 56 ? kTable[kind] : ""; }

std::string PrepareSource(std::string_view source) {
  std::string out;
  out.reserve(source.size());
  bool inString = false, inComment = false;
  for (size_t i = 0; i < source.size(); ++i) {
    char c = source[i];
    if (IsQuote(c) && !inComment) {
      inString = !inString;
      out += c;
      continue;
    }
    if (!inString) {
      if (c == '}') {
        inComment = false;
        continue;
      }
      if (c == '\r' || c == '\n') {
        inComment = false;
        out += c;
        continue;
      }
      if (!inComment && (c == '{' || (c == '/' && i + 1 < source.size() && source[i + 1] == '/'))) {
        inComment = true;
        continue;
      }
    }
    if (inComment) continue;
    if (!inString && c >= 'a' && c <= 'z') c = char(c - 32);
    out += c;
  }
  return out;
}

void AppendToken(std::string& ts, uint8_t kind, std::string_view text) {
  ts += kTokenMark;
  ts += char(kind + 64);
  ts.append(text);
}

std::string MakeTokenString(std::string_view source) {
  std::string text = PrepareSource(source);
  std::string ts;
  ts.reserve(text.size() + text.size() / 2);
  size_t pos = 0;
  bool afterSplit = false;
  for (;;) {
    std::string_view t;
    uint8_t kind = NextToken(text, pos, t, afterSplit);
    if (kind == tkEnd) break;
    AppendToken(ts, kind, t);
  }
  return ts;
}

std::vector<TToken> DecodeTokenString(std::string_view ts) {
  std::vector<TToken> tokens;
  size_t p = ts.find(kTokenMark);
  while (p != std::string_view::npos && p < ts.size()) {
    if (p + 1 >= ts.size()) break;
    int kind = static_cast<unsigned char>(ts[p + 1]) - 64;
    if (kind == tkEnd) break;
    if (kind < 0 || kind > 55) kind = tkBad;
    size_t b = p + 2;
    size_t e = ts.find(kTokenMark, b);
    if (e == std::string_view::npos) e = ts.size();
    tokens.push_back(TToken{uint8_t(kind), ts.substr(b, e - b)});
    p = e;
  }
  return tokens;
}

std::string WriteOut(const TToken* b, const TToken* e) {
  std::string r;
  for (const TToken* t = b; t < e; ++t) {
    r.append(t->text);
    r += ' ';
  }
  r += ' ';
  return r;
}

std::string ToTokenString(const TToken* b, const TToken* e) {
  std::string r;
  for (const TToken* t = b; t < e; ++t) AppendToken(r, t->kind, t->text);
  return r;
}

std::string JoinTexts(const TToken* b, const TToken* e) {
  std::string r;
  for (const TToken* t = b; t < e; ++t) r.append(t->text);
  return r;
}

}  // namespace kw
