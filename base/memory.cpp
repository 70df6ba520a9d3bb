#include "base/memory.h"

#include <unistd.h>

#include <fstream>
#include <string>

std::int64_t available_memory_bytes() {
  // Free memory plus what the kernel would give up from its caches.
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::int64_t kib = 0;
  std::string unit;
  while (meminfo >> key >> kib >> unit) {
    if (key == "MemAvailable:") return kib * 1024;
  }
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages > 0 && page_size > 0) return static_cast<std::int64_t>(pages) * page_size;
  return std::int64_t{1} << 30;
}
