// Counts the bytes allocated with operator new while a probe is alive, to show that reading a
// huge entry does not copy it.
#pragma once

#include <cstddef>

namespace rtg::testing {

class allocation_probe {
 public:
  allocation_probe();
  ~allocation_probe();
  allocation_probe(const allocation_probe&) = delete;
  allocation_probe& operator=(const allocation_probe&) = delete;
  allocation_probe(allocation_probe&&) = delete;
  allocation_probe& operator=(allocation_probe&&) = delete;

  std::size_t bytes() const;
};

}  // namespace rtg::testing
