#include "allocation_counter.hpp"

#include <cstdlib>
#include <new>

namespace {

// Test-only bookkeeping; the tests run on one thread.
bool counting = false;
std::size_t counted = 0;

void* allocate(std::size_t size) {
  if (counting) {
    counted += size;
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t /*size*/) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t /*size*/) noexcept {
  std::free(memory);
}

namespace rtg::testing {

allocation_probe::allocation_probe() {
  counted = 0;
  counting = true;
}

allocation_probe::~allocation_probe() {
  counting = false;
}

std::size_t allocation_probe::bytes() const {
  return counted;
}

}  // namespace rtg::testing
