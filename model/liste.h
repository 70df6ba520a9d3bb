// Lists of gates and signals: arrays of plain pointers with a public count.
#pragma once

#include <ostream>
#include <vector>

class line_C;
class gate_C;

// Base of every list of the system.
class liste_C {
 public:
  char generic_b;  // 1: filled with fuege_ein; 0: built with a capacity, filled with verbinde
  int anzahl_i;    // number of elements
  int groesse_i;   // capacity

  liste_C() : generic_b(1), anzahl_i(0), groesse_i(0) {}
  explicit liste_C(int n) : generic_b(0), anzahl_i(0), groesse_i(n) {}

  void fuege_ein();
  void fuege_aus();
  bool is_empty() const { return anzahl_i == 0; }
  // The checks of fuege_aus, without removing anything.
  void check_removal() const;
  void print_all(std::ostream& out) const;
};

// The operations shared by the gate and the signal lists.
template <class T>
class pointer_liste_C : public liste_C {
 public:
  std::vector<T*> elemente_p;

  pointer_liste_C() = default;
  explicit pointer_liste_C(int n) : liste_C(n), elemente_p(n, nullptr) {}

  T*& operator[](int i) { return elemente_p[i]; }
  T* operator[](int i) const { return elemente_p[i]; }

  // Storage for n elements; fuege_ein does not grow it.
  void init(int n);
  // Appends as the last element.
  void append(T* x);
  // Position of x, the last element checked first; -1 when absent.
  int index_of(T* x) const { return index_of(x, anzahl_i); }
  int index_of(T* x, int count) const;
  // Compacts the storage to the present elements; nothing is appended later.
  void resize();
  void print_all(std::ostream& out) const;

 protected:
  // Takes out element i of the first `old_count` ones: the elements behind it
  // move down by one and it is parked just behind them.
  void park(int i, int old_count);
  int position_of(T* x, int count) const;  // index_of, absent is fatal
};

class gate_liste_C : public pointer_liste_C<gate_C> {
 public:
  gate_liste_C() = default;
  explicit gate_liste_C(int n) : pointer_liste_C(n) {}

  void fuege_ein(gate_C* x);
  void fuege_aus(gate_C* x);
  char element_in_liste(gate_C* x, char remove);
  // The connection append of a signal: doubles the storage as needed.
  void verbinde(gate_C* x);
  gate_C* gib_only_gate() const;
  void loesche_liste();
  void loesche_liste_und_pointer();
};

// Signal lists whose membership is asked constantly keep each member's
// position in the signal record, so that the question takes constant time.
enum class position_slot_t { none = -1, unjustified = 0, d_front = 1 };

class line_liste_C : public pointer_liste_C<line_C> {
 public:
  line_liste_C() = default;
  explicit line_liste_C(int n) : pointer_liste_C(n) {}
  explicit line_liste_C(position_slot_t slot) : slot_(slot) {}

  void fuege_ein(line_C* x);
  void fuege_aus(line_C* x, char keep = 0);
  char element_in_liste(line_C* x, char remove);
  // Stores x at position pos (from 1) of a gate's input or output list.
  void verbinde(line_C* x, int pos);
  line_C* gib_only_line() const;
  // Replaces the first occurrence of the signal old by x.
  void change_connection(line_C* old, line_C* x);

 private:
  position_slot_t slot_ = position_slot_t::none;
  int tracked_index_of(line_C* x) const;
  void record_positions(int from, int to);
};

// Most connections one signal or gate may have.
constexpr int max_connections = 20000;
