// Source preparation, tokens and token strings.
#include <gtest/gtest.h>

#include "script/lexer.h"

namespace kw {
namespace {

// "KIND:TEXT" per token, blank separated.
std::string Tokens(const std::string& source) {
  std::string ts = MakeTokenString(source);
  std::vector<TToken> tokens = DecodeTokenString(ts);
  std::string r;
  for (const TToken& t : tokens) r += (r.empty() ? "" : " ") + std::to_string(t.kind) + ":" + std::string(t.text);
  return r;
}

TEST(Lexer, LongestMatchAndWordBoundaries) {
  struct Case { const char* source; const char* tokens; };
  const Case cases[] = {
      {"X := 1", "1:X 30::= 2:1"},
      {"A>=B", "1:A 15:>= 1:B"},
      {"A <> B", "1:A 12:<> 1:B"},
      {"FOR I := 3 DOWNTO 1 DO", "36:FOR 1:I 30::= 2:3 38:DOWNTO 2:1 39:DO"},
      {"ORDER TOTAL DONE", "1:ORDER 1:TOTAL 1:DONE"},
      {"1..5", "2:1 55:.. 2:5"},
      {"'a'..3", "2:'a' 55:.. 2:3"},
      {"..X .X A.B.C", "1:..X 1:.X 1:A.B.C"},
      {"1.5.2 1E5", "2:1.5.2 2:1E5"},
      {"'it''s'", "2:'it' 2:'s'"},
      {"'mixed\"", "2:'mixed\""},
      {"!X $1", "1:!X 1:$1"},
      {"END.", "1:END."},
      {"A[1,2](3)", "1:A 24:[ 2:1 10:, 2:2 25:] 22:( 2:3 23:)"},
      {"'open", "2:'open"},
      {"x shl 2", "1:X 47:SHL 2:2"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.source), c.tokens) << c.source;
}

TEST(Lexer, PreparationDropsCommentsAndUpperCasesOutsideStrings) {
  struct Case { const char* source; const char* prepared; };
  const Case cases[] = {
      {"x := 1 { note } + 1", "X := 1  + 1"},
      {"x := 1 // note\ny := 2", "X := 1 \nY := 2"},
      {"a { open\nb", "A \nB"},
      {"s := 'a{b}//c'", "S := 'a{b}//c'"},
      {"s := \"q'x\" + y", "S := \"q'X\" + y"},  // either quote ends a string
      {"a } b", "A  B"},
      {"\xE0\xE1 abc", "\xE0\xE1 ABC"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrepareSource(c.source), c.prepared) << c.source;
}

TEST(Lexer, TokenStringBytesAndWriteOut) {
  std::string ts = MakeTokenString("X := 1");
  EXPECT_EQ(ts, std::string("\x7F" "AX" "\x7F" "^:=" "\x7F" "B1"));
  std::vector<TToken> tokens = DecodeTokenString(ts);
  EXPECT_EQ(WriteOut(tokens.data(), tokens.data() + tokens.size()), "X := 1  ");
  EXPECT_EQ(WriteOut(tokens.data(), tokens.data()), " ");
  EXPECT_EQ(ToTokenString(tokens.data(), tokens.data() + tokens.size()), ts);
  EXPECT_EQ(JoinTexts(tokens.data(), tokens.data() + tokens.size()), "X:=1");
}

TEST(Lexer, HandMadeTokenStringsDecodeSafely) {
  // Leading bytes are skipped; kind bytes outside the table become tkBad;
  // a kind-0 token ends the string; a lone mark at the end is dropped.
  std::string ts = std::string("junk\x7F") + char(200) + "Q" + "\x7F" "AY" "\x7F" "@" "\x7F" "AZ";
  std::vector<TToken> tokens = DecodeTokenString(ts);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].kind, tkBad);
  EXPECT_EQ(tokens[1].text, "Y");
  EXPECT_TRUE(DecodeTokenString("\x7F").empty());
}

}  // namespace
}  // namespace kw
