// The fault list file reader: the first byte selects one of the fault
// models that read such a file, the rest is the file.
#include <map>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "preproc/fault_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const fault_model_t models[] = {fault_model_t::stuck_at,   fault_model_t::stuck_at_without_branches,
                                         fault_model_t::iddq,       fault_model_t::stuck_on,
                                         fault_model_t::transition, fault_model_t::stuck_open,
                                         fault_model_t::path_delay};
  const fault_model_t model = models[data[0] % (sizeof models / sizeof models[0])];
  enter_scratch_folder();
  quiet_C quiet;
  // One run per model serves every input: the reader changes only the target list.
  static std::map<fault_model_t, std::unique_ptr<run_C>> runs;
  std::unique_ptr<run_C>& run = runs[model];
  if (!run) run = prepared_run(model, false);
  run->target_list.zielfehler_C.anzahl_i = 0;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  guarded([&] { read_flt(in, run->circuit, run->settings, run->messages, run->target_list); });
  return 0;
}
