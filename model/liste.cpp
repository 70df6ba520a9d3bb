#include "model/liste.h"

#include <algorithm>
#include <string>

#include "base/messages.h"
#include "model/gate.h"
#include "model/line.h"

void liste_C::fuege_ein() {
  if (!generic_b) error(string_C("fuege_ein: not allowed for non-generic lists"));
  anzahl_i++;
}

void liste_C::fuege_aus() {
  check_removal();
  anzahl_i--;
}

void liste_C::check_removal() const {
  if (anzahl_i == 0) error(string_C("fuege_aus:  list is empty"));
  if (!generic_b) error(string_C("fuege_aus: not allowed for non-generic lists"));
}

void liste_C::print_all(std::ostream& out) const {
  out << "\t"
      << "Anzahl Elemente:   " << anzahl_i << "\n";
}

template <class T>
void pointer_liste_C<T>::init(int n) {
  elemente_p.assign(n, nullptr);
  anzahl_i = 0;
}

// The count grows only once the element is stored, so that a full list
// stays consistent for the debug dump.
template <class T>
void pointer_liste_C<T>::append(T* x) {
  if (!generic_b) error(string_C("fuege_ein: not allowed for non-generic lists"));
  if (anzahl_i >= static_cast<int>(elemente_p.size())) {
    const char* list_name = std::is_same_v<T, line_C> ? "line_liste_C" : "gate_liste_C";
    error(string_C(std::string(list_name) + "::fuege_ein: list is full (room for " +
                   std::to_string(elemente_p.size()) + " elements)"));
  }
  elemente_p[anzahl_i++] = x;
}

template <class T>
int pointer_liste_C<T>::index_of(T* x, int count) const {
  // The element removed most often is the one inserted last.
  if (count > 0 && elemente_p[count - 1] == x) return count - 1;
  for (int i = 0; i < count; i++) {
    if (elemente_p[i] == x) return i;
  }
  return -1;
}

template <class T>
int pointer_liste_C<T>::position_of(T* x, int count) const {
  int i = index_of(x, count);
  if (i < 0) error(string_C("fuege_aus: element not found in list"));
  return i;
}

template <class T>
void pointer_liste_C<T>::park(int i, int old_count) {
  std::rotate(elemente_p.begin() + i, elemente_p.begin() + i + 1, elemente_p.begin() + old_count);
}

template <class T>
void pointer_liste_C<T>::resize() {
  elemente_p.resize(anzahl_i);
  elemente_p.shrink_to_fit();
}

// Also called on whatever state a fatal error left: only stored, non-null
// elements are named.
template <class T>
void pointer_liste_C<T>::print_all(std::ostream& out) const {
  liste_C::print_all(out);
  const int stored = std::min(anzahl_i, static_cast<int>(elemente_p.size()));
  for (int i = 0; i < stored; i++) {
    out << "\t"
        << "element[" << i << "]:   " << (elemente_p[i] ? elemente_p[i]->name_s : "(none)") << "\n";
  }
}

template class pointer_liste_C<line_C>;
template class pointer_liste_C<gate_C>;

// ---------------------------------------------------------------- gate lists

void gate_liste_C::fuege_ein(gate_C* x) {
  append(x);
}

// A refused removal leaves the list as it was.
void gate_liste_C::fuege_aus(gate_C* x) {
  check_removal();
  const int i = position_of(x, anzahl_i);
  park(i, anzahl_i);
  anzahl_i--;
}

char gate_liste_C::element_in_liste(gate_C* x, char remove_it) {
  if (index_of(x) < 0) return 0;
  if (remove_it) fuege_aus(x);
  return 1;
}

void gate_liste_C::verbinde(gate_C* x) {
  if (anzahl_i >= max_connections)
    error(with_limit("too many fanout-branches at some signal", max_connections));
  anzahl_i++;
  if (anzahl_i >= groesse_i) {
    groesse_i = std::max(1, groesse_i) * 2;
    elemente_p.resize(groesse_i, nullptr);
  }
  elemente_p[anzahl_i - 1] = x;
}

gate_C* gate_liste_C::gib_only_gate() const {
  if (anzahl_i != 1) error(string_C("gib_only_gate: more than 1 gate in list"));
  return elemente_p[0];
}

void gate_liste_C::loesche_liste() {
  std::fill(elemente_p.begin(), elemente_p.end(), nullptr);
  anzahl_i = 0;
}

void gate_liste_C::loesche_liste_und_pointer() {
  elemente_p.assign(1, nullptr);
  elemente_p.shrink_to_fit();
  anzahl_i = 0;
  groesse_i = 1;
  generic_b = 0;
}

// -------------------------------------------------------------- signal lists

void line_liste_C::record_positions(int from, int to) {
  if (slot_ == position_slot_t::none) return;
  for (int i = from; i < to; i++) elemente_p[i]->list_position_i[static_cast<int>(slot_)] = i;
}

// A recorded position is trusted only while the list still holds the signal
// there; counts set back to zero leave stale positions that fail this test.
int line_liste_C::tracked_index_of(line_C* x) const {
  if (slot_ == position_slot_t::none) return index_of(x);
  int i = x->list_position_i[static_cast<int>(slot_)];
  return i >= 0 && i < anzahl_i && elemente_p[i] == x ? i : -1;
}

void line_liste_C::fuege_ein(line_C* x) {
  append(x);
  record_positions(anzahl_i - 1, anzahl_i);
}

// A refused removal leaves the list as it was.
void line_liste_C::fuege_aus(line_C* x, char keep) {
  if (!keep || anzahl_i == 0) check_removal();  // keep: allowed on a list built with a capacity
  const int old_count = anzahl_i;
  int i = slot_ == position_slot_t::none ? position_of(x, old_count) : tracked_index_of(x);
  if (i < 0) error(string_C("fuege_aus: element not found in list"));
  anzahl_i--;
  park(i, old_count);
  record_positions(i, old_count);
}

char line_liste_C::element_in_liste(line_C* x, char remove_it) {
  if (tracked_index_of(x) < 0) return 0;
  if (remove_it) fuege_aus(x);
  return 1;
}

void line_liste_C::verbinde(line_C* x, int pos) {
  if (anzahl_i >= max_connections)
    error(with_limit("some gate has too many inputs or outputs", max_connections));
  anzahl_i++;
  // A gate named by a second instance is connected once more. The extra
  // signals are kept behind the declared places, so that the count never
  // runs past the stored elements and the circuit check can report the gate.
  if (anzahl_i > static_cast<int>(elemente_p.size())) {
    elemente_p.push_back(x);
    return;
  }
  if (pos < 1 || pos > static_cast<int>(elemente_p.size())) {
    error(string_C("line_liste_C::verbinde: position " + std::to_string(pos) + " outside a list of " +
                   std::to_string(elemente_p.size()) + " places"));
  }
  elemente_p[pos - 1] = x;
}

line_C* line_liste_C::gib_only_line() const {
  if (anzahl_i != 1) error(string_C("gib_only_line: more than 1 gate in list"));
  return elemente_p[0];
}

void line_liste_C::change_connection(line_C* old, line_C* x) {
  for (int i = 0; i < anzahl_i; i++) {
    if (elemente_p[i] == old) {
      elemente_p[i] = x;
      return;
    }
  }
}
