// The system's small string class: file names and every message handed to
// error and warning.
#pragma once

#include <ostream>
#include <string>

class string_C {
 public:
  int laenge_i = 0;   // length of the text
  int groesse_i = 0;  // capacity

  explicit string_C(int n = 0);
  string_C(const char* s);  // NOLINT: messages are written as literals
  string_C(const std::string& s);

  const char* text() const { return text_s.c_str(); }
  const std::string& str() const { return text_s; }

  // The text up to the first "." of its last path component; at most 799
  // characters.
  std::string basename() const;

  friend string_C operator+(const string_C& a, const string_C& b);
  friend bool operator==(const string_C& a, const string_C& b) { return a.text_s == b.text_s; }
  friend std::ostream& operator<<(std::ostream& out, const string_C& s) { return out << s.text_s; }

 private:
  std::string text_s;
};
