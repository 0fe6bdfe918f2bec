// Counts the heap bytes a piece of code holds, through replaced global operator new and delete.
// Linked only into benchmark programs that measure memory: the replacement applies to the whole
// program. Counting is off until Start(), so the timed benchmarks pay one relaxed load per allocation.
#pragma once

#include <cstdint>

namespace bench {

struct AllocationFigures {
    int64_t currentBytes = 0;  // held now (may go below zero when older blocks are freed)
    int64_t peakBytes = 0;     // highest value of currentBytes since Start()
    int64_t allocations = 0;   // number of operator new calls since Start()
};

class AllocationCounter {
public:
    // Zeroes the figures and starts counting. Counting is for one thread at a time.
    static void Start();
    // Stops counting and returns the figures gathered since Start().
    static AllocationFigures Stop();
    // The figures so far, without stopping.
    static AllocationFigures Snapshot();
};

}  // namespace bench
