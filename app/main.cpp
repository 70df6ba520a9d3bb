#include "app/large_stack.h"
#include "app/run.h"

int main(int argc, char* argv[]) {
  int status = 0;
  run_on_large_stack([&] { status = mmain(argc, argv); });
  return status;
}
