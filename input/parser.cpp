#include "input/parser.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/messages.h"
#include "base/settings.h"
#include "input/bench_parser.h"
#include "input/scanner.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

// Most signals one instance list may name.
constexpr int io_list_capacity = 100;

class parser_C {
 public:
  parser_C(std::string input, circuit_C& circuit, settings_C& settings)
      : circuit_(circuit), settings_(settings), statistic_u(circuit.statistic_u), scan_(std::move(input)) {
    read_gates_C.init(0);
    io_lines_C.init(io_list_capacity);
    advance();
  }

  void circuit_file();

 private:
  circuit_C& circuit_;
  settings_C& settings_;
  statistic_t& statistic_u;
  scanner_C scan_;
  token_t look_;
  std::string look_text_;
  gate_liste_C read_gates_C;
  line_liste_C io_lines_C;

  void advance() {
    look_ = scan_.next();
    look_text_ = scan_.text;
  }
  [[noreturn]] void parse_error() {
    std::cout << "\nLine: " << scan_.yylineno << ", Column: " << scan_.yycolumn;
    error(string_C("parse error"));
  }
  void expect(token_t t) {
    if (look_ != t) parse_error();
    advance();
  }
  // Consumes an identifier and returns its text.
  std::string ident() {
    if (look_ != token_t::IDENT) parse_error();
    std::string name = look_text_;
    advance();
    return name;
  }
  int number() {
    if (look_ != token_t::NUMBER) parse_error();
    int n = scan_.number;
    advance();
    return n;
  }
  // A comma-separated list of identifiers, each handed to action as read.
  template <class F>
  void names(F action) {
    action(ident());
    while (look_ == token_t::COMMA) {
      advance();
      action(ident());
    }
  }

  void circuit_statement();
  void node_statement();
  void connection_header();
  void gate_declaration();
  void port_statement(token_t keyword, bool input);
  void netlist();
  void instance();
  void add_io_line(const std::string& name);
};

void parser_C::circuit_file() {
  circuit_statement();
  node_statement();
  connection_header();
  gate_declaration();  // the first header needs at least one declaration
  while (look_ == token_t::IDENT || look_ == token_t::CON) {
    if (look_ == token_t::CON) {
      connection_header();
    } else {
      gate_declaration();
    }
  }
  port_statement(token_t::INPUT, true);
  port_statement(token_t::OUTPUT, false);
  netlist();
  if (look_ != token_t::END_OF_INPUT) parse_error();
}

void parser_C::circuit_statement() {
  expect(token_t::CIRCUIT);
  ident();
  expect(token_t::SEMICOLON);
  settings_.schaltungsname_s = string_C(settings_.schaltungsname_s).basename();
}

void parser_C::node_statement() {
  expect(token_t::NODE);
  names([this](const std::string& name) {
    statistic_u.no_signals_i++;
    circuit_.add_line(circuit_.new_line(name, 5));
  });
  expect(token_t::COLON);
  expect(token_t::BIT);
  expect(token_t::SEMICOLON);
}

void parser_C::connection_header() {
  expect(token_t::CON);
  expect(token_t::LPAREN);
  expect(token_t::DELAY);
  expect(token_t::COLON);
  if (look_ == token_t::NUMBER) {
    advance();  // a plain delay is ignored
  } else {
    expect(token_t::RD);
    expect(token_t::EQUALS);
    int rd = number();
    expect(token_t::SEMICOLON);
    expect(token_t::FD);
    expect(token_t::EQUALS);
    int fd = number();
    circuit_.rd_i = rd;
    circuit_.fd_i = fd;
    expect(token_t::SEMICOLON);
    expect(token_t::RDT);
    expect(token_t::EQUALS);
    int rdt = number();
    expect(token_t::SEMICOLON);
    expect(token_t::FDT);
    expect(token_t::EQUALS);
    int fdt = number();
    circuit_.rdt_i = rdt;
    circuit_.fdt_i = fdt;
  }
  expect(token_t::RPAREN);
}

// The number written after the underscore of a gate keyword (And_12).
int inputs_from_keyword(const std::string& keyword) {
  size_t n = keyword.size();
  return keyword[n - 2] == '_' ? keyword[n - 1] - '0' : std::atoi(keyword.c_str() + n - 2);
}

void parser_C::gate_declaration() {
  names([this](const std::string& name) {
    statistic_u.no_gates_i++;
    gate_C* g = circuit_.new_gate(name);
    append_within_room(read_gates_C, g, max_gates);
    circuit_.add_gate(g);
  });
  expect(token_t::COLON);
  char type;
  int inputs = 1;
  int* counter;
  switch (look_) {
    case token_t::AND:
      type = AND_GATE, counter = &statistic_u.no_and_i, inputs = inputs_from_keyword(look_text_);
      break;
    case token_t::OR:
      type = OR_GATE, counter = &statistic_u.no_or_i, inputs = inputs_from_keyword(look_text_);
      break;
    case token_t::NAND:
      type = NAND_GATE, counter = &statistic_u.no_nand_i, inputs = inputs_from_keyword(look_text_);
      break;
    case token_t::NOR:
      type = NOR_GATE, counter = &statistic_u.no_nor_i, inputs = inputs_from_keyword(look_text_);
      break;
    case token_t::BLOCK:
      type = BLOCK_GATE, counter = &statistic_u.no_blocks_i, inputs = inputs_from_keyword(look_text_);
      break;
    case token_t::EXOR:
      type = EXOR_GATE, counter = &statistic_u.no_exor_i, inputs = 2;
      break;
    case token_t::INVERTER:
      type = INVERTER_GATE, counter = &statistic_u.no_inverter_i;
      break;
    case token_t::DRIVER:
      type = DRIVER_GATE, counter = &statistic_u.no_driver_i;
      break;
    case token_t::DFLIPFLOP:
      type = FLIPFLOP_GATE, counter = &statistic_u.no_flipflop_i;
      break;
    default:
      parse_error();
  }
  advance();
  if (look_ != token_t::SEMICOLON) parse_error();
  *counter += read_gates_C.anzahl_i;
  for (int i = 0; i < read_gates_C.anzahl_i; i++) read_gates_C[i]->belege_gate(type, inputs, 1);
  read_gates_C.anzahl_i = 0;
  advance();
}

void parser_C::port_statement(token_t keyword, bool input) {
  expect(keyword);
  names([&](const std::string& name) {
    (input ? statistic_u.no_primary_inputs_i : statistic_u.no_primary_outputs_i)++;
    line_C* line = circuit_.search_line(name);
    if (line == nullptr) {
      std::cout << name;
      error(string_C("Line not found in definition"));
    }
    (input ? line->primary_input_b : line->primary_output_b) = 1;
    if (input) {
      circuit_.add_input(line);
    } else {
      circuit_.add_output(line);
    }
  });
  expect(token_t::SEMICOLON);
}

void parser_C::netlist() {
  expect(token_t::STROBE);
  expect(token_t::STROBEALL);
  expect(token_t::COLON);
  names([](const std::string&) {});
  expect(token_t::SEMICOLON);
  expect(token_t::BEGIN);
  instance();
  while (look_ == token_t::IDENT) instance();
  expect(token_t::END);
}

void parser_C::add_io_line(const std::string& name) {
  line_C* line = circuit_.search_line(name);
  if (line == nullptr) {
    std::cout << name;
    error(string_C("Line not found in list"));
  }
  if (io_lines_C.anzahl_i == io_list_capacity) {
    std::cout << "\nLine: " << scan_.yylineno << ", Column: " << scan_.yycolumn;
    error(with_limit("instance list has too many signals", io_list_capacity));
  }
  io_lines_C.fuege_ein(line);
}

void parser_C::instance() {
  std::string gate_name = ident();
  auto gate = [this, &gate_name] {
    gate_C* g = circuit_.search_gate(gate_name);
    if (g == nullptr) {
      std::cout << gate_name;
      error(string_C("Gate not found in definition"));
    }
    return g;
  };
  expect(token_t::LPAREN);
  names([this](const std::string& name) { add_io_line(name); });
  if (look_ != token_t::SEMICOLON) parse_error();
  gate()->connect_input(io_lines_C);
  io_lines_C.anzahl_i = 0;
  advance();
  names([this](const std::string& name) { add_io_line(name); });
  expect(token_t::RPAREN);
  if (look_ != token_t::SEMICOLON) parse_error();
  gate()->connect_output(io_lines_C);
  io_lines_C.anzahl_i = 0;
  advance();
}

}  // namespace

void read_circuit(circuit_C& circuit, settings_C& settings) {
  std::cout << "Read Circuit   Name = " << settings.schaltungsname_s << "\n" << std::flush;
  std::ifstream file(settings.schaltungsname_s, std::ios::binary);
  if (!file) error(string_C("file not found"));
  std::stringstream text;
  text << file.rdbuf();
  if (is_bench_file(settings.schaltungsname_s)) {
    read_bench_circuit(circuit, settings, text.str());
    return;
  }
  parser_C parser(text.str(), circuit, settings);
  parser.circuit_file();
}
