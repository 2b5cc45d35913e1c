#include "entries.hpp"

#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

#include <fast_float/fast_float.h>

namespace rtg {

namespace {

constexpr bool is_digit(int byte) {
  return byte >= '0' && byte <= '9';
}
constexpr bool is_sign(int byte) {
  return byte == '+' || byte == '-';
}

// Returns false when the input ended before an entry began.
bool skip_whitespace(input_buffer& in) {
  while (is_entry_whitespace(in.peek())) {
    in.get();
  }
  return in.peek() != input_buffer::end;
}

// A refused entry goes together with the rest of its line, so that the next reading starts
// on a fresh line and never inside the refused entry.
void discard_rest_of_line(input_buffer& in) {
  for (int byte = in.get(); byte != input_buffer::end && byte != '\n'; byte = in.get()) {
  }
}

template <typename Value>
entry_result<Value> refuse(input_buffer& in) {
  discard_rest_of_line(in);
  return {entry_kind::not_a_number, Value{}};
}

// Adds without ever leaving [-limit, limit]; the entries may be megabytes long.
constexpr std::int64_t saturating_add(std::int64_t a, std::int64_t b) {
  constexpr std::int64_t limit = std::int64_t{1} << 40;
  const std::int64_t sum = a + b;
  return sum > limit ? limit : (sum < -limit ? -limit : sum);
}

// The decimal value of a real entry as 0.digits × 10^exponent, with only as many digits kept
// as can decide the rounding to single precision.
struct decimal {
  // A halfway point between two single-precision values has at most 112 significant digits;
  // past that, only whether any further digit is nonzero can matter.
  static constexpr std::size_t kept_digits = 200;

  bool negative = false;
  std::string digits;  // significant digits, without leading zeros
  bool nonzero_beyond_kept = false;
  std::int64_t exponent = 0;

  void add_digit(int byte, bool after_point) {
    if (digits.empty() && byte == '0') {
      if (after_point) {
        exponent = saturating_add(exponent, -1);
      }
      return;
    }
    if (!after_point) {
      exponent = saturating_add(exponent, 1);
    }
    if (digits.size() < kept_digits) {
      digits += static_cast<char>(byte);
    } else if (byte != '0') {
      nonzero_beyond_kept = true;
    }
  }

  float to_float() const;
};

float decimal::to_float() const {
  constexpr float largest = std::numeric_limits<float>::max();
  // Below 10^-46 a value lies under half the smallest subnormal; at 10^40 it is beyond the range.
  constexpr std::int64_t underflow_below = -46;
  constexpr std::int64_t overflow_from = 41;

  const float sign = negative ? -1.0F : 1.0F;
  if (digits.empty() || exponent < underflow_below) {
    return sign * 0.0F;
  }
  if (exponent >= overflow_from) {
    return sign * largest;
  }
  // digits[.sticky]e(exponent - count): the sticky 1 stands for every nonzero digit dropped.
  std::string text = digits;
  if (nonzero_beyond_kept) {
    text += '1';
  }
  text += 'e';
  text += std::to_string(exponent - static_cast<std::int64_t>(text.size() - 1));
  float magnitude = 0.0F;
  const auto [rest, error] =
      fast_float::from_chars(text.data(), text.data() + text.size(), magnitude);
  // Beyond the range the library gives infinity (or, in later versions, reports the range).
  if (error == std::errc::result_out_of_range) {
    magnitude = exponent > 0 ? largest : 0.0F;
  }
  if (magnitude > largest) {
    magnitude = largest;
  }
  return sign * magnitude;
}

// An exponent beyond any that could still give a finite nonzero value is as good as any other.
constexpr std::int64_t exponent_cap = std::int64_t{1} << 32;

}  // namespace

real_entry read_real_entry(input_buffer& in) {
  if (!skip_whitespace(in)) {
    return {entry_kind::input_ended, 0.0F};
  }
  decimal number;
  if (is_sign(in.peek())) {
    number.negative = in.get() == '-';
  }
  bool any_digit = false;
  bool after_point = false;
  for (;;) {
    const int byte = in.peek();
    if (is_digit(byte)) {
      number.add_digit(in.get(), after_point);
      any_digit = true;
    } else if (byte == '.' && !after_point) {
      in.get();
      after_point = true;
    } else {
      break;
    }
  }
  if (!any_digit) {
    return refuse<float>(in);
  }
  if (in.peek() == 'e' || in.peek() == 'E') {
    in.get();
    const bool negative_exponent = is_sign(in.peek()) && in.get() == '-';
    if (!is_digit(in.peek())) {
      return refuse<float>(in);
    }
    std::int64_t exponent = 0;
    while (is_digit(in.peek())) {
      exponent = exponent * 10 + (in.get() - '0');
      if (exponent > exponent_cap) {
        exponent = exponent_cap;
      }
    }
    number.exponent = saturating_add(number.exponent, negative_exponent ? -exponent : exponent);
  }
  const int after = in.peek();
  if (after != input_buffer::end && !is_entry_whitespace(after)) {
    return refuse<float>(in);
  }
  return {entry_kind::number, number.to_float()};
}

integer_entry read_integer_entry(input_buffer& in) {
  if (!skip_whitespace(in)) {
    return {entry_kind::input_ended, 0};
  }
  bool negative = false;
  if (is_sign(in.peek())) {
    negative = in.get() == '-';
  }
  if (!is_digit(in.peek())) {
    return refuse<std::int32_t>(in);
  }
  constexpr std::int64_t beyond_range = std::int64_t{1} << 32;
  std::int64_t magnitude = 0;
  while (is_digit(in.peek())) {
    magnitude = magnitude * 10 + (in.get() - '0');
    if (magnitude > beyond_range) {
      magnitude = beyond_range;
    }
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
  return {entry_kind::number,
          static_cast<std::int32_t>(value < lowest ? lowest : (value > highest ? highest : value))};
}

}  // namespace rtg
