#include "entries.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace rtg {
namespace {

constexpr float largest = std::numeric_limits<float>::max();

// The bits of a float, so that the sign of zero and the last place both count. (Not bit_cast:
// the web build's standard library lacks it.)
std::uint32_t bits_of(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
constexpr float smallest_subnormal = std::numeric_limits<float>::denorm_min();

struct real_case {
  std::string input;
  entry_kind kind;
  float value = 0.0F;
};

void PrintTo(const real_case& c, std::ostream* os) {
  *os << '"' << c.input << '"';
}

class real_entries : public ::testing::TestWithParam<real_case> {};

TEST_P(real_entries, read_as_the_grammar_says) {
  const real_case& c = GetParam();
  input_buffer in = input_buffer::over(c.input);
  const real_entry entry = read_real_entry(in);
  ASSERT_EQ(entry.kind, c.kind);
  if (c.kind == entry_kind::number) {
    // Bit for bit, so that the sign of zero and the last place both count.
    EXPECT_EQ(bits_of(entry.value), bits_of(c.value)) << entry.value << " instead of " << c.value;
  }
}

const std::string many_zeros(250, '0');

INSTANTIATE_TEST_SUITE_P(
    table, real_entries,
    ::testing::Values(
        real_case{"7.3", entry_kind::number, 7.3F},
        real_case{"\n\n  282", entry_kind::number, 282.0F},
        real_case{"\v\f\t\r282\n", entry_kind::number, 282.0F},
        real_case{"1e2", entry_kind::number, 100.0F}, real_case{".5", entry_kind::number, 0.5F},
        real_case{"5.", entry_kind::number, 5.0F}, real_case{"+7", entry_kind::number, 7.0F},
        real_case{"-7.25E+1", entry_kind::number, -72.5F},
        real_case{"0.0", entry_kind::number, 0.0F}, real_case{"-0", entry_kind::number, -0.0F},
        real_case{"000000000000000000000000000000282", entry_kind::number, 282.0F},
        real_case{"0.000000000000000000000000000000000000000000000000001e50", entry_kind::number,
                  0.1F},
        // Rounding to nearest, ties to even, decided by every digit however far out.
        real_case{"16777217", entry_kind::number, 16777216.0F},
        real_case{"16777219", entry_kind::number, 16777220.0F},
        real_case{"16777217." + many_zeros + "1", entry_kind::number, 16777218.0F},
        real_case{"16777217." + many_zeros, entry_kind::number, 16777216.0F},
        real_case{"1677721" + many_zeros + "e-250", entry_kind::number, 1677721.0F},
        // The ends of the range.
        real_case{"3.4028235e38", entry_kind::number, largest},
        real_case{"3.4028236e38", entry_kind::number, largest},
        real_case{"1e39", entry_kind::number, largest},
        real_case{"-1e39", entry_kind::number, -largest},
        real_case{"1e99999999999999999999999999", entry_kind::number, largest},
        real_case{"0e99999999999999999999999999", entry_kind::number, 0.0F},
        real_case{"1" + many_zeros + many_zeros, entry_kind::number, largest},
        real_case{"1e-50", entry_kind::number, 0.0F},
        real_case{"-1e-50", entry_kind::number, -0.0F},
        real_case{"1e-99999999999999999999999999", entry_kind::number, 0.0F},
        real_case{"1.4e-45", entry_kind::number, smallest_subnormal},
        real_case{"7e-46", entry_kind::number, 0.0F},
        real_case{"7.1e-46", entry_kind::number, smallest_subnormal},
        real_case{"1.1754942e-38", entry_kind::number, 1.1754942e-38F},
        // Not numbers.
        real_case{"7,3", entry_kind::not_a_number}, real_case{"abc", entry_kind::not_a_number},
        real_case{"nan", entry_kind::not_a_number}, real_case{"inf", entry_kind::not_a_number},
        real_case{"infinity", entry_kind::not_a_number}, real_case{"5e", entry_kind::not_a_number},
        real_case{"1e+", entry_kind::not_a_number}, real_case{".", entry_kind::not_a_number},
        real_case{"+", entry_kind::not_a_number}, real_case{"-", entry_kind::not_a_number},
        real_case{"0x10", entry_kind::not_a_number}, real_case{"1.2.3", entry_kind::not_a_number},
        real_case{"--5", entry_kind::not_a_number}, real_case{"+-5", entry_kind::not_a_number},
        real_case{"1e5e5", entry_kind::not_a_number}, real_case{"1e2.5", entry_kind::not_a_number},
        real_case{"e5", entry_kind::not_a_number}, real_case{"7.3x", entry_kind::not_a_number},
        real_case{"282\xA0", entry_kind::not_a_number},
        real_case{"\xA0"
                  "282",
                  entry_kind::not_a_number},
        real_case{std::string("28\0"
                              "2",
                              4),
                  entry_kind::not_a_number},
        // Nothing but whitespace before the end.
        real_case{"", entry_kind::input_ended}, real_case{" \t\r\n\v\f", entry_kind::input_ended}));

// What each of several successive readings of one input gives.
struct sequence_case {
  std::string input;
  std::vector<real_entry> readings;
};

void PrintTo(const sequence_case& c, std::ostream* os) {
  *os << '"' << c.input << '"';
}

class real_entry_sequences : public ::testing::TestWithParam<sequence_case> {};

TEST_P(real_entry_sequences, continue_where_the_last_reading_ended) {
  const sequence_case& c = GetParam();
  input_buffer in = input_buffer::over(c.input);
  for (std::size_t i = 0; i < c.readings.size(); ++i) {
    EXPECT_EQ(read_real_entry(in), c.readings[i]) << "reading " << i;
  }
}

constexpr real_entry number(float value) {
  return {entry_kind::number, value};
}
constexpr real_entry not_number{entry_kind::not_a_number, 0.0F};
constexpr real_entry ended{entry_kind::input_ended, 0.0F};

INSTANTIATE_TEST_SUITE_P(
    table, real_entry_sequences,
    ::testing::Values(sequence_case{"282 7.2\n", {number(282.0F), number(7.2F), ended}},
                      sequence_case{"282\r\n7.2\r\n", {number(282.0F), number(7.2F), ended}},
                      // A refused entry takes the rest of its line with it, and no more.
                      sequence_case{"7,3 282\n250\n", {not_number, number(250.0F), ended}},
                      sequence_case{"abc\n\n\n290", {not_number, number(290.0F), ended}},
                      sequence_case{"abc", {not_number, ended, ended}},
                      sequence_case{"1e+ 5\n6", {not_number, number(6.0F)}}));

struct integer_case {
  std::string input;
  std::vector<integer_entry> readings;
};

void PrintTo(const integer_case& c, std::ostream* os) {
  *os << '"' << c.input << '"';
}

class integer_entries : public ::testing::TestWithParam<integer_case> {};

TEST_P(integer_entries, read_as_the_grammar_says) {
  const integer_case& c = GetParam();
  input_buffer in = input_buffer::over(c.input);
  for (std::size_t i = 0; i < c.readings.size(); ++i) {
    EXPECT_EQ(read_integer_entry(in), c.readings[i]) << "reading " << i;
  }
}

constexpr integer_entry integer(std::int32_t value) {
  return {entry_kind::number, value};
}
constexpr integer_entry not_integer{entry_kind::not_a_number, 0};
constexpr integer_entry no_integer{entry_kind::input_ended, 0};
constexpr std::int32_t int_max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int_min = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    table, integer_entries,
    ::testing::Values(
        integer_case{"42", {integer(42), no_integer}}, integer_case{"+42", {integer(42)}},
        integer_case{"042", {integer(42)}}, integer_case{"-42", {integer(-42)}},
        integer_case{"  \n 7\n", {integer(7), no_integer}},
        // The entry ends after its digits; what follows starts the next reading.
        integer_case{"42.0", {integer(42), not_integer, no_integer}},
        integer_case{"41.5\n42\n", {integer(41), not_integer, integer(42)}},
        integer_case{"42abc 43\n44", {integer(42), not_integer, integer(44)}},
        integer_case{"4 2", {integer(4), integer(2)}},
        integer_case{"x42\n42", {not_integer, integer(42)}},
        integer_case{".5", {not_integer, no_integer}}, integer_case{"+", {not_integer}},
        integer_case{"- 5", {not_integer, no_integer}}, integer_case{"\xB9", {not_integer}},
        // Saturation at the 32-bit limits.
        integer_case{"2147483647", {integer(int_max)}},
        integer_case{"2147483648", {integer(int_max)}},
        integer_case{"-2147483648", {integer(int_min)}},
        integer_case{"-2147483649", {integer(int_min)}},
        integer_case{"99999999999999999999999999999", {integer(int_max)}},
        integer_case{"-00000000000000000000000000042", {integer(-42)}},
        integer_case{"", {no_integer}}));

// Random decimal entries of every shape, against the C library's conversion.
std::string random_decimal(std::mt19937& generator) {
  auto pick = [&generator](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(generator);
  };
  std::string text;
  if (pick(0, 3) == 0) {
    text += pick(0, 1) == 0 ? '-' : '+';
  }
  const int before_point = pick(0, 12);
  const int after_point = pick(before_point == 0 ? 1 : 0, 12);
  for (int i = 0; i < before_point; ++i) {
    text += static_cast<char>('0' + pick(0, 9));
  }
  if (after_point > 0 || pick(0, 1) == 0) {
    text += '.';
  }
  for (int i = 0; i < after_point; ++i) {
    text += static_cast<char>('0' + pick(0, 9));
  }
  if (pick(0, 1) == 0) {
    text += 'e';
    text += std::to_string(pick(-60, 45));
  }
  return text;
}

TEST(real_entry_values, agree_with_strtof_to_the_bit) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
  std::mt19937 generator(20261211);
  for (int i = 0; i < 200000; ++i) {
    const std::string text = random_decimal(generator);
    input_buffer in = input_buffer::over(text);
    const real_entry entry = read_real_entry(in);
    ASSERT_EQ(entry.kind, entry_kind::number) << text;
    float expected = std::strtof(text.c_str(), nullptr);
    if (std::isinf(expected)) {
      expected = std::copysign(largest, expected);
    }
    ASSERT_EQ(bits_of(entry.value), bits_of(expected)) << text;
  }
}

}  // namespace
}  // namespace rtg
