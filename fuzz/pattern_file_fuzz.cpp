// Pattern-file simulation: the first byte selects the fault model, the rest
// is the pattern file simulated on the bridge example.
#include "app/pattern_simulation.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  enter_scratch_folder();
  quiet_C quiet;
  guarded([&] {
    std::unique_ptr<run_C> run = prepared_run(model_of(data[0]), true);
    write_bytes("fuzz.pat", data + 1, size - 1);
    simulate_circuit(*run);
  });
  return 0;
}
