// The circuit itself: every signal and gate record, the lists that hold them
// as plain pointers, the name indexes and the circuit statistics. The
// circuit owns every record it creates until it is destroyed; a record taken
// out of the circuit (the transformation deletes dangling logic and cuts
// flip-flops) leaves its lists and the name index but stays valid.
#pragma once

#include <algorithm>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/statistic.h"
#include "model/gate.h"
#include "model/line.h"
#include "model/liste.h"
#include "model/name_index.h"

// Room of the circuit lists before the circuit is known.
constexpr int max_lines = 400000;
constexpr int max_gates = 350000;

// Appends x to a list whose storage grows with its count up to room
// elements: at room the list is full and its own overflow error applies, as
// for a list created with that room. Lists of the circuit's size are thus
// not held before the circuit is known.
template <class L, class T>
void append_within_room(L& list, T* x, int room) {
  const int stored = static_cast<int>(list.elemente_p.size());
  if (list.anzahl_i >= stored && stored < room) {
    list.elemente_p.resize(static_cast<size_t>(std::min(room, std::max(64, 2 * stored))), nullptr);
  }
  list.fuege_ein(x);
}

// Records of one kind side by side in blocks, in creation order, owned
// until the pool is destroyed: the passes over every signal after each
// search then walk memory in order instead of hopping between allocations.
template <class T>
class record_pool_C {
 public:
  record_pool_C() = default;
  record_pool_C(const record_pool_C&) = delete;
  record_pool_C& operator=(const record_pool_C&) = delete;
  ~record_pool_C() {
    for (block_t& b : blocks_) {
      for (size_t i = 0; i < b.used; i++) b.records[i].~T();
      std::allocator<T>().deallocate(b.records, block_records);
    }
  }

  template <class... A>
  T* make(A&&... args) {
    if (blocks_.empty() || blocks_.back().used == block_records) {
      blocks_.push_back(block_t{std::allocator<T>().allocate(block_records), 0});
    }
    block_t& b = blocks_.back();
    T* record = new (b.records + b.used) T(std::forward<A>(args)...);
    b.used++;
    return record;
  }

 private:
  static constexpr size_t block_records = 1024;
  struct block_t {
    T* records;
    size_t used;
  };
  std::vector<block_t> blocks_;
};

class circuit_C {
 public:
  statistic_t statistic_u;
  line_liste_C lines_C;
  line_liste_C input_lines_C;
  line_liste_C output_lines_C;
  gate_liste_C gates_C;
  line_liste_C pseudo_inputs_C;
  line_liste_C pseudo_outputs_C;
  // The free and head lines, in the order the line classification met them.
  line_liste_C free_lines_C;
  // The block gates of the circuit, and those analysed so far.
  gate_liste_C blocks_C;
  gate_liste_C tested_blocks_C;
  // The delay values of a long-form Con header; stored, not used.
  int rd_i = 0, fd_i = 0, rdt_i = 0, fdt_i = 0;

  // Room of the signal lists and of gates_C; the program uses max_lines and
  // max_gates. The storage of each list grows with its count up to its room.
  explicit circuit_C(int line_room = max_lines, int gate_room = max_gates);
  ~circuit_C();
  circuit_C(const circuit_C&) = delete;
  circuit_C& operator=(const circuit_C&) = delete;

  // A new record owned by the circuit, in no list yet; n is the room of a
  // signal's successor list.
  line_C* new_line(const std::string& name, int n);
  gate_C* new_gate(const std::string& name);
  // Appends to lines_C (gates_C) and enters the name into the index; a name
  // already present is fatal.
  void add_line(line_C* line);
  void add_gate(gate_C* gate);
  // Appends to input_lines_C or output_lines_C. The circuit lists are filled
  // through these calls only: their storage follows their count.
  void add_input(line_C* line);
  void add_output(line_C* line);
  int line_room() const { return line_room_i; }
  // Lookup by name; null when absent.
  line_C* search_line(const std::string& name) const;
  gate_C* search_gate(const std::string& name) const;
  // Takes a deleted record's name out of the index.
  void forget_line(line_C* line);
  void forget_gate(gate_C* gate);

  // Signals plus fanout branches, the size of most working lists.
  int number_of_lines() const { return statistic_u.number_of_lines(); }

  // The debug dump: every gate, signal, primary input and output.
  void print_all(std::ostream& out) const;

 private:
  int line_room_i;
  int gate_room_i;
  line_tree_u* line_tree_root_p = nullptr;
  gate_tree_u* gate_tree_root_p = nullptr;
  record_pool_C<line_C> line_records_;
  record_pool_C<gate_C> gate_records_;
  int next_serial_i = 0;
};
