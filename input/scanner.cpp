#include "input/scanner.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "base/messages.h"

namespace {

bool starts_word(unsigned char c) {
  return std::isalpha(c) || c == '_' || c == '\\';
}

// strchr finds the terminating NUL too, so a NUL byte is excluded first: it
// is a stray byte, not part of a name.
bool continues_word(unsigned char c) {
  return std::isalnum(c) || (c != '\0' && std::strchr("_\\!\"%*+-./<>@[]", c) != nullptr) || c == 0xA7;
}

// "Node" or "node": only the first letter may be either case.
bool keyword_is(const std::string& w, const char* keyword) {
  return w.size() == std::strlen(keyword) && std::tolower(static_cast<unsigned char>(w[0])) == keyword[0] &&
         w.compare(1, std::string::npos, keyword + 1) == 0;
}

// "And_" then a digit 1-9, then digits.
bool gate_keyword_is(const std::string& w, const char* stem) {
  size_t n = std::strlen(stem);
  if (w.size() < n + 1 || w.compare(1, n - 1, stem + 1) != 0) return false;
  if (std::tolower(static_cast<unsigned char>(w[0])) != stem[0]) return false;
  if (w[n] < '1' || w[n] > '9') return false;
  for (size_t i = n + 1; i < w.size(); i++) {
    if (!std::isdigit(static_cast<unsigned char>(w[i]))) return false;
  }
  return true;
}

}  // namespace

token_t classify_word(const std::string& w) {
  struct fixed_t {
    const char* word;
    token_t token;
    bool first_letter_either_case;
  };
  static const fixed_t fixed[] = {
      {"node", token_t::NODE, true},
      {"circuit", token_t::CIRCUIT, true},
      {"con", token_t::CON, true},
      {"rd", token_t::RD, false},
      {"fd", token_t::FD, false},
      {"rdt", token_t::RDT, false},
      {"fdt", token_t::FDT, false},
      {"input", token_t::INPUT, true},
      {"output", token_t::OUTPUT, true},
      {"strobe", token_t::STROBE, true},
      {"STROBEALL", token_t::STROBEALL, false},
      {"begin", token_t::BEGIN, false},
      {"delay", token_t::DELAY, false},
      {"end.", token_t::END, false},
      {"bit", token_t::BIT, false},
      {"exor", token_t::EXOR, true},
      {"inverter", token_t::INVERTER, true},
      {"driver", token_t::DRIVER, true},
      {"dflipflop", token_t::DFLIPFLOP, true},
  };
  for (const fixed_t& f : fixed) {
    if (f.first_letter_either_case ? keyword_is(w, f.word) : w == f.word) return f.token;
  }
  if (gate_keyword_is(w, "and_")) return token_t::AND;
  if (gate_keyword_is(w, "or_")) return token_t::OR;
  if (gate_keyword_is(w, "nand_")) return token_t::NAND;
  if (gate_keyword_is(w, "nor_")) return token_t::NOR;
  if (gate_keyword_is(w, "block_") || gate_keyword_is(w, "tnet_")) return token_t::BLOCK;
  return token_t::IDENT;
}

void scanner_C::fail(const char* message) const {
  std::cout << "\nLine: " << yylineno << ", Column: " << yycolumn;
  error(string_C(message));
}

// A "{" opens a comment only when a "}" follows on the same line; the
// comment runs to the last "}" of that line.
bool scanner_C::comment_ahead(size_t& length) const {
  size_t end = input_.find('\n', pos_);
  if (end == std::string::npos) end = input_.size();
  size_t close = input_.rfind('}', end == 0 ? 0 : end - 1);
  if (close == std::string::npos || close < pos_ || close >= end) return false;
  length = close - pos_ + 1;
  return true;
}

token_t scanner_C::word(size_t length) {
  text.assign(input_, pos_, length);
  pos_ += length;
  yycolumn += static_cast<int>(length);
  if (length > static_cast<size_t>(max_token_length)) fail("token longer than 799 characters");
  token_t t = classify_word(text);
  if ((t == token_t::AND || t == token_t::OR || t == token_t::NAND || t == token_t::NOR ||
       t == token_t::BLOCK) &&
      text.size() - text.find('_') - 1 > 2) {
    fail("gate keyword with more than two digits: at most 99 inputs");
  }
  return t;
}

token_t scanner_C::next() {
  while (pos_ < input_.size()) {
    unsigned char c = input_[pos_];
    size_t length = 0;
    if (c == '\n') {
      yylineno++;
      yycolumn = 1;
      pos_++;
    } else if (c == ' ') {
      yycolumn++;
      pos_++;
    } else if (c == '{' && comment_ahead(length)) {
      yycolumn += static_cast<int>(length);
      pos_ += length;
    } else if (std::strchr("(),:;=", c) != nullptr && c != '\0') {
      pos_++;
      yycolumn++;
      switch (c) {
        case '(':
          return token_t::LPAREN;
        case ')':
          return token_t::RPAREN;
        case ',':
          return token_t::COMMA;
        case ':':
          return token_t::COLON;
        case ';':
          return token_t::SEMICOLON;
        default:
          return token_t::EQUALS;
      }
    } else if (std::isdigit(c)) {
      size_t end = pos_;
      while (end < input_.size() && std::isdigit(static_cast<unsigned char>(input_[end]))) end++;
      text.assign(input_, pos_, end - pos_);
      yycolumn += static_cast<int>(end - pos_);
      pos_ = end;
      if (text.size() > static_cast<size_t>(max_token_length)) fail("token longer than 799 characters");
      number = static_cast<int>(std::min(std::strtol(text.c_str(), nullptr, 10), 2147483647L));
      return token_t::NUMBER;
    } else if (starts_word(c)) {
      size_t end = pos_ + 1;
      while (end < input_.size() && continues_word(static_cast<unsigned char>(input_[end]))) end++;
      return word(end - pos_);
    } else {
      std::cout.put(static_cast<char>(c));  // stray byte: echoed, not counted
      pos_++;
    }
  }
  return token_t::END_OF_INPUT;
}
