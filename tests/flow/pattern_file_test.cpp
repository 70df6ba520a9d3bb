// The companion commands' view of a pattern file: what quarn writes reads
// back and writes out unchanged, and a malformed file names its line.
#include "flow/pattern_file.h"

#include <gtest/gtest.h>

#include <string>

#include "base/messages.h"
#include "support/fatal.h"
#include "support/paths.h"
#include "support/run_quarn.h"

namespace {

TEST(PatternFile, WhatQuarnWritesReadsBackAndWritesOutByteForByte) {
  // One single-pattern and two two-pattern models: plain lines, init lines,
  // delay notes and the comment line of the non-robust part.
  for (const char* model : {"STUCK_AT", "PATH_DELAY", "STUCK_OPEN"}) {
    SCOPED_TRACE(model);
    write_file("fulladd.cir", read_file(example_circuit("fulladd.cir")));
    ASSERT_EQ(run_quarn({"fulladd.cir", "10", model}).exit_status, 0);
    const pattern_set_t file = read_pattern_set("fulladd.pat");
    EXPECT_EQ(file.input_names, (std::vector<std::string>{"a", "b", "cin"}));
    EXPECT_EQ(file.output_names, (std::vector<std::string>{"sum", "cout"}));
    ASSERT_FALSE(file.patterns.empty());
    bool any_init = false;
    for (const pattern_entry_t& p : file.patterns) {
      any_init |= p.init;
      EXPECT_EQ(p.init, p.rest.find("Init-Pattern") != std::string::npos);
    }
    EXPECT_EQ(any_init, std::string(model) != "STUCK_AT");
    write_pattern_set("copy.pat", file);
    EXPECT_EQ(read_file("copy.pat"), read_file("fulladd.pat"));
  }
}

TEST(PatternFile, AMalformedFileNamesItsLine) {
  const std::string header = "* Input_lines: a b \n* Output_lines: y \n";
  const struct {
    std::string text, message;
  } cases[] = {
      {"", "p.pat, line 1: expected \"* Input_lines: <names>\""},
      {"* Input_lines: a b \n* Outputs: y\n", "p.pat, line 2: expected \"* Output_lines: <names>\""},
      {header + "01   1 * t\n0   1 * t\n", "p.pat, line 4: expected 2 input values"},
      {header + "0Z   1 * t\n", "p.pat, line 3: expected 2 input values"},
      {header + "\n01   10 * t\n", "p.pat, line 4: expected 1 output values"},
      {header + "01   1 t\n", "p.pat, line 3: expected \"*\" behind the output values"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    write_file("p.pat", c.text);
    EXPECT_FATAL(read_pattern_set("p.pat"), c.message);
  }
  EXPECT_FATAL(read_pattern_set("absent.pat"), "cannot read the pattern file absent.pat");
}

}  // namespace
