// Collects what the system writes to standard output, for tests that check
// printed lines in the test process itself.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

class output_capture_C {
 public:
  output_capture_C() : old_(std::cout.rdbuf(text_.rdbuf())) {}
  ~output_capture_C() { std::cout.rdbuf(old_); }
  output_capture_C(const output_capture_C&) = delete;
  output_capture_C& operator=(const output_capture_C&) = delete;

  std::string text() const { return text_.str(); }

 private:
  std::ostringstream text_;
  std::streambuf* old_;
};
