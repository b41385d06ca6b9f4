#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
long allocations = 0;
}

long AllocationCount() { return allocations; }

void* operator new(std::size_t bytes) {
  allocations++;
  void* memory = std::malloc(bytes == 0 ? 1 : bytes);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
