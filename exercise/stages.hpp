// The dialogue of the exercise: the opening and crystal spacing, the two spectral lines, and
// the anode. Each stage is a fixed script of texts, pauses and questions.
#pragma once

#include <optional>
#include <string_view>

#include "console.hpp"

namespace rtg {

// How a stage ended: with its last answer accepted, or because the input ran out first.
enum class stage_outcome { completed, input_ended };

// An angle bound in the precision it is compared in. A single-precision bound widened to
// double compares exactly as the two floats would.
struct angle_window {
  double low;
  double high;

  bool contains(float angle) const {
    const auto value = static_cast<double>(angle);
    return value >= low && value <= high;
  }
};

constexpr double single_bound(float bound) {
  return static_cast<double>(bound);
}
constexpr double double_bound(double bound) {
  return bound;
}

// What differs between the K-alpha and the K-beta questions.
struct line_spec {
  std::string_view intro;
  std::string_view angle_question;
  std::string_view angle_prompt;
  angle_window accepted_angles;
  angle_window other_line_angles;
  std::string_view other_line;
  std::string_view other_line_why;
  std::string_view other_line_again;
  std::string_view invalid_angle;
  bool pause_before_wavelength_question;
  std::string_view wavelength_question;
  std::string_view wavelength_prompt;
  std::string_view fj_question;
  std::string_view fj_prompt;
  std::string_view ev_question;
  bool pause_before_ev_prompt;
  std::string_view ev_prompt;
  std::string_view closing;
  bool pause_after_closing;
};

extern const line_spec k_alpha;
extern const line_spec k_beta;

// The opening and the interplanar spacing d_obl in pm, returned once it lies in 250..310.
std::optional<float> spacing_stage(console& con);

[[nodiscard]] stage_outcome line_stage(console& con, const line_spec& line, float d_obl);

// The atomic number of the anode, the closing texts and the final key press.
[[nodiscard]] stage_outcome anode_stage(console& con);

// The whole exercise in its order; the exit status of the program.
int run_exercise(console& con);

}  // namespace rtg
