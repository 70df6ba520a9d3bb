// The .bench netlist reader, the transformation and the circuit check on
// arbitrary bytes.
#include "fuzz/fuzz_support.h"
#include "input/check.h"
#include "input/parser.h"
#include "input/transform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enter_scratch_folder();
  write_bytes("fuzz.bench", data, size);
  quiet_C quiet;
  run_C run;
  run.settings.schaltungsname_s = "fuzz.bench";
  guarded([&] {
    read_circuit(run.circuit, run.settings);
    transform_circuit(run.circuit);
    run.listen_init();
    proof(run.circuit);
  });
  return 0;
}
