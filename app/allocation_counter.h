// Counts every allocation the program makes through operator new, for the benchmark's report of
// allocations per frame. Linking this file replaces the global operator new and delete.
#pragma once

#include <cstdint>

uint64_t allocationCount();
