#ifndef TAVRIN_TESTS_ENGINE_ALLOCATIONCOUNTER_H
#define TAVRIN_TESTS_ENGINE_ALLOCATIONCOUNTER_H

// Counts the calls of the global allocator in this test executable, so a test can check
// that a stretch of engine code allocates nothing. Array and nothrow forms reach the
// counted operator through the library's own definitions.
long AllocationCount();

#endif
