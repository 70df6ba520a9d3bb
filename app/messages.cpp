#include "app/messages.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "app/run.h"
#include "model/circuit.h"
#include "model/gate.h"
#include "model/line.h"

namespace {

std::string file_name(const char* extension) {
  return std::string(schaltungsname_s) + extension;
}

}  // namespace

void warning(string_C message) {
  static bool first_call = true;
  std::ofstream file(file_name(".stat"), std::ios::app);
  std::cout << "\nWARNING:  " << message << "\n" << std::flush;
  if (first_call) {
    file << "WARNING:  ";
    first_call = false;
  }
  file << message << "\n";
}

void error(string_C message) {
  {
    std::ofstream file(file_name(".stat"), std::ios::app);
    std::cout << "\nERROR!!!\n" << message << "\n";
    file << "ERROR!!!\t\t" << message << "\n";
  }
  print_all();
  std::cout << std::flush;
  std::exit(1);
}

void print_all() {
  std::cout << "Print the hole Datastructure in .debug File\n" << std::flush;
  std::ofstream file(file_name(".debug"), std::ios::trunc);
  file << "******************** Gatter ***********************\n";
  for (int i = 0; i < gates_C.anzahl_i; i++) gates_C[i]->print_all(file);
  file << "******************** Signale ***********************\n";
  for (int i = 0; i < lines_C.anzahl_i; i++) lines_C[i]->print_all(file);
  file << "******************** Eingaenge ***********************\n";
  for (int i = 0; i < input_lines_C.anzahl_i; i++) input_lines_C[i]->print_all(file);
  file << "******************** Ausgaenge ***********************\n";
  for (int i = 0; i < output_lines_C.anzahl_i; i++) output_lines_C[i]->print_all(file);
}

string_C with_limit(const char* message, long limit) {
  return string_C(std::string(message) + " (limit " + std::to_string(limit) + ")");
}
