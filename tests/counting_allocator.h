// A counting allocator for the programs that prove a frame allocates
// nothing: linking tests/counting_allocator.cpp into a program replaces its
// global operator new, plain and nothrow, with one that counts each call.
#pragma once

// How many times operator new has been called since the program started.
long allocations_made();
