#ifndef TAVRIN_TESTS_ENGINE_ALLOCATIONCOUNTER_H
#define TAVRIN_TESTS_ENGINE_ALLOCATIONCOUNTER_H

// Counts the calls of the global allocator in this test executable, so a test can check
// that a stretch of engine code allocates nothing. Every form of operator new counts.
long AllocationCount();

#endif
