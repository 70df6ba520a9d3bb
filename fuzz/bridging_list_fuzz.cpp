// The bridging list file reader: the first byte chooses between voltage and
// current detection, the rest is the file.
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "preproc/bridging_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  enter_scratch_folder();
  quiet_C quiet;
  // One run per model serves every input: the reader changes only the pair list.
  static std::unique_ptr<run_C> runs[2];
  std::unique_ptr<run_C>& run = runs[data[0] % 2];
  if (!run) run = prepared_run(data[0] % 2 ? fault_model_t::bridging_iddq : fault_model_t::bridging, false);
  run->target_list.zielfehler2_C.elemente_p.clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  guarded(
      [&] { read_bridging_fault_list(in, run->circuit, run->settings, run->messages, run->target_list); });
  return 0;
}
