// Pasted garbage, held-down keys and other inputs no student should be able to break.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "allocation_counter.hpp"
#include "entries.hpp"
#include "recording_console.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {
namespace {

constexpr std::size_t ten_megabytes = 10'000'000;
constexpr float largest = std::numeric_limits<float>::max();

// A reading may keep a few hundred digits, never a copy of the entry.
constexpr std::size_t allocation_bound = std::size_t{16} * 1024;

// A piece of an entry: `text`, `times` over.
struct run {
  std::string text;
  std::size_t times = 1;
};

// Each entry is written as runs and made only by its own test: made as test parameters, the
// entries would be built again in every test process, whatever that process runs.
struct huge_case {
  std::string name;
  std::vector<run> entry;
  entry_kind kind;
  float value;
};

std::string made_of(const std::vector<run>& runs) {
  std::string text;
  for (const run& piece : runs) {
    for (std::size_t i = 0; i < piece.times; ++i) {
      text += piece.text;
    }
  }
  return text;
}

void PrintTo(const huge_case& c, std::ostream* os) {
  *os << c.name;
}

class ten_megabyte_entries : public ::testing::TestWithParam<huge_case> {};

TEST_P(ten_megabyte_entries, read_right_without_copying_the_entry) {
  const huge_case& c = GetParam();
  const std::string input = made_of(c.entry) + "\n282\n";
  input_buffer in = input_buffer::over(input);
  real_entry first;
  {
    const testing::allocation_probe probe;
    first = read_real_entry(in);
    EXPECT_LT(probe.bytes(), allocation_bound);
  }
  EXPECT_EQ(first.kind, c.kind);
  if (c.kind == entry_kind::number) {
    EXPECT_EQ(first.value, c.value);
  }
  EXPECT_EQ(read_real_entry(in), (real_entry{entry_kind::number, 282.0F}));
}

constexpr std::size_t half = ten_megabytes / 2;

INSTANTIATE_TEST_SUITE_P(
    table, ten_megabyte_entries,
    ::testing::Values(
        huge_case{"ones", {{"1", ten_megabytes}}, entry_kind::number, largest},
        huge_case{"zeros_then_282", {{"0", ten_megabytes}, {"282"}}, entry_kind::number, 282.0F},
        huge_case{
            "point_then_zeros", {{"0."}, {"0", ten_megabytes}, {"1"}}, entry_kind::number, 0.0F},
        huge_case{"point_and_exponent",
                  {{"1"}, {"0", half}, {"."}, {"0", half}, {"e-5000000"}},
                  entry_kind::number,
                  1.0F},
        huge_case{"exponent_digits", {{"7.5e-"}, {"0", ten_megabytes}}, entry_kind::number, 7.5F},
        huge_case{"garbage", {{"x", ten_megabytes}}, entry_kind::not_a_number, 0.0F},
        huge_case{
            "digits_then_garbage", {{"7", ten_megabytes}, {",3"}}, entry_kind::not_a_number, 0.0F}),
    [](const auto& info) { return info.param.name; });

TEST(ten_megabyte_entries, saturate_as_an_integer) {
  const std::string input = std::string(ten_megabytes, '9') + "\n";
  input_buffer in = input_buffer::over(input);
  const testing::allocation_probe probe;
  EXPECT_EQ(read_integer_entry(in),
            (integer_entry{entry_kind::number, std::numeric_limits<std::int32_t>::max()}));
  EXPECT_LT(probe.bytes(), allocation_bound);
}

TEST(a_million_entries_on_one_line, answer_a_million_readings) {
  std::string line;
  for (int i = 0; i < 1'000'000; ++i) {
    line += "1.5 ";
  }
  line += "\n";
  input_buffer in = input_buffer::over(line);
  for (int i = 0; i < 1'000'000; ++i) {
    ASSERT_EQ(read_real_entry(in), (real_entry{entry_kind::number, 1.5F})) << i;
  }
  EXPECT_EQ(read_real_entry(in).kind, entry_kind::input_ended);
}

TEST(a_million_entries_on_one_line, go_all_at_once_when_the_first_is_refused) {
  std::string line = "7,3";
  for (int i = 0; i < 1'000'000; ++i) {
    line += " 282";
  }
  line += "\n290\n";
  testing::recording_console con(line);
  EXPECT_EQ(spacing_stage(con), 290.0F);
  EXPECT_EQ(testing::count_pauses(con.transcript()), 6U);
  EXPECT_TRUE(con.transcript().ends_with(testing::cat(
      {"d_obl [pm] = \n", texts::not_a_number, texts::use_decimal_point, "d_obl [pm] = \n"})));
}

// Input that arrives a byte at a time reads exactly as input that arrives all at once.
input_buffer trickling(std::string_view bytes) {
  return input_buffer(
      [rest = bytes](std::span<char> space) mutable {
        if (rest.empty()) {
          return std::size_t{0};
        }
        space[0] = rest.front();
        rest.remove_prefix(1);
        return std::size_t{1};
      },
      1);
}

TEST(entries_across_refills, read_the_same_as_in_one_piece) {
  using namespace std::string_literals;
  const std::string input =
      "282 7,3\r\n-1e39 .5 5. +7\n\x00x\n1e-50\n\xA0\n16777217.0000000000001 42.0 41.5 x42 042"s;
  ASSERT_NE(input.find('\0'), std::string::npos);
  input_buffer whole = input_buffer::over(input);
  input_buffer bytewise = trickling(input);
  for (int reading = 0;; ++reading) {
    if (reading % 3 == 2) {
      const integer_entry expected = read_integer_entry(whole);
      ASSERT_EQ(read_integer_entry(bytewise), expected) << reading;
      ASSERT_EQ(bytewise.position(), whole.position()) << reading;
      if (expected.kind == entry_kind::input_ended) {
        break;
      }
    } else {
      const real_entry expected = read_real_entry(whole);
      ASSERT_EQ(read_real_entry(bytewise), expected) << reading;
      ASSERT_EQ(bytewise.position(), whole.position()) << reading;
      if (expected.kind == entry_kind::input_ended) {
        break;
      }
    }
  }
}

TEST(allocation_probe, sees_what_is_allocated_while_it_lives) {
  const testing::allocation_probe probe;
  const std::string allocated(1000, 'x');
  EXPECT_GE(probe.bytes(), allocated.size());
}

TEST(odd_bytes, nul_bytes_are_neither_whitespace_nor_digits) {
  const std::string input(
      "\0\n28\0"
      "2\n282\0\n290",
      15);
  input_buffer in = input_buffer::over(input);
  EXPECT_EQ(read_real_entry(in).kind, entry_kind::not_a_number);
  EXPECT_EQ(read_real_entry(in).kind, entry_kind::not_a_number);
  EXPECT_EQ(read_real_entry(in).kind, entry_kind::not_a_number);
  EXPECT_EQ(read_real_entry(in), (real_entry{entry_kind::number, 290.0F}));
}

}  // namespace
}  // namespace rtg
