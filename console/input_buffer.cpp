#include "input_buffer.hpp"

#include <algorithm>
#include <utility>

namespace rtg {

input_buffer::input_buffer(refill_function refill, std::size_t capacity)
    : refill_(std::move(refill)), storage_(std::max<std::size_t>(capacity, 1)) {}

input_buffer input_buffer::over(std::string_view bytes) {
  // No more room than the bytes take: some callers make thousands of these.
  constexpr std::size_t usual_capacity = std::size_t{64} * 1024;
  return input_buffer(
      [rest = bytes](std::span<char> space) mutable {
        const std::size_t count = std::min(space.size(), rest.size());
        std::copy_n(rest.begin(), count, space.begin());
        rest.remove_prefix(count);
        return count;
      },
      std::min(bytes.size(), usual_capacity));
}

bool input_buffer::refill() {
  // Once a source has reported its end, it is not asked again: a terminal would otherwise
  // wait for a second Ctrl+D.
  if (ended_) {
    return false;
  }
  taken_before_ += next_;
  next_ = 0;
  filled_ = refill_(storage_);
  ended_ = filled_ == 0;
  return !ended_;
}

}  // namespace rtg
