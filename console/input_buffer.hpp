// Buffered access to the bytes of standard input (or of any other source), one at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace rtg {

class input_buffer {
 public:
  static constexpr int end = -1;

  // Fills the given space with at least one byte and returns how many; 0 means the input ended.
  using refill_function = std::function<std::size_t(std::span<char>)>;

  explicit input_buffer(refill_function refill, std::size_t capacity = std::size_t{64} * 1024);

  // A buffer that holds the given bytes and then ends. The bytes must outlive the buffer.
  static input_buffer over(std::string_view bytes);

  // The next byte as 0..255, or `end`; peek leaves it in place, get takes it.
  int peek() { return (next_ < filled_ || refill()) ? as_byte(storage_[next_]) : end; }
  int get() { return (next_ < filled_ || refill()) ? as_byte(storage_[next_++]) : end; }

  // How many bytes have been taken with get() so far.
  std::size_t position() const { return taken_before_ + next_; }

 private:
  static int as_byte(char c) { return static_cast<unsigned char>(c); }
  bool refill();

  refill_function refill_;
  std::vector<char> storage_;
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
  std::size_t taken_before_ = 0;  // bytes of earlier fillings
  bool ended_ = false;
};

}  // namespace rtg
