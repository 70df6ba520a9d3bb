// Signal names as Verilog text: names from a circuit file may be numbers,
// Verilog keywords or hold characters like "->" and "[", so each one is
// written as a simple identifier where it is one and escaped otherwise.
#pragma once

#include <set>
#include <string>

// A reserved word of Verilog or SystemVerilog (escaping such a name is
// harmless, so the list leans to the larger language).
bool is_verilog_keyword(const std::string& word);

// The name as a Verilog identifier: itself where it is a simple identifier
// and no keyword, else escaped ("\a->p_ ", the blank ending it). Bytes an
// escaped identifier cannot hold (blanks, control and non-ASCII bytes) are
// written as "_xHH".
std::string verilog_identifier(const std::string& name);

// The text as a Verilog string literal, quotes included.
std::string verilog_string(const std::string& text);

// Hands out identifiers that stay distinct in Verilog, where "\abc " and
// "abc" are the same name: a name already handed out gets "_2", "_3", ...
class verilog_namer_t {
 public:
  std::string unique(const std::string& name);

 private:
  std::set<std::string> taken_;  // the names without escape marks
};
