#include "base/messages.h"

#include <fstream>
#include <iostream>

#include "base/settings.h"

void error(const string_C& message) {
  throw fatal_error_C(message);
}

string_C with_limit(const char* message, long limit) {
  return string_C(std::string(message) + " (limit " + std::to_string(limit) + ")");
}

void messages_C::warning(const string_C& message) {
  std::ofstream file(settings_.schaltungsname_s + ".stat", std::ios::app);
  std::cout << "\nWARNING:  " << message << "\n" << std::flush;
  if (first_call_b) {
    file << "WARNING:  ";
    first_call_b = false;
  }
  file << message << "\n";
}
