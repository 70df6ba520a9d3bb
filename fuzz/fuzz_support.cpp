#include "fuzz/fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <streambuf>

#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"
#include "preproc/levels.h"

namespace {

class null_buffer_C : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

null_buffer_C null_buffer;

std::string scratch_folder;

void remove_scratch_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch_folder, ignored);
}

}  // namespace

void enter_scratch_folder() {
  if (scratch_folder.empty()) {
    std::string templ = (std::filesystem::temp_directory_path() / "quarn_fuzz_XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr || chdir(templ.c_str()) != 0) abort();
    scratch_folder = templ;
    std::atexit(remove_scratch_folder);
  }
  for (const char* file : {"fuzz.stat", "fuzz.red", "fuzz.tests", "fuzz.debug", "statistik"})
    std::remove(file);
}

quiet_C::quiet_C() : old_(std::cout.rdbuf(&null_buffer)) {}
quiet_C::~quiet_C() {
  std::cout.rdbuf(old_);
}

void write_bytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::unique_ptr<run_C> prepared_run(fault_model_t model, bool simulate) {
  enter_scratch_folder();
  static const std::string circuit = [] {
    std::ifstream in(std::string(QUARN_EXAMPLES) + "/bridge.cir");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  write_bytes("fuzz.cir", reinterpret_cast<const uint8_t*>(circuit.data()), circuit.size());
  auto run = std::make_unique<run_C>();
  run->settings.schaltungsname_s = "fuzz.cir";
  run->settings.select_fault_model(model);
  run->settings.fault_simulation_only_b = simulate;
  read_circuit(run->circuit, run->settings);
  transform_circuit(run->circuit);
  run->listen_init();
  proof(run->circuit);
  if (simulate) {
    run->preprocessing.praeprocessing(1);
  } else {
    calculate_planes(run->circuit, run->messages);
  }
  return run;
}

fault_model_t model_of(uint8_t byte) {
  return static_cast<fault_model_t>(byte % (static_cast<int>(fault_model_t::path_delay) + 1));
}
