// The lexical rules of the circuit file: which words are keywords, what the
// longest match gives, comments, stray bytes and the position count.
#include "input/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/capture_output.h"
#include "support/child.h"

namespace {

using T = token_t;

std::vector<token_t> tokens(const std::string& text) {
  scanner_C scanner(text);
  std::vector<token_t> result;
  for (token_t t = scanner.next(); t != T::END_OF_INPUT; t = scanner.next()) result.push_back(t);
  return result;
}

// The texts of the words, one per keyword or identifier token.
std::vector<std::string> words(const std::string& text) {
  scanner_C scanner(text);
  std::vector<std::string> result;
  for (token_t t = scanner.next(); t != T::END_OF_INPUT; t = scanner.next()) {
    if (t != T::NUMBER && t != T::LPAREN && t != T::RPAREN && t != T::COMMA && t != T::COLON &&
        t != T::SEMICOLON && t != T::EQUALS) {
      result.push_back(scanner.text);
    }
  }
  return result;
}

TEST(Scanner, StatementKeywordsTakeEitherCaseOnlyInTheFirstLetter) {
  EXPECT_EQ(tokens("Node node NODE nODE"), (std::vector<T>{T::NODE, T::NODE, T::IDENT, T::IDENT}));
  EXPECT_EQ(tokens("Circuit circuit CIRCUIT"), (std::vector<T>{T::CIRCUIT, T::CIRCUIT, T::IDENT}));
  EXPECT_EQ(tokens("Con con CON"), (std::vector<T>{T::CON, T::CON, T::IDENT}));
  EXPECT_EQ(tokens("Input input INPUT Output output OUTPUT"),
            (std::vector<T>{T::INPUT, T::INPUT, T::IDENT, T::OUTPUT, T::OUTPUT, T::IDENT}));
  EXPECT_EQ(tokens("Strobe strobe STROBE STROBEALL Strobeall"),
            (std::vector<T>{T::STROBE, T::STROBE, T::IDENT, T::STROBEALL, T::IDENT}));
}

TEST(Scanner, LowerCaseKeywordsAreExact) {
  EXPECT_EQ(tokens("rd fd rdt fdt Rd FD rdtx"),
            (std::vector<T>{T::RD, T::FD, T::RDT, T::FDT, T::IDENT, T::IDENT, T::IDENT}));
  EXPECT_EQ(tokens("begin Begin delay Delay bit Bit"),
            (std::vector<T>{T::BEGIN, T::IDENT, T::DELAY, T::IDENT, T::BIT, T::IDENT}));
}

TEST(Scanner, EndNeedsItsFullStopAndNothingBehind) {
  EXPECT_EQ(tokens("end. end end.x End."), (std::vector<T>{T::END, T::IDENT, T::IDENT, T::IDENT}));
  EXPECT_EQ(words("end.x"), (std::vector<std::string>{"end.x"}));
  EXPECT_EQ(tokens("end.;"), (std::vector<T>{T::END, T::SEMICOLON}));
}

TEST(Scanner, GateKeywordsNeedANumberStartingWithOneToNine) {
  EXPECT_EQ(tokens("And_2 and_12 Or_3 or_1 Nand_2 nand_99 Nor_4 nor_10"),
            (std::vector<T>{T::AND, T::AND, T::OR, T::OR, T::NAND, T::NAND, T::NOR, T::NOR}));
  EXPECT_EQ(tokens("Block_1 block_5 Tnet_3 tnet_20"),
            (std::vector<T>{T::BLOCK, T::BLOCK, T::BLOCK, T::BLOCK}));
  // No number, a leading zero, capitals or anything after the digits: names.
  EXPECT_EQ(tokens("And_0 And_ And_05 AND_2 And_2x And2 Nand_ NOR_2 Tnet_0"), std::vector<T>(9, T::IDENT));
}

TEST(Scanner, FixedGateKeywords) {
  EXPECT_EQ(tokens("Exor exor Inverter inverter Driver driver Dflipflop dflipflop"),
            (std::vector<T>{T::EXOR, T::EXOR, T::INVERTER, T::INVERTER, T::DRIVER, T::DRIVER, T::DFLIPFLOP,
                            T::DFLIPFLOP}));
  EXPECT_EQ(tokens("Exor_2 EXOR Exor2 DFlipflop INVERTER"), std::vector<T>(5, T::IDENT));
}

TEST(Scanner, IdentifiersTakeTheLongestRunOfNameCharacters) {
  // Every character an identifier may continue with, the byte 0xA7 included.
  const std::string name = "\\x_1!\"%*+-./<>@[]\xA7z";
  EXPECT_EQ(words(name + " _a b\\c"), (std::vector<std::string>{name, "_a", "b\\c"}));
  // A keyword inside a longer identifier is part of it.
  EXPECT_EQ(tokens("Node_1 begin.x And_2->x__1"), std::vector<T>(3, T::IDENT));
  // Punctuation ends a word; digits first make a number.
  EXPECT_EQ(tokens("And_2(a,b;c)=12abc"),
            (std::vector<T>{T::AND, T::LPAREN, T::IDENT, T::COMMA, T::IDENT, T::SEMICOLON, T::IDENT,
                            T::RPAREN, T::EQUALS, T::NUMBER, T::IDENT}));
}

TEST(Scanner, NumbersCarryTheirDecimalValue) {
  scanner_C scanner("0042 7");
  EXPECT_EQ(scanner.next(), T::NUMBER);
  EXPECT_EQ(scanner.number, 42);
  EXPECT_EQ(scanner.next(), T::NUMBER);
  EXPECT_EQ(scanner.number, 7);
  EXPECT_EQ(scanner.next(), T::END_OF_INPUT);
}

TEST(Scanner, ACommentRunsToTheLastClosingBraceOfItsLine) {
  EXPECT_EQ(words("{ a } b } c"), (std::vector<std::string>{"c"}));
  EXPECT_EQ(words("x {} y"), (std::vector<std::string>{"x", "y"}));
  // The brace of the next line does not close a comment on this one.
  output_capture_C out;
  EXPECT_EQ(words("{ a\nb }"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(out.text(), "{}");  // both braces are stray bytes
}

TEST(Scanner, StrayBytesAreEchoedAndSkipped) {
  output_capture_C out;
  EXPECT_EQ(words("\ta#b$\r\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(out.text(), "\t#$\r");
}

TEST(Scanner, ANulByteIsAStrayByteAndNotPartOfAName) {
  output_capture_C out;
  EXPECT_EQ(words(std::string("ab\0cd", 5)), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(out.text(), std::string(1, '\0'));
}

TEST(Scanner, ColumnCountsTokensSpacesAndCommentsButNotStrayBytes) {
  scanner_C scanner("ab  cd {x}\n\tef\r\n( 12");
  EXPECT_EQ(scanner.yylineno, 1);
  EXPECT_EQ(scanner.yycolumn, 1);
  scanner.next();  // ab
  EXPECT_EQ(scanner.yycolumn, 3);
  scanner.next();  // cd, after two spaces
  EXPECT_EQ(scanner.yycolumn, 7);
  output_capture_C out;
  scanner.next();  // ef: the comment and the newline came first, the tab does not count
  EXPECT_EQ(scanner.yylineno, 2);
  EXPECT_EQ(scanner.yycolumn, 3);
  scanner.next();  // (
  EXPECT_EQ(scanner.yylineno, 3);
  EXPECT_EQ(scanner.yycolumn, 2);
  scanner.next();  // 12
  EXPECT_EQ(scanner.yycolumn, 5);
  EXPECT_EQ(scanner.next(), T::END_OF_INPUT);
}

TEST(Scanner, TokensUpTo799CharactersAreAccepted) {
  const std::string name(max_token_length, 'n');
  EXPECT_EQ(words(name), (std::vector<std::string>{name}));
  scanner_C scanner(std::string(max_token_length, '9'));
  EXPECT_EQ(scanner.next(), T::NUMBER);
}

TEST(Scanner, AnOverlongTokenEndsTheRunWithItsPosition) {
  for (char c : {'n', '7'}) {
    child_result_t run = run_in_child([c] {
      scanner_C scanner("x\n  " + std::string(max_token_length + 1, c) + " y");
      while (scanner.next() != T::END_OF_INPUT) {
      }
    });
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.output.find("\nLine: 2, Column: 803\nERROR!!!\n"), 0u) << run.output;
  }
}

TEST(Scanner, AGateKeywordWithThreeDigitsEndsTheRunWithItsPosition) {
  EXPECT_EQ(words("And_99"), (std::vector<std::string>{"And_99"}));
  for (const char* keyword : {"And_123", "or_100", "Nand_999", "Nor_1000", "Tnet_123", "Block_100"}) {
    child_result_t run = run_in_child([keyword] {
      scanner_C scanner(std::string("g : ") + keyword + " ;");
      while (scanner.next() != T::END_OF_INPUT) {
      }
    });
    EXPECT_EQ(run.exit_status, 1) << keyword;
    std::string position = "\nLine: 1, Column: " + std::to_string(5 + std::string(keyword).size());
    EXPECT_EQ(run.output.find(position + "\nERROR!!!\n"), 0u) << run.output;
  }
}

}  // namespace
