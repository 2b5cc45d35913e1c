// What one reading of an entry gives, and the reading itself over plain bytes.
//
// The grammar is fixed and locale-free: six whitespace bytes separate entries, the point is the
// only decimal separator, and nothing above 127 is ever whitespace or part of a number.
#pragma once

#include <cstdint>

#include "input_buffer.hpp"

namespace rtg {

enum class entry_kind { number, not_a_number, input_ended };

template <typename Value>
struct entry_result {
  entry_kind kind = entry_kind::input_ended;
  Value value{};  // meaningful only for a number

  friend bool operator==(const entry_result&, const entry_result&) = default;
};

using real_entry = entry_result<float>;
using integer_entry = entry_result<std::int32_t>;

constexpr bool is_entry_whitespace(int byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' ||
         byte == '\f';
}

// A real in point notation, rounded to the nearest single-precision value (ties to even);
// beyond the largest finite value it reads as that value with the entry's sign.
real_entry read_real_entry(input_buffer& in);

// A signed decimal integer, saturated at the 32-bit limits. The entry ends after its digits;
// whatever follows them stays for the next reading.
integer_entry read_integer_entry(input_buffer& in);

}  // namespace rtg
