#include "model.hpp"

#include <cmath>

namespace rtg::model {

namespace {

double widened(float value) {
  return static_cast<double>(value);
}

// 2·d, formed in single precision as the start of every wavelength.
float doubled(float d) {
  return d + d;
}

float absolute_difference(float expected, float answer) {
  return std::fabs(expected - answer);
}

}  // namespace

float bragg_wavelength(float d, float theta) {
  const double radians = widened(theta) * pi / degrees_per_half_turn;
  return static_cast<float>(std::sin(radians) * widened(doubled(d)));
}

float radian_mode_wavelength(float d, float theta) {
  const auto sine = static_cast<float>(std::sin(widened(theta)));
  return doubled(d) * sine;
}

float grad_mode_wavelength(float d, float theta) {
  const double radians =
      widened(theta) * pi / degrees_per_half_turn * degrees_per_full_turn / grads_per_full_turn;
  return static_cast<float>(std::sin(radians) * widened(doubled(d)));
}

line_expectations expectations_for(float d, float theta) {
  return {bragg_wavelength(d, theta), radian_mode_wavelength(d, theta),
          grad_mode_wavelength(d, theta)};
}

float energy_fj(float lambda) {
  return static_cast<float>(hc_fj_pm / widened(lambda));
}

float energy_ev(float e_fj) {
  const float scaled = e_fj * fj_to_ev_factor;
  return static_cast<float>(widened(scaled) / elementary_charge);
}

bool accepts_answer(float expected, float answer) {
  return widened(absolute_difference(expected, answer)) <= answer_tolerance;
}

bool accepts_ev_answer(float expected, float answer) {
  return absolute_difference(expected, answer) <= ev_tolerance;
}

bool in_calculator_window(float mode_wavelength, float answer) {
  const double centre = widened(mode_wavelength);
  const double value = widened(answer);
  return value > centre - calculator_window_half_width &&
         value < centre + calculator_window_half_width;
}

}  // namespace rtg::model
