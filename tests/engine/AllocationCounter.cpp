#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

// Every form is replaced, not only the plain one, so that allocation and release always
// meet the same allocator whatever the runtime (a sanitizer supplies its own forms).
namespace {

long allocations = 0;

void* Allocate(std::size_t bytes) {
  allocations++;
  return std::malloc(bytes == 0 ? 1 : bytes);
}

}  // namespace

long AllocationCount() { return allocations; }

void* operator new(std::size_t bytes) {
  void* memory = Allocate(bytes);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}
void* operator new[](std::size_t bytes) { return operator new(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
