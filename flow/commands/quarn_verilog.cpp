// quarn-verilog: a Verilog design synthesised by Yosys into a circuit file
// quarn reads.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "base/messages.h"
#include "flow/circuit_file_writer.h"
#include "flow/command.h"
#include "flow/gate_netlist.h"
#include "flow/yosys_synthesis.h"

namespace {

const char* const usage =
    "Usage: quarn-verilog <file.v>... --top MODULE [options]\n"
    "Has Yosys synthesise the module and flatten it to simple gates and plain D\n"
    "flip-flops (the clock dropped, enables and synchronous resets folded into\n"
    "logic, constants folded away), and writes a circuit quarn reads.\n"
    "\n"
    "Options:\n"
    "  --top MODULE           the top module (required)\n"
    "  -o, --output FILE      the circuit file (default: <MODULE>.cir); a name ending\n"
    "                         in .bench writes that .bench file and the .cir beside it\n"
    "  --async-reset sync     make asynchronous sets and resets synchronous (by\n"
    "                         default a design with them is refused)\n"
    "  --                     the arguments after it are files, even when they\n"
    "                         start with \"-\"\n"
    "\n"
    "Files ending in .sv are read as SystemVerilog. Outputs that synthesis leaves\n"
    "constant, and inputs that drive nothing left (the clock among them), are left\n"
    "out with a note on standard error.\n"
    "Exit status: 0 written, 1 error (Yosys' message included), 2 bad arguments.\n";

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.flush();
  if (!out) error(string_C("cannot write " + path));
}

int body(const std::vector<std::string>& args) {
  synthesis_options_t options;
  std::string output;
  for (argument_reader_C arg(args); arg.next();) {
    const std::string& w = arg.word();
    if (!arg.is_option()) {
      options.files.push_back(w);
    } else if (w == "--top") {
      options.top = arg.value();
    } else if (w == "-o" || w == "--output") {
      output = arg.value();
    } else if (w == "--async-reset") {
      if (arg.value() != "sync") throw usage_error_t{"--async-reset takes sync"};
      options.async_reset_to_sync = true;
    } else {
      arg.unknown_option();
    }
  }
  if (options.files.empty()) throw usage_error_t{"no Verilog file named"};
  if (options.top.empty()) throw usage_error_t{"no top module named (--top)"};
  if (!is_plain_module_name(options.top)) throw usage_error_t{"--top takes a plain Verilog module name"};
  if (output.empty()) output = options.top + ".cir";
  const bool bench = ends_with(output, ".bench");
  const std::string cir_file = bench ? output.substr(0, output.size() - 6) + ".cir" : output;

  std::vector<std::string> notes;
  gate_netlist_t netlist = synthesise_verilog(options, notes);
  simplify_netlist(netlist, notes);
  for (const std::string& note : notes) std::cerr << "note: " << note << "\n";
  write_text(cir_file, cir_text(netlist));
  if (bench) write_text(output, bench_text(netlist));
  std::cout << "Wrote " << cir_file << (bench ? " and " + output : std::string()) << ": "
            << netlist.inputs.size() << " inputs, " << netlist.outputs.size() << " outputs, "
            << netlist.flipflops.size() << " D flip-flops, " << netlist.gates.size() << " gates\n";
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  return run_command(argc, argv, usage, body);
}
