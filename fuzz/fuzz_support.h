// What every fuzz target shares: a scratch folder to work in (the readers
// take file names), silenced standard output, and a run whose circuit has
// been read, checked and preprocessed as the program does it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/run.h"

// Enters a scratch folder of its own the first time it is called (removed
// when the fuzzer ends), and removes the files earlier inputs left there
// that a run appends to.
void enter_scratch_folder();

// Sends standard output nowhere while it lives.
class quiet_C {
 public:
  quiet_C();
  ~quiet_C();
  quiet_C(const quiet_C&) = delete;
  quiet_C& operator=(const quiet_C&) = delete;

 private:
  std::streambuf* old_;
};

// Writes the bytes to the file.
void write_bytes(const std::string& path, const uint8_t* data, size_t size);

// A run on the bridge example as "fuzz.cir", in the model, read, checked
// and given its levels; with simulate also preprocessed for pattern-file
// simulation.
std::unique_ptr<run_C> prepared_run(fault_model_t model, bool simulate);

// The fault model a byte selects.
fault_model_t model_of(uint8_t byte);

// Runs a step of a run; the ends a run may take on bad input (a fatal
// error, an early end) are expected outcomes, not findings.
template <class F>
void guarded(F step) {
  try {
    step();
  } catch (const fatal_error_C&) {
  } catch (const run_ended_t&) {
  }
}
