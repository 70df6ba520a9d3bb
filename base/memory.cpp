#include "base/memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

// Free memory plus what the kernel would give up from its caches.
std::int64_t machine_available() {
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

// A container's limit ("max" or absent: none); the kernel kills a process
// that passes it, whatever the machine has free.
std::int64_t container_limit() {
  std::ifstream limit("/sys/fs/cgroup/memory.max");
  std::int64_t bytes = 0;
  if (limit >> bytes && bytes > 0) return bytes;
  return INT64_MAX;
}

// A limit set with ulimit: allocations past it fail.
std::int64_t process_limit() {
  std::int64_t bytes = INT64_MAX;
  for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
    rlimit lim{};
    if (getrlimit(resource, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY)
      bytes = std::min<std::int64_t>(bytes, static_cast<std::int64_t>(lim.rlim_cur));
  }
  return bytes;
}

}  // namespace

std::int64_t available_memory_bytes() {
  return std::min({machine_available(), container_limit(), process_limit()});
}
