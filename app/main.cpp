#include "app/large_stack.h"
#include "app/run.h"

int main(int argc, char* argv[]) {
  run_on_large_stack([&] { mmain(argc, argv); });
  return 0;
}
