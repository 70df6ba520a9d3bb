#include "base/string_c.h"

#include "base/messages.h"

namespace {
constexpr size_t longest_basename = 799;
}  // namespace

string_C::string_C(int n) : groesse_i(n) {
  text_s.reserve(n);
}

string_C::string_C(const char* s) : text_s(s) {
  laenge_i = groesse_i = static_cast<int>(text_s.size());
}

string_C::string_C(const std::string& s) : text_s(s) {
  laenge_i = groesse_i = static_cast<int>(text_s.size());
}

string_C operator+(const string_C& a, const string_C& b) {
  string_C sum(a.text_s + b.text_s);
  sum.groesse_i = a.laenge_i + b.laenge_i;
  return sum;
}

// Only the last path component is cut, so that "../bench/c17.cir" gives
// "../bench/c17" and a dot in a directory name does not shorten the stem. A
// component that starts with "." keeps the whole text.
std::string string_C::basename() const {
  size_t component = text_s.rfind('/');
  component = component == std::string::npos ? 0 : component + 1;
  size_t n = text_s.find('.', component);
  if (n == std::string::npos || n == component) n = text_s.size();
  if (n > longest_basename) error(string_C("basename: name longer than 799 characters"));
  return text_s.substr(0, n);
}
