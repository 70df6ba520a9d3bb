// The structural recursions of the system go as deep as the circuit; a chain
// of hundreds of thousands of gates needs far more than the default stack.
#pragma once

#include <functional>

// Runs work on a thread with a stack of the given size and waits for it.
void run_on_large_stack(const std::function<void()>& work, unsigned long stack_bytes = 8UL << 30);
