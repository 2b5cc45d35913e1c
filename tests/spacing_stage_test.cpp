#include <gtest/gtest.h>

#include <string>

#include "recording_console.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {
namespace {

using testing::cat;
using testing::pause_mark;
using testing::recording_console;
using testing::to_cp1250;

// The opening as a student reads it, spelled out here once, independently of the texts table.
std::string opening() {
  return to_cp1250(
             "Program weryfikujący poprawność obliczeń do ćwiczenia nr 2 - Rentgenografia\n"
             "Wersja 2.0 \n") +
         std::string(texts::credit) +
         to_cp1250(
             "Witam w programie\n\n"
             "{pause}"
             "Zweryfikujemy tutaj poprawność identyfikacji materiału anody\n\n"
             "w szczególności \n\n"
             "poprawność obliczeń energii linii K-alfa oraz K-beta promieniowania "
             "charakterystycznego\n\n\n"
             "{pause}"
             "Zatem zaczynamy! \n\n"
             "{pause}"
             "UWAGA!\n\n"
             "ZAMIAST PRZECINKA UŻYWAMY KROPKI DZIESIĘTNEJ\n\tczyli np. zamiast 7,3 proszę wpisać "
             "7.3.\n\n"
             "{pause}"
             "Proszę podawać wyniki długości fali oraz energii w femtodżulach z dokładnością do 4 "
             "miejsca po przecinku\n\n"
             "{pause}"
             "Jaka odległość pomiędzy płaszczyznami krystalograficznymi została podana do obliczeń "
             "(w pikometrach)?:\n\n"
             "{pause}");
}

struct spacing_run {
  std::optional<float> d_obl;
  std::string transcript;  // what follows the opening
};

spacing_run run_spacing(std::string input) {
  recording_console con(std::move(input));
  const std::optional<float> d_obl = spacing_stage(con);
  const std::string& transcript = con.transcript();
  EXPECT_EQ(transcript.substr(0, opening().size()), opening());
  return {d_obl, transcript.substr(std::min(opening().size(), transcript.size()))};
}

const std::string not_a_number = cat({texts::not_a_number, texts::use_decimal_point});
const std::string out_of_range = cat({texts::spacing_out_of_range, texts::spacing_enter_again});

TEST(spacing_stage, opens_then_asks_once_and_returns_an_accepted_spacing) {
  recording_console con("282\n");
  EXPECT_EQ(spacing_stage(con), 282.0F);
  EXPECT_EQ(con.transcript(), opening() + to_cp1250("d_obl [pm] = \n"));
  EXPECT_EQ(testing::count_pauses(con.transcript()), 6U);
}

TEST(spacing_stage, opening_credit_line_ends_in_a_blank_and_three_line_ends) {
  const std::string_view credit = texts::credit;
  ASSERT_GT(credit.size(), 4U);
  EXPECT_EQ(credit.substr(credit.size() - 4), " \n\n\n");
}

struct spacing_case {
  std::string name;
  std::string input;
  float d_obl;
  std::string after_opening;
};

void PrintTo(const spacing_case& c, std::ostream* os) {
  *os << c.name;
}

class spacing_questions : public ::testing::TestWithParam<spacing_case> {};

TEST_P(spacing_questions, give_the_exact_transcript) {
  const spacing_case& c = GetParam();
  const spacing_run run = run_spacing(c.input);
  EXPECT_EQ(run.d_obl, c.d_obl);
  EXPECT_EQ(run.transcript, c.after_opening);
}

const std::string first = "d_obl [pm] = \n";
const std::string again = "d_obl = \n";

INSTANTIATE_TEST_SUITE_P(
    table, spacing_questions,
    ::testing::Values(
        spacing_case{"lowest_bound", "250", 250.0F, first},
        spacing_case{"highest_bound", "310", 310.0F, first},
        spacing_case{"after_empty_lines_and_blanks", "\n\n  282\n", 282.0F, first},
        spacing_case{"below_then_above_then_in_range", "249\n311\n300\n", 300.0F,
                     first + out_of_range + again + out_of_range + again},
        spacing_case{"comma_then_number", "282,5\n282.5\n", 282.5F, first + not_a_number + first},
        spacing_case{"garbage_twice", "abc\n7,3\n290\n", 290.0F,
                     first + not_a_number + first + not_a_number + first},
        // At the shorter prompt a non-number gets the same reminder and the prompt stays short.
        spacing_case{"non_number_in_range_phase", "20\nabc\n1000\n260\n", 260.0F,
                     first + out_of_range + again + not_a_number + again + out_of_range + again}),
    [](const auto& info) { return info.param.name; });

TEST(spacing_stage, ends_empty_when_the_input_ends_at_either_prompt) {
  for (const std::string input : {"", "abc\n", "100\n", "100\nxyz"}) {
    const spacing_run run = run_spacing(input);
    EXPECT_FALSE(run.d_obl) << input;
    // Nothing follows the prompt that found the input ended.
    EXPECT_TRUE(run.transcript.ends_with("= ")) << input;
  }
}

}  // namespace
}  // namespace rtg
