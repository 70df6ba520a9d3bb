#include "app/large_stack.h"

#include <pthread.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>

namespace {

void* run_work(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return nullptr;
}

}  // namespace

void run_on_large_stack(const std::function<void()>& work, unsigned long stack_bytes) {
  // Reserved without backing: only the pages the recursion touches are used.
  void* stack =
      mmap(nullptr, stack_bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  if (stack == MAP_FAILED || pthread_attr_setstack(&attr, stack, stack_bytes) != 0) {
    // Without the large stack the work still runs, only less deep.
    if (stack != MAP_FAILED) munmap(stack, stack_bytes);
    stack = nullptr;
    pthread_attr_destroy(&attr);
    work();
    return;
  }
  pthread_t thread;
  if (pthread_create(&thread, &attr, run_work, const_cast<std::function<void()>*>(&work)) != 0) {
    pthread_attr_destroy(&attr);
    munmap(stack, stack_bytes);
    work();
    return;
  }
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  munmap(stack, stack_bytes);
}
