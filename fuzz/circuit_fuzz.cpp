// A circuit reader, the transformation and the circuit check on arbitrary
// bytes: the .cir reader, or the .bench reader where the target is built
// with QUARN_FUZZ_CIRCUIT_FILE="fuzz.bench".
#include "fuzz/fuzz_support.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"

#ifndef QUARN_FUZZ_CIRCUIT_FILE
#define QUARN_FUZZ_CIRCUIT_FILE "fuzz.cir"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enter_scratch_folder();
  write_bytes(QUARN_FUZZ_CIRCUIT_FILE, data, size);
  quiet_C quiet;
  run_C run;
  run.settings.schaltungsname_s = QUARN_FUZZ_CIRCUIT_FILE;
  guarded([&] {
    read_circuit(run.circuit, run.settings);
    transform_circuit(run.circuit);
    run.listen_init();
    proof(run.circuit);
  });
  return 0;
}
