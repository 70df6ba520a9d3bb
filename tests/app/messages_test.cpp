// Warnings, fatal errors and the debug dump.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/run.h"
#include "input/parser.h"
#include "input/transform.h"
#include "support/capture_output.h"
#include "support/circuit_text.h"
#include "support/fatal.h"
#include "support/run_quarn.h"

namespace {

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
  return n;
}

TEST(Messages, WarningPrefixIsWrittenOnceBeforeTheFirstWarningAndTheStatisticsBlockStartsAfresh) {
  run_C& run = fresh_run();
  run.settings.schaltungsname_s = "warned";
  output_capture_C out;
  run.messages.warning(string_C("first"));
  run.messages.warning(string_C("second"));
  EXPECT_EQ(out.text(), "\nWARNING:  first\n\nWARNING:  second\n");
  EXPECT_EQ(read_file("warned.stat"), "WARNING:  first\nsecond\n");
  // The statistics block truncates the file; the prefix went to the first warning already.
  print_statistic(run.circuit.statistic_u, "warned");
  run.messages.warning(string_C("kept"));
  const std::string stat = read_file("warned.stat");
  EXPECT_EQ(stat.rfind("Number of gates:   0\n", 0), 0u);
  EXPECT_EQ(stat.find("first"), std::string::npos);
  EXPECT_NE(stat.find("Feedback in circuit:   0\nkept\n"), std::string::npos);
  // Another run starts with the prefix again.
  run_C& next = fresh_run();
  next.settings.schaltungsname_s = "warned";
  next.messages.warning(string_C("again"));
  EXPECT_TRUE(read_file("warned.stat").ends_with("kept\nWARNING:  again\n"));
}

TEST(Messages, FatalErrorWritesMessageAndDump) {
  fresh_run().settings.schaltungsname_s = "broken";
  const fatal_result_t run = run_to_fatal_error([] { error(string_C("something failed")); });
  EXPECT_TRUE(run.fatal);
  EXPECT_EQ(run.output, "\nERROR!!!\nsomething failed\nPrint the hole Datastructure in .debug File\n");
  EXPECT_EQ(read_file("broken.stat"), "ERROR!!!\t\tsomething failed\n");
  // Nothing was read: four empty sections.
  EXPECT_EQ(read_file("broken.debug"),
            "******************** Gatter ***********************\n"
            "******************** Signale ***********************\n"
            "******************** Eingaenge ***********************\n"
            "******************** Ausgaenge ***********************\n");
}

// A full signal list during the fanout expansion: the run ends with the
// capacity message, and the dump shows every record the circuit holds.
TEST(Messages, FullSignalListEndsTheRunWithACompleteDump) {
  // s_k = s_k-1 s_k-2: s1 to s6 feed two gates each, so 10 signals and 12 branches
  // do not fit into room for 20; the branches of s6 find the list full.
  std::string nodes = "s0, s1", declarations, instances;
  for (int k = 2; k < 8; k++) {
    const std::string s = std::to_string(k);
    nodes += ", s" + s;
    declarations += "g" + s + " : And_2 ;\n";
    instances +=
        "g" + s + " ( s" + std::to_string(k - 1) + ", s" + std::to_string(k - 2) + " ; s" + s + " ) ;\n";
  }
  write_file("full.cir", cir_text(nodes + ", y6, y7", declarations + "h6, h7 : Inverter ;\n", "s0, s1",
                                  "y6, y7", instances + "h6 ( s6 ; y6 ) ;\nh7 ( s7 ; y7 ) ;\n"));
  settings_C settings;
  settings.schaltungsname_s = "full.cir";
  circuit_C circuit(20, 20);
  output_capture_C out;
  read_circuit(circuit, settings);
  EXPECT_FATAL(transform_circuit(circuit), "line_liste_C::fuege_ein: list is full (room for 20 elements)");
  EXPECT_EQ(circuit.lines_C.anzahl_i, 20);
  std::ostringstream dump;
  circuit.print_all(dump);
  // 8 gates and the fanout gates of s1 to s5, 20 signals, 2 inputs, 2 outputs.
  const int gates = circuit.gates_C.anzahl_i;
  EXPECT_EQ(gates, 13);
  EXPECT_EQ(count(dump.str(), "Adresse   "), gates + 20 + 2 + 2);
  EXPECT_EQ(count(dump.str(), "\n\n***********\n"), gates + 20 + 2 + 2);
}

// A parse error in the middle of a gate declaration leaves the gate of that
// line without its type and every signal without values: the dump shows the
// codes of fresh records.
TEST(Messages, DebugDumpShowsEveryRecordWithItsLabels) {
  write_file("fresh.cir",
             "Circuit fresh ;\nNode a, y : bit ;\nCon ( delay : 1 )\n  g : Inverter ;\n  h : Bogus ;\n");
  quarn_run_t run = run_quarn({"fresh.cir", "10", "STUCK_AT"});
  EXPECT_EQ(run.exit_status, 1);
  const std::string dump = read_file("fresh.debug");
  EXPECT_EQ(count(dump, "Adresse   "), 4);  // two gates, two signals
  EXPECT_NE(dump.find("Name:   g\n"), std::string::npos);
  EXPECT_NE(dump.find("Gate Type:   5\n"), std::string::npos);   // the inverter
  EXPECT_NE(dump.find("Gate Type:   11\n"), std::string::npos);  // h, never typed
  EXPECT_NE(dump.find("Number Inputs:   1\nNumber Outputs:   1\n"), std::string::npos);
  EXPECT_EQ(count(dump, "Line Type:   3\n"), 2);
  EXPECT_EQ(count(dump, "Good Value:   9\nBad Value:   9\nOnly Value:   9\n"), 2);
  EXPECT_EQ(count(dump, "##### Vorgaenger\n\tAnzahl Elemente:   0\n"), 2);
  // Each signal's fields start a line of their own; gates print their
  // feedback flag under both names.
  const std::string signal_labels =
      "Nummer|Im Eingangskegel|Im Ausgangskegel|Primaer Eingang|Primaer Ausgang|Fanout|Plane Number|"
      "Output Depth|Init Value|Vorgaenger|Nachfolger|Rising Test erledigt|Falling Test erledigt|"
      "Stuck at 0 redundant|Stuck at 1 redundant|Stuck at 0 aborted|Stuck at 1 aborted|Test erledigt|"
      "Stuck at Test erledigt|Stuck at 0 Test erledigt|Stuck at 1 Test erledigt|0 Controllability|"
      "1 Controllability|Gesamt Controllability|Observability|Testability";
  std::istringstream labels(signal_labels);
  for (std::string label; std::getline(labels, label, '|');) {
    EXPECT_EQ(count(dump, "\n" + label + ":   "), 2) << label;
  }
  for (const char* label : {"Inputliste:   ", "Outputliste:   ", "Gate in Feedback:   ",
                            "Pfadrekonvergenz an Element:   ", "##### Inputs\n", "##### Outputs\n"}) {
    EXPECT_EQ(count(dump, label), 2) << label;
  }
  EXPECT_EQ(count(dump, "Element in Feedback:   "), 4);
  EXPECT_EQ(count(dump, "\n\n***********\n"), 4);
}

}  // namespace
