// Circuits for tests, written as the text of a circuit file and built
// through the real reader, so that every test also exercises the format.
// Every circuit is read into a run of its own: the run the helpers below
// return, which stays the current run until the next circuit is loaded.
#pragma once

#include <string>
#include <vector>

#include "model/liste.h"

class line_C;
class gate_C;
class run_C;

// The parts of a circuit file in its usual layout. Declarations and
// instances are written without their closing ";".
struct circuit_parts_t {
  std::string name = "test";
  std::string nodes;                   // "a, b, s"
  std::vector<std::string> gates;      // {"g1 : Exor", "g2 : And_2"}
  std::string inputs;                  // "a, b"
  std::string outputs;                 // "s"; also the strobe list
  std::vector<std::string> instances;  // {"g1 ( a, b ; s )"}
};

// The whole file, one statement per line, under a single Con header.
std::string circuit_text(const circuit_parts_t& parts);
// The same from the signal names, the declarations (each "name : Type ;\n"),
// inputs, outputs and instances (each "gate ( inputs ; outputs ) ;\n").
std::string cir_text(const std::string& nodes, const std::string& declarations, const std::string& inputs,
                     const std::string& outputs, const std::string& instances);

// A chain of n inverters i<k>, each reading s<k-1> and driving s<k>, from the
// input s0 to the output s<n>. Unobserved, s<n> is read by nothing and the
// only output is y, driven by the input other through buf.
std::string inverter_chain(int n, bool observed = true);

// A new run, with nothing read, as the current run.
run_C& fresh_run();
// The run the last circuit was loaded into.
run_C& current_run();

// Writes the text to file_name, makes that the circuit name of a fresh run
// and reads the circuit, then transforms it unless told not to.
run_C& load_circuit(const std::string& text, bool transform = true,
                    const std::string& file_name = "circuit.cir");

// Reads the text as a run does up to the circuit check: loads it as stem.cir,
// sizes the working lists and checks it.
run_C& read_checked_circuit(const std::string& stem, const std::string& text);

// The record of that name in the current run's name index; null when there
// is none.
line_C* signal_named(const std::string& name);
gate_C* gate_named(const std::string& name);
// The signal of that name; throws when it is absent.
line_C* line_named(const std::string& name);

// The names of the elements of a list, in list order.
std::vector<std::string> names_of(const line_liste_C& list);
std::vector<std::string> names_of(const gate_liste_C& list);
