// What the machine can still hold, for lists whose size the circuit decides.
#pragma once

#include <cstdint>

// Bytes of memory available to the run now (the least of what the machine
// has free, a container limit and a ulimit); a guess of 1 GiB where the
// system does not say.
std::int64_t available_memory_bytes();
