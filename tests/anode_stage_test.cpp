#include <gtest/gtest.h>

#include <string>

#include "recording_console.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {
namespace {

using testing::cat;
using testing::key_mark;
using testing::pause_mark;
using testing::recording_console;

const std::string question = cat({texts::anode_question, pause_mark});
const std::string ask = "Z = \n\n";
const std::string hint = std::string(texts::anode_hint);
const std::string not_a_number = cat({texts::not_a_number, texts::use_decimal_point});
const std::string closing = cat({texts::all_correct, pause_mark, texts::press_any_key, key_mark});

struct anode_case {
  std::string name;
  std::string input;
  std::string between;  // what the stage says between the question and the closing
};

void PrintTo(const anode_case& c, std::ostream* os) {
  *os << c.name;
}

class anode_answers : public ::testing::TestWithParam<anode_case> {};

TEST_P(anode_answers, give_the_exact_transcript) {
  const anode_case& c = GetParam();
  recording_console con(c.input);
  EXPECT_EQ(anode_stage(con), stage_outcome::completed);
  EXPECT_EQ(con.transcript(), question + c.between + closing);
}

INSTANTIATE_TEST_SUITE_P(
    table, anode_answers,
    ::testing::Values(anode_case{"plain", "42\n", ask}, anode_case{"plus", "+42\n", ask},
                      anode_case{"leading_zero", "042\n", ask},
                      // The .0 stays unread: only the key press follows.
                      anode_case{"point_zero", "42.0\n", ask},
                      anode_case{"below", "41\n42\n", ask + hint + ask},
                      anode_case{"above", "43\n42\n", ask + hint + ask},
                      anode_case{"negative", "-42\n42\n", ask + hint + ask},
                      anode_case{"beyond_32_bits", "99999999999\n42\n", ask + hint + ask},
                      // 41.5 reads as 41; the .5 left behind is then not a number.
                      anode_case{"fraction", "41.5\n42\n", ask + hint + ask + not_a_number + ask},
                      anode_case{"letters", "x42\n42\n", ask + not_a_number + ask},
                      anode_case{"two_on_a_line", "41 42\n", ask + hint + ask}),
    [](const auto& info) { return info.param.name; });

TEST(anode_stage, ends_without_a_key_wait_when_the_input_ends) {
  for (const std::string input : {"", "41\n", "x42"}) {
    recording_console con(input);
    EXPECT_EQ(anode_stage(con), stage_outcome::input_ended) << input;
    EXPECT_TRUE(con.transcript().ends_with("Z = ")) << input;
    EXPECT_EQ(con.transcript().find(key_mark), std::string::npos) << input;
  }
}

}  // namespace
}  // namespace rtg
