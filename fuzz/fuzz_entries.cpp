// Arbitrary bytes through a sequence of real and integer readings, each result checked against
// an independent reading of the grammar and, for reals, against strtof in the C locale.
//
// The first byte chooses which readings are real and which integer; the rest is the input.
#include <algorithm>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "entries.hpp"

namespace {

using rtg::entry_kind;
using rtg::input_buffer;

[[noreturn]] void fail() {
  std::abort();
}

void check(bool condition) {
  if (!condition) {
    fail();
  }
}

bool whitespace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool digit(char c) {
  return c >= '0' && c <= '9';
}

// Where the next entry starts, or npos when only whitespace is left.
std::size_t entry_start(std::string_view input, std::size_t from) {
  while (from < input.size() && whitespace(input[from])) {
    ++from;
  }
  return from < input.size() ? from : std::string_view::npos;
}

std::size_t entry_end(std::string_view input, std::size_t start) {
  std::size_t end = start;
  while (end < input.size() && !whitespace(input[end])) {
    ++end;
  }
  return end;
}

// Just past the line end that closes the entry's line, or the end of the input.
std::size_t after_line(std::string_view input, std::size_t start) {
  const std::size_t line_end = input.find('\n', start);
  return line_end == std::string_view::npos ? input.size() : line_end + 1;
}

// [sign] digits [. digits] with at least one digit, then [e|E [sign] digits], nothing else.
bool is_real_number(std::string_view entry) {
  std::size_t at = 0;
  if (at < entry.size() && (entry[at] == '+' || entry[at] == '-')) {
    ++at;
  }
  std::size_t mantissa_digits = 0;
  std::size_t points = 0;
  for (; at < entry.size() && (digit(entry[at]) || entry[at] == '.'); ++at) {
    if (entry[at] == '.') {
      ++points;
    } else {
      ++mantissa_digits;
    }
  }
  if (mantissa_digits == 0 || points > 1) {
    return false;
  }
  if (at == entry.size()) {
    return true;
  }
  if (entry[at] != 'e' && entry[at] != 'E') {
    return false;
  }
  ++at;
  if (at < entry.size() && (entry[at] == '+' || entry[at] == '-')) {
    ++at;
  }
  const std::size_t exponent_start = at;
  while (at < entry.size() && digit(entry[at])) {
    ++at;
  }
  return at > exponent_start && at == entry.size();
}

float strtof_clamped(std::string_view entry) {
  const std::string text(entry);
  const float value = std::strtof(text.c_str(), nullptr);
  if (std::isinf(value)) {
    return std::copysign(std::numeric_limits<float>::max(), value);
  }
  return value;
}

void check_real(std::string_view input, std::size_t before, const rtg::real_entry& entry,
                std::size_t after) {
  const std::size_t start = entry_start(input, before);
  if (start == std::string_view::npos) {
    check(entry.kind == entry_kind::input_ended && after == input.size());
    return;
  }
  const std::size_t end = entry_end(input, start);
  const std::string_view text = input.substr(start, end - start);
  if (is_real_number(text)) {
    check(entry.kind == entry_kind::number && after == end);
    check(std::bit_cast<std::uint32_t>(entry.value) ==
          std::bit_cast<std::uint32_t>(strtof_clamped(text)));
  } else {
    check(entry.kind == entry_kind::not_a_number && after == after_line(input, start));
  }
}

// The value a sign and digits stand for, saturated at the 32-bit limits.
std::int32_t saturated(std::string_view sign_and_digits) {
  const bool negative = sign_and_digits.front() == '-';
  std::int64_t magnitude = 0;
  for (const char c : sign_and_digits) {
    if (digit(c)) {
      magnitude = std::min<std::int64_t>(magnitude * 10 + (c - '0'), std::int64_t{1} << 40);
    }
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void check_integer(std::string_view input, std::size_t before, const rtg::integer_entry& entry,
                   std::size_t after) {
  const std::size_t start = entry_start(input, before);
  if (start == std::string_view::npos) {
    check(entry.kind == entry_kind::input_ended && after == input.size());
    return;
  }
  std::size_t at = start;
  if (input[at] == '+' || input[at] == '-') {
    ++at;
  }
  const std::size_t digits_start = at;
  while (at < input.size() && digit(input[at])) {
    ++at;
  }
  if (at > digits_start) {
    check(entry.kind == entry_kind::number && after == at);
    check(entry.value == saturated(input.substr(start, at - start)));
  } else {
    check(entry.kind == entry_kind::not_a_number && after == after_line(input, start));
  }
}

// One reading of either kind, checked; true when the input ended.
bool read_and_check(input_buffer& in, std::string_view input, bool as_real) {
  const std::size_t before = in.position();
  if (as_real) {
    const rtg::real_entry entry = rtg::read_real_entry(in);
    check_real(input, before, entry, in.position());
    return entry.kind == entry_kind::input_ended;
  }
  const rtg::integer_entry entry = rtg::read_integer_entry(in);
  check_integer(input, before, entry, in.position());
  return entry.kind == entry_kind::input_ended;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  std::setlocale(LC_ALL, "C");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const unsigned selector = data[0];
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  // Small fillings, so that entries straddle the buffer's refills.
  const std::size_t capacity = 1 + (selector % 7);
  input_buffer in(
      [rest = input](std::span<char> space) mutable {
        const std::size_t count = std::min(space.size(), rest.size());
        std::copy_n(rest.begin(), count, space.begin());
        rest.remove_prefix(count);
        return count;
      },
      capacity);

  for (unsigned reading = 0;; ++reading) {
    const std::size_t before = in.position();
    const bool as_real = ((selector >> (reading % 8)) & 1U) == 0;
    if (read_and_check(in, input, as_real)) {
      break;
    }
    check(in.position() > before);  // every reading that does not end takes something
  }
  return 0;
}
