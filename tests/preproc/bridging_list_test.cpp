// The bridging targets of a circuit: computed pairs and electrically
// untestable pairs, worked out by hand for the bridge example, the records a
// ".BF_flt" file gives, and a circuit too large for the list.
#include "preproc/bridging_list.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "app/run.h"
#include "model/line.h"
#include "preproc/levels.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"
#include "support/fatal.h"
#include "support/output_files.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

using pair_set = std::set<std::string>;

// The bridge example: inputs a, b, c (drivers), n1 = Nand(a, b),
// n2 = Nor(b, c), y = And(n2, a), d = Driver(c); 7 signals, 21 pairs.
run_C& bridge_circuit(fault_model_t model) {
  run_C& run = read_checked_circuit("bridge", read_file(example_circuit("bridge.cir")));
  run.settings.select_fault_model(model);
  calculate_planes(run.circuit, run.messages);
  return run;
}

pair_set listed_pairs(const run_C& run) {
  pair_set pairs;
  for (const line_line_t& p : run.target_list.zielfehler2_C.elemente_p) {
    pairs.insert(p.line_a_p->name_s + " " + p.line_b_p->name_s);
  }
  return pairs;
}

TEST(BridgingList, VoltageBridgesNeedAWeakGateAndIddqBridgesTakeEveryPair) {
  run_C& run = bridge_circuit(fault_model_t::bridging);
  calculate_bridgings(run.circuit, run.settings, run.target_list);
  // A Nand output at 0 or a Nor output at 1 loses against any driver, And,
  // Or or inverter, or against a gate of its own type; two of those strong
  // outputs, or a Nand against a Nor, have no bridge the model can see. The
  // And output y against the Nand n1 or the Nor n2 counts in either order.
  EXPECT_EQ(listed_pairs(run),
            (pair_set{"a n1", "a n2", "b n1", "b n2", "c n1", "c n2", "n1 y", "n1 d", "n2 y", "n2 d"}));
  EXPECT_EQ(run.target_list.nr_redFaults, 11);
  const pair_set untestable = {"a  <-->  b", "a  <-->  c",   "a  <-->  y", "a  <-->  d",
                               "b  <-->  c", "b  <-->  y",   "b  <-->  d", "c  <-->  y",
                               "c  <-->  d", "n1  <-->  n2", "y  <-->  d"};
  const std::vector<std::string> listed =
      stat_section(read_file("bridge.stat"), "\n\n\nElectric Untestable Faults:\n");
  EXPECT_EQ(pair_set(listed.begin(), listed.end()), untestable);
  // Checking leaves no values behind for a simulation to start from.
  for (int i = 0; i < run.circuit.lines_C.anzahl_i; i++) EXPECT_EQ(run.circuit.lines_C[i]->good_value_c, X);

  run_C& iddq = bridge_circuit(fault_model_t::bridging_iddq);
  calculate_bridgings(iddq.circuit, iddq.settings, iddq.target_list);
  EXPECT_EQ(iddq.target_list.zielfehler2_C.anzahl(), 7 * 6 / 2);
  EXPECT_EQ(iddq.target_list.nr_redFaults, 0);
  EXPECT_EQ(listed_pairs(iddq).count("a b"), 1u);  // list order: a before b
}

TEST(BridgingList, MorePairsThanTheListMayHoldEndTheRunNamingTheirNumber) {
  run_C& run = bridge_circuit(fault_model_t::bridging_iddq);
  run.target_list.zielfehler2_C.max_records_l = 20;
  EXPECT_FATAL(calculate_bridgings(run.circuit, run.settings, run.target_list),
               "calculate_bridgings: the circuit has 21 bridging pairs, more than the 20 this machine can "
               "hold; name the pairs to test in the file bridge.BF_flt");
  run_C& voltage = bridge_circuit(fault_model_t::bridging);
  voltage.target_list.zielfehler2_C.max_records_l = 10;
  calculate_bridgings(voltage.circuit, voltage.settings, voltage.target_list);  // exactly the 10 it needs
  EXPECT_EQ(voltage.target_list.zielfehler2_C.anzahl(), 10);
  voltage.target_list.zielfehler2_C.max_records_l = 2;
  std::istringstream file("bridge a n1 bridge b n1 bridge c n1");
  EXPECT_FATAL(read_bridging_fault_list(file, voltage.circuit, voltage.settings, voltage.messages,
                                        voltage.target_list),
               "Overflow of line_line_liste_C (limit 2)");
}

// The pairs a file gives and what the reader printed.
std::pair<pair_set, std::string> read_list(fault_model_t model, const std::string& text) {
  run_C& run = bridge_circuit(model);
  std::istringstream in(text);
  output_capture_C out;
  read_bridging_fault_list(in, run.circuit, run.settings, run.messages, run.target_list);
  return {listed_pairs(run), out.text()};
}

TEST(BridgingList, FileRecordsByModelWithUnknownNamesAndSelfBridgesLeftOut) {
  const std::string file =
      "bridge a n1\nBRIDGE n1 d\nwire b n2\nbridge a nowhere\nbridge c c\nBridge d n1\nbridge b n1";
  const auto [voltage, printed] = read_list(fault_model_t::bridging, file);
  // Only "bridge" records count with voltage detection; the last record
  // counts without a final newline; a pair given in both orders is listed
  // twice.
  EXPECT_EQ(voltage, (pair_set{"a n1", "n1 d", "d n1", "b n1"}));
  EXPECT_EQ(printed, "\nWARNING:  c bridged with itself: record skipped\n\t\t4 target faults demanded\n");
  const auto [iddq, iddq_printed] = read_list(fault_model_t::bridging_iddq, file);
  EXPECT_EQ(iddq, (pair_set{"a n1", "n1 d", "b n2", "d n1", "b n1"}));
  EXPECT_NE(iddq_printed.find("\t\t5 target faults demanded\n"), std::string::npos);
  EXPECT_EQ(read_list(fault_model_t::bridging, "").second, "\t\t0 target faults demanded\n");
  EXPECT_EQ(read_list(fault_model_t::bridging, "bridge a").first, pair_set{});  // half a record
  EXPECT_FATAL(read_list(fault_model_t::bridging, "bridge a " + std::string(800, 'n')),
               "read_bridging_fault_list: a word of the bridging fault list file is too long (limit 799)");
}

}  // namespace
