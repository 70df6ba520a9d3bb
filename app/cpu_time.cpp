#include "app/cpu_time.h"

#include <sys/resource.h>

long user_time_ms() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec * 1000L + usage.ru_utime.tv_usec / 1000L;
}

void cpu_time_C::set_time() {
  actual_time_u.user_ms = user_time_ms();
}

long cpu_time_C::add_time(long t) const {
  return t + (user_time_ms() - actual_time_u.user_ms);
}

void cpu_time_C::add_time(unsigned long& t) {
  long now = user_time_ms();
  t += static_cast<unsigned long>(now - actual_time_u.user_ms);
  actual_time_u.user_ms = now;
}
