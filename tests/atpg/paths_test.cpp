// The paths of the path-delay model: each one once, in odometer order, and
// every written test launches a rising transition along its path.
#include "atpg/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run.h"
#include "model/gate.h"
#include "model/line.h"
#include "support/circuit_text.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/reference_circuit.h"
#include "support/run_quarn.h"
#include "support/search_state.h"

namespace {

using names_t = std::vector<std::string>;

// The six paths of the example (n1 = a b, n2 = a m, n3 = b m, n4 = u v, all
// Nand), listed by hand: the start, the gates from the output back to the
// start (a fanout gate is named after its stem), the side inputs set to 1 in
// circuit order, and the signals they carry.
struct path_t {
  std::string start;
  names_t gates;
  std::string sides;
  names_t side_signals;
};
const std::vector<path_t> reconv_paths = {
    {"a", {"n4", "n2", "m", "n1", "a"}, "v a->u__2 b->m__1", {"v", "a", "b"}},
    {"a", {"n4", "n3", "m", "n1", "a"}, "u b->m__1 b->v__2", {"u", "b"}},
    {"a", {"n4", "n2", "a"}, "v m->u__1", {"v", "m"}},
    {"b", {"n4", "n2", "m", "n1", "b"}, "v a->m__1 a->u__2", {"v", "a"}},
    {"b", {"n4", "n3", "m", "n1", "b"}, "u a->m__1 b->v__2", {"u", "a", "b"}},
    {"b", {"n4", "n3", "b"}, "u m->v__2", {"u", "m"}},
};

TEST(Paths, EveryPathOnceInOdometerOrderWithItsSideInputsAtTheNonControllingValue) {
  run_C& run = prepare_search("reconv", read_file(example_circuit("reconv.cir")));
  for (const path_t& path : reconv_paths) {
    line_C* start = run.paths.search_next_path();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->name_s, path.start);
    EXPECT_EQ(names_of(run.paths.selected_path_C), path.gates);
    EXPECT_TRUE(start->good_value_c == ONE && start->bad_value_c == ZERO);
    std::string sides;
    for (int i = 0; i < run.circuit.lines_C.anzahl_i; i++) {
      const line_C* l = run.circuit.lines_C[i];
      if (l == start || l->good_value_c == X) continue;
      EXPECT_EQ(l->good_value_c, ONE) << l->name_s;
      sides += (sides.empty() ? "" : " ") + l->name_s;
    }
    EXPECT_EQ(sides, path.sides);
    run.imp.reset_net(ABORTED);
    run.imp.unjustified_bound_line_C.anzahl_i = 0;  // as the driver does after a failed run
  }
  EXPECT_EQ(run.paths.search_next_path(), nullptr);
}

TEST(Paths, EveryTestFollowsAnInitialisationThatHoldsItsStartAtZero) {
  const std::string text = read_file(example_circuit("reconv.cir"));
  write_file("reconv.cir", text);
  const quarn_run_t quarn = run_quarn({"reconv.cir", "10", "PATH_DELAY"});
  ASSERT_EQ(quarn.exit_status, 0) << quarn.output;
  const pattern_records_t pat = read_pattern_records("reconv.pat");
  ASSERT_EQ(pat.lines.size(), 2 * reconv_paths.size());  // every path tested
  const reference_circuit_t ref(text);
  for (size_t p = 0; p < reconv_paths.size(); p++) {
    const pattern_record_t& init = pat.lines[2 * p];
    const pattern_record_t& test = pat.lines[2 * p + 1];
    const path_t& path = reconv_paths[p];
    SCOPED_TRACE(init.inputs + " then " + test.inputs + " for the path from " + path.start);
    EXPECT_TRUE(init.init && !test.init && init.target == path.start && test.target == path.start);
    EXPECT_EQ(test.delay, int(path.gates.size()));
    const size_t column = path.start == "a" ? 0 : 1;
    EXPECT_EQ(init.inputs[column], '0');
    EXPECT_EQ(test.inputs[column], '1');
    // The side inputs hold 1 under every filling of the open inputs.
    for (uint64_t filling : {0ULL, ~0ULL, 0x5555555555555555ULL}) {
      std::vector<uint64_t> in;
      for (char c : test.inputs) in.push_back(c == '1' ? ~0ULL : c == '0' ? 0ULL : filling);
      const std::vector<uint64_t> v = ref.signal_values(in);
      for (const std::string& side : path.side_signals) EXPECT_EQ(v[ref.signal(side)], ~0ULL) << side;
    }
  }
  EXPECT_EQ(last_figure(read_file("reconv.stat"), "Number of Robust Patterns:  "), 6);
}

}  // namespace
