// The lexical level of the gate-level circuit file.
#pragma once

#include <string>

enum class token_t {
  NODE,
  CIRCUIT,
  CON,
  RD,
  FD,
  RDT,
  FDT,
  INPUT,
  OUTPUT,
  STROBE,
  STROBEALL,
  BEGIN,
  DELAY,
  END,
  BIT,
  AND,
  OR,
  NAND,
  NOR,
  EXOR,
  BLOCK,
  INVERTER,
  DRIVER,
  DFLIPFLOP,
  LPAREN,
  RPAREN,
  COMMA,
  COLON,
  SEMICOLON,
  EQUALS,
  NUMBER,
  IDENT,
  END_OF_INPUT,
};

// Longest semantic value a token may carry.
constexpr int max_token_length = 799;

class scanner_C {
 public:
  int yylineno = 1;
  int yycolumn = 1;
  std::string text;  // keyword or identifier text
  int number = 0;    // value of a NUMBER

  explicit scanner_C(std::string input) : input_(std::move(input)) {}

  // The next token; stray bytes are echoed to standard output and skipped.
  token_t next();

 private:
  std::string input_;
  size_t pos_ = 0;

  bool comment_ahead(size_t& length) const;
  token_t word(size_t length);
  [[noreturn]] void fail(const char* message) const;
};

// The keyword a whole word stands for, or IDENT.
token_t classify_word(const std::string& word);
