#include "model.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace rtg::model {
namespace {

// The figures are given to four decimals; a single-precision result must round to them.
constexpr double four_decimals = 0.00005;

struct wavelength_case {
  float d;
  float theta;
  double expected;
  double radian_mode;
  double grad_mode;
};

class wavelengths : public ::testing::TestWithParam<wavelength_case> {};

TEST_P(wavelengths, match_the_worked_figures) {
  const wavelength_case& c = GetParam();
  const line_expectations got = expectations_for(c.d, c.theta);
  EXPECT_NEAR(got.expected, c.expected, four_decimals);
  EXPECT_NEAR(got.radian_mode, c.radian_mode, four_decimals);
  EXPECT_NEAR(got.grad_mode, c.grad_mode, four_decimals);
  EXPECT_EQ(got.expected, bragg_wavelength(c.d, c.theta));
  EXPECT_EQ(got.radian_mode, radian_mode_wavelength(c.d, c.theta));
  EXPECT_EQ(got.grad_mode, grad_mode_wavelength(c.d, c.theta));
}

INSTANTIATE_TEST_SUITE_P(
    table, wavelengths,
    ::testing::Values(wavelength_case{282.0F, 7.2F, 70.6879, 447.6286, 63.6510},
                      wavelength_case{282.0F, 6.4F, 62.8685, 65.7338, 56.6040},
                      wavelength_case{282.0F, 6.3948F, 62.8176, 62.8202, 56.5582}));

struct judgement_case {
  std::string name;
  float expected;
  float answer;
  bool accepted;
};

void PrintTo(const judgement_case& c, std::ostream* os) {
  *os << c.name;
}

class answer_judgements : public ::testing::TestWithParam<judgement_case> {};

TEST_P(answer_judgements, accept_within_the_tolerance_only) {
  const judgement_case& c = GetParam();
  EXPECT_EQ(accepts_answer(c.expected, c.answer), c.accepted);
}

const float lambda_72 = bragg_wavelength(282.0F, 7.2F);
const float fj_after_70_69 = energy_fj(70.69F);
const float fj_from_exact_wavelength = energy_fj(lambda_72);

INSTANTIATE_TEST_SUITE_P(
    table, answer_judgements,
    ::testing::Values(judgement_case{"wavelength_high_inside", lambda_72, 70.707F, true},
                      judgement_case{"wavelength_high_outside", lambda_72, 70.708F, false},
                      judgement_case{"wavelength_low_inside", lambda_72, 70.668F, true},
                      judgement_case{"wavelength_low_outside", lambda_72, 70.667F, false},
                      judgement_case{"typical_wavelength", lambda_72, 70.69F, true},
                      // The energy follows the student's accepted wavelength, not the exact one;
                      // against the exact one both verdicts would turn.
                      judgement_case{"fj_low_after_70_69", fj_after_70_69, 2.792F, true},
                      judgement_case{"fj_high_after_70_69", fj_after_70_69, 2.832F, false},
                      judgement_case{"fj_low_after_exact", fj_from_exact_wavelength, 2.792F, false},
                      judgement_case{"fj_high_after_exact", fj_from_exact_wavelength, 2.832F, true},
                      judgement_case{"fj_2_83_after_70_69", fj_after_70_69, 2.83F, true}),
    [](const auto& info) { return info.param.name; });

TEST(energies, match_the_worked_figures) {
  EXPECT_NEAR(energy_fj(70.69F), 2.811996, 5e-7);
  EXPECT_NEAR(energy_fj(lambda_72), 2.812078, 5e-7);
  EXPECT_NEAR(energy_ev(2.812F), 17553.06, 0.005);
  EXPECT_NEAR(energy_ev(2.83F), 17665.42, 0.005);
}

TEST(ev_judgement, follows_the_accepted_fj_answer) {
  const float expected = energy_ev(2.83F);
  EXPECT_TRUE(accepts_ev_answer(expected, 17665.0F));
  EXPECT_FALSE(accepts_ev_answer(expected, 17553.0F));
  EXPECT_TRUE(accepts_ev_answer(energy_ev(2.812F), 17550.0F));
}

TEST(ev_judgement, accepts_a_difference_of_exactly_fifty) {
  EXPECT_TRUE(accepts_ev_answer(1000.0F, 1050.0F));
  EXPECT_TRUE(accepts_ev_answer(1000.0F, 950.0F));
  EXPECT_FALSE(accepts_ev_answer(1000.0F, 1050.0001F));
  EXPECT_FALSE(accepts_ev_answer(1000.0F, 949.9999F));
}

TEST(calculator_windows, recognise_the_radian_and_grad_values) {
  const line_expectations at_72 = expectations_for(282.0F, 7.2F);
  EXPECT_TRUE(in_calculator_window(at_72.radian_mode, 447.63F));
  EXPECT_FALSE(in_calculator_window(at_72.grad_mode, 447.63F));
  EXPECT_TRUE(in_calculator_window(at_72.grad_mode, 63.65F));
  EXPECT_FALSE(in_calculator_window(at_72.radian_mode, 63.65F));
  EXPECT_FALSE(in_calculator_window(at_72.radian_mode, 75.0F));
  EXPECT_FALSE(in_calculator_window(at_72.grad_mode, 75.0F));
}

TEST(calculator_windows, have_their_bounds_in_double_precision) {
  // 100.02 in single precision is 100.0199966, just inside 100 + 0.02 taken in double.
  EXPECT_TRUE(in_calculator_window(100.0F, 100.02F));
  EXPECT_FALSE(in_calculator_window(100.0F, std::nextafter(100.02F, 200.0F)));
  EXPECT_TRUE(in_calculator_window(100.0F, 99.98F));  // 99.9800034
  EXPECT_FALSE(in_calculator_window(100.0F, std::nextafter(99.98F, 0.0F)));
}

TEST(calculator_windows, come_after_acceptance) {
  // At 6.3948 the radian-mode value lies 0.0026 pm from the expected one.
  const line_expectations near = expectations_for(282.0F, 6.3948F);
  EXPECT_TRUE(accepts_answer(near.expected, 62.82F));
  EXPECT_TRUE(in_calculator_window(near.radian_mode, 62.82F));
  EXPECT_FALSE(accepts_answer(near.expected, 62.838F));
  EXPECT_TRUE(in_calculator_window(near.radian_mode, 62.838F));
  EXPECT_FALSE(accepts_answer(near.expected, 62.797F));
  EXPECT_FALSE(in_calculator_window(near.radian_mode, 62.797F));
  EXPECT_FALSE(in_calculator_window(near.grad_mode, 62.797F));
}

TEST(calculator_windows, need_no_special_case_for_negative_radian_values) {
  // Below 2π radians the sine is negative, and so is the radian-mode wavelength.
  const float negative = radian_mode_wavelength(282.0F, 6.0F);
  ASSERT_LT(negative, 0.0F);
  EXPECT_TRUE(in_calculator_window(negative, negative + 0.01F));
  EXPECT_FALSE(in_calculator_window(negative, -negative));
}

}  // namespace
}  // namespace rtg::model
