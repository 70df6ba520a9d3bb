// The lexical rules of the circuit file: keywords against names, comments,
// stray bytes and the position count.
#include "input/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/capture_output.h"

namespace {

using T = token_t;

std::vector<token_t> tokens(const std::string& text) {
  scanner_C scanner(text);
  std::vector<token_t> result;
  for (token_t t = scanner.next(); t != T::END_OF_INPUT; t = scanner.next()) result.push_back(t);
  return result;
}

TEST(Scanner, KeywordsAgainstNames) {
  EXPECT_EQ(tokens("Node node Circuit circuit And_2 and_12 Nor_99 Exor Tnet_3 end. begin bit"),
            (std::vector<T>{T::NODE, T::NODE, T::CIRCUIT, T::CIRCUIT, T::AND, T::AND, T::NOR, T::EXOR,
                            T::BLOCK, T::END, T::BEGIN, T::BIT}));
  // Capitals beyond the first letter, no number or a leading zero, anything appended: names.
  EXPECT_EQ(tokens("NODE CIRCUIT And_0 And_ And_05 AND_2 Exor_2 end end.x Begin Node_1"),
            std::vector<T>(11, T::IDENT));
  EXPECT_EQ(tokens("And_2(a,b;c)=12"),
            (std::vector<T>{T::AND, T::LPAREN, T::IDENT, T::COMMA, T::IDENT, T::SEMICOLON, T::IDENT,
                            T::RPAREN, T::EQUALS, T::NUMBER}));
}

TEST(Scanner, CommentsAreCountedStrayBytesAreEchoedAndNotCounted) {
  output_capture_C out;
  // A comment runs to the last closing brace of its line.
  scanner_C scanner("ab { x } y } cd\n\t#$ef {");
  EXPECT_EQ(scanner.next(), T::IDENT);
  EXPECT_EQ(scanner.yycolumn, 3);
  EXPECT_EQ(scanner.next(), T::IDENT);
  EXPECT_EQ(scanner.text, "cd");
  EXPECT_EQ(scanner.yycolumn, 16);
  EXPECT_EQ(scanner.next(), T::IDENT);
  EXPECT_EQ(scanner.text, "ef");
  EXPECT_EQ(scanner.yylineno, 2);
  EXPECT_EQ(scanner.yycolumn, 3);
  EXPECT_EQ(scanner.next(), T::END_OF_INPUT);
  EXPECT_EQ(out.text(), "\t#${");  // an unclosed brace is a stray byte too
}

}  // namespace
