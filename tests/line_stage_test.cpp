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

struct line_run {
  stage_outcome outcome;
  std::string transcript;
};

line_run run_line(const line_spec& line, float d_obl, std::string input) {
  recording_console con(std::move(input));
  const stage_outcome outcome = line_stage(con, line, d_obl);
  return {outcome, con.transcript()};
}

const std::string not_a_number = cat({texts::not_a_number, texts::use_decimal_point});
const std::string radian_hint = cat({texts::radian_mode, texts::radian_mode_fix});
const std::string grad_hint = cat({texts::grad_mode, texts::grad_mode_fix});

std::string opening_of(const line_spec& line) {
  return cat({line.intro, pause_mark, line.angle_question, pause_mark});
}

std::string other_line_of(const line_spec& line) {
  return cat({line.other_line, line.other_line_why, line.other_line_again});
}

// What follows an accepted angle, up to the wavelength prompt.
std::string wavelength_question_of(const line_spec& line) {
  return cat({line.pause_before_wavelength_question ? pause_mark : "", line.wavelength_question,
              pause_mark});
}

TEST(k_alpha_stage, follows_the_typical_road_with_a_radian_detour) {
  const line_spec& s = k_alpha;
  const line_run run = run_line(s, 282.0F, "7.2\n447.63\n70.69\n2.812\n17550\n");
  EXPECT_EQ(run.outcome, stage_outcome::completed);
  EXPECT_EQ(run.transcript, cat({texts::k_alpha_intro,
                                 pause_mark,
                                 texts::k_alpha_angle_question,
                                 pause_mark,
                                 "Theta_alfa = ",
                                 "\n",  //
                                 texts::k_alpha_wavelength_question,
                                 pause_mark,  //
                                 "Lambda_alfa [pm] = ",
                                 "\n\n",
                                 radian_hint,  //
                                 "Lambda_alfa [pm] = ",
                                 "\n\n",
                                 texts::wavelength_accepted,
                                 pause_mark,
                                 texts::k_alpha_fj_question,
                                 pause_mark,  //
                                 "EJ_alfa [fJ] = ",
                                 "\n\n",                      //
                                 texts::k_alpha_ev_question,  //
                                 "E_alfa [eV] = ",
                                 "\n\n",  //
                                 texts::k_alpha_closing}));
}

TEST(k_beta_stage, pauses_before_the_wavelength_and_ev_prompts_and_after_closing) {
  const line_spec& s = k_beta;
  const line_run run = run_line(s, 282.0F, "7.5\n6.4\n56.604\n62.8685\n3.1619\n19000\n19737\n");
  EXPECT_EQ(run.outcome, stage_outcome::completed);
  EXPECT_EQ(run.transcript, cat({texts::k_beta_intro,
                                 pause_mark,
                                 texts::k_beta_angle_question,
                                 pause_mark,
                                 "Theta_beta = ",
                                 "\n",
                                 other_line_of(s),  //
                                 "Theta_beta = ",
                                 "\n",  //
                                 pause_mark,
                                 texts::k_beta_wavelength_question,
                                 pause_mark,  //
                                 "Lambda_beta [pm] = ",
                                 "\n\n",
                                 grad_hint,  //
                                 "Lambda_beta [pm] = ",
                                 "\n\n",
                                 texts::wavelength_accepted,
                                 pause_mark,  //
                                 texts::k_beta_fj_question,
                                 pause_mark,  //
                                 "EJ_beta [fJ] = ",
                                 "\n\n",  //
                                 texts::k_beta_ev_question,
                                 pause_mark,  //
                                 "E_beta [eV] = ",
                                 "\n\n",
                                 texts::ev_result_refused,  //
                                 "E_beta [eV] = ",
                                 "\n\n",  //
                                 texts::k_beta_closing,
                                 pause_mark}));
}

enum class angle_reaction { accepted, other_line, invalid };

struct angle_case {
  const line_spec* line;
  std::string angle;
  angle_reaction reaction;
};

void PrintTo(const angle_case& c, std::ostream* os) {
  *os << (c.line == &k_alpha ? "K-alpha " : "K-beta ") << c.angle;
}

class angle_windows : public ::testing::TestWithParam<angle_case> {};

TEST_P(angle_windows, accept_redirect_or_refuse_the_angle) {
  const angle_case& c = GetParam();
  const line_spec& s = *c.line;
  const line_run run = run_line(s, 282.0F, c.angle + "\n");
  std::string expected = cat({opening_of(s), s.angle_prompt, "\n"});
  switch (c.reaction) {
    case angle_reaction::accepted:
      expected += cat({wavelength_question_of(s), s.wavelength_prompt});
      break;
    case angle_reaction::other_line:
      expected += cat({other_line_of(s), s.angle_prompt});
      break;
    case angle_reaction::invalid:
      expected += cat({s.invalid_angle, s.angle_prompt});
      break;
  }
  EXPECT_EQ(run.transcript, expected);
  EXPECT_EQ(run.outcome, stage_outcome::input_ended);
}

using enum angle_reaction;

// 7.8, 6.9 and 7.9 lie just above their double-precision bounds once read in single precision.
INSTANTIATE_TEST_SUITE_P(
    k_alpha, angle_windows,
    ::testing::Values(angle_case{&k_alpha, "7", accepted}, angle_case{&k_alpha, "7.2", accepted},
                      angle_case{&k_alpha, "7.79", accepted}, angle_case{&k_alpha, "7.8", invalid},
                      angle_case{&k_alpha, "6", other_line},
                      angle_case{&k_alpha, "6.89", other_line},
                      angle_case{&k_alpha, "6.9", invalid}, angle_case{&k_alpha, "6.95", invalid},
                      angle_case{&k_alpha, "5.9", invalid}, angle_case{&k_alpha, "8", invalid},
                      angle_case{&k_alpha, "-7.2", invalid}));

INSTANTIATE_TEST_SUITE_P(
    k_beta, angle_windows,
    ::testing::Values(angle_case{&k_beta, "6", accepted}, angle_case{&k_beta, "6.4", accepted},
                      angle_case{&k_beta, "7", accepted}, angle_case{&k_beta, "7.5", other_line},
                      angle_case{&k_beta, "7.89", other_line}, angle_case{&k_beta, "7.9", invalid},
                      angle_case{&k_beta, "5.99", invalid}, angle_case{&k_beta, "8", invalid}));

// One wrong answer at one question, then the right one: what the stage says in between.
struct refusal_case {
  std::string name;
  const line_spec* line;
  std::string input;   // every answer of the stage, the wrong one included
  std::string prompt;  // the question that refuses
  std::string line_ends;
  std::string reply;  // what follows the refused answer's line ends
};

void PrintTo(const refusal_case& c, std::ostream* os) {
  *os << c.name;
}

class refusals : public ::testing::TestWithParam<refusal_case> {};

TEST_P(refusals, explain_and_ask_the_same_question_again) {
  const refusal_case& c = GetParam();
  const line_run run = run_line(*c.line, 282.0F, c.input);
  EXPECT_EQ(run.outcome, stage_outcome::completed);
  const std::string detour = c.prompt + c.line_ends + c.reply + c.prompt + c.line_ends;
  EXPECT_NE(run.transcript.find(detour), std::string::npos) << run.transcript;
  // The refused answer asks the question once more, and only once.
  const std::string twice = c.prompt + c.line_ends + c.reply + detour;
  EXPECT_EQ(run.transcript.find(twice), std::string::npos);
}

const std::string alpha_ok_after_angle = "70.69\n2.812\n17550\n";

INSTANTIATE_TEST_SUITE_P(
    table, refusals,
    ::testing::Values(
        refusal_case{"angle_with_comma", &k_alpha, "7,2\n7.2\n" + alpha_ok_after_angle,
                     "Theta_alfa = ", "\n", not_a_number},
        refusal_case{"radian_value", &k_alpha, "7.2\n447.63\n" + alpha_ok_after_angle,
                     "Lambda_alfa [pm] = ", "\n\n", radian_hint},
        refusal_case{"grad_value", &k_alpha, "7.2\n63.65\n" + alpha_ok_after_angle,
                     "Lambda_alfa [pm] = ", "\n\n", grad_hint},
        refusal_case{"wrong_wavelength", &k_alpha, "7.2\n75\n" + alpha_ok_after_angle,
                     "Lambda_alfa [pm] = ", "\n\n", std::string(texts::result_refused)},
        refusal_case{"wavelength_with_comma", &k_alpha, "7.2\n70,69\n" + alpha_ok_after_angle,
                     "Lambda_alfa [pm] = ", "\n\n", not_a_number},
        // Judged against the answer 70.69: 2.832 is 0.020004 away, 2.792 only 0.019996.
        refusal_case{"fj_just_outside", &k_alpha, "7.2\n70.69\n2.832\n2.792\n17428\n",
                     "EJ_alfa [fJ] = ", "\n\n", std::string(texts::result_refused)},
        refusal_case{"fj_word", &k_alpha, "7.2\n70.69\nfJ\n2.812\n17550\n",
                     "EJ_alfa [fJ] = ", "\n\n", not_a_number},
        refusal_case{"ev_far_then_close", &k_alpha, "7.2\n70.69\n2.812\n17400\n17553\n",
                     "E_alfa [eV] = ", "\n\n", std::string(texts::ev_result_refused)},
        refusal_case{"ev_word", &k_alpha, "7.2\n70.69\n2.812\neV\n17553\n",
                     "E_alfa [eV] = ", "\n\n", not_a_number},
        // The radian window lies within the tolerance here: acceptance is judged first.
        refusal_case{"beta_radian_near_expected", &k_beta, "6.3948\n62.838\n62.82\n3.1643\n19752\n",
                     "Lambda_beta [pm] = ", "\n\n", radian_hint},
        refusal_case{"beta_no_window", &k_beta, "6.3948\n62.797\n62.8176\n3.1644\n19753\n",
                     "Lambda_beta [pm] = ", "\n\n", std::string(texts::result_refused)},
        refusal_case{"beta_ev", &k_beta, "6.4\n62.8685\n3.1619\n19800\n19737\n",
                     "E_beta [eV] = ", "\n\n", std::string(texts::ev_result_refused)},
        refusal_case{"beta_angle_word", &k_beta, "kat\n6.4\n62.8685\n3.1619\n19737\n",
                     "Theta_beta = ", "\n", not_a_number}),
    [](const auto& info) { return info.param.name; });

TEST(line_stage, judges_the_energy_against_the_accepted_answers) {
  // 2.83 is accepted after 70.69; the eV expected then comes from 2.83 (17665.42), so 17665 is
  // accepted and the figure from the exact energy, 17553, refused.
  const line_run run = run_line(k_alpha, 282.0F, "7.2\n70.69\n2.83\n17553\n17665\n");
  EXPECT_EQ(run.outcome, stage_outcome::completed);
  EXPECT_NE(run.transcript.find(cat({"E_alfa [eV] = ", "\n\n", texts::ev_result_refused,
                                     "E_alfa [eV] = ", "\n\n", texts::k_alpha_closing})),
            std::string::npos);
}

TEST(line_stage, ends_at_whichever_prompt_finds_the_input_ended) {
  const std::string answers[] = {"7.2\n", "70.69\n", "2.812\n", "17550\n"};
  const char* prompts[] = {
      "Theta_alfa = ", "Lambda_alfa [pm] = ", "EJ_alfa [fJ] = ", "E_alfa [eV] = "};
  std::string input;
  for (std::size_t given = 0; given < 4; ++given) {
    const line_run run = run_line(k_alpha, 282.0F, input);
    EXPECT_EQ(run.outcome, stage_outcome::input_ended);
    EXPECT_TRUE(run.transcript.ends_with(prompts[given])) << run.transcript;
    input += answers[given];
  }
}

}  // namespace
}  // namespace rtg
