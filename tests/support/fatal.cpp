#include "support/fatal.h"

#include "app/run.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"

fatal_result_t run_to_fatal_error(const std::function<void()>& step) {
  output_capture_C out;
  try {
    step();
  } catch (const fatal_error_C& e) {
    report_fatal_error(current_run(), e.message());
    return {true, out.text()};
  }
  return {false, out.text()};
}
