#include "model.hpp"
#include "questions.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {

const line_spec k_alpha{
    .intro = texts::k_alpha_intro,
    .angle_question = texts::k_alpha_angle_question,
    .angle_prompt = texts::k_alpha_angle_prompt,
    .accepted_angles = {single_bound(7.0F), double_bound(7.8)},
    .other_line_angles = {single_bound(6.0F), double_bound(6.9)},
    .other_line = texts::k_alpha_other_line,
    .other_line_why = texts::k_alpha_other_line_why,
    .other_line_again = texts::k_alpha_other_line_again,
    .invalid_angle = texts::k_alpha_invalid_angle,
    .pause_before_wavelength_question = false,
    .wavelength_question = texts::k_alpha_wavelength_question,
    .wavelength_prompt = texts::k_alpha_wavelength_prompt,
    .fj_question = texts::k_alpha_fj_question,
    .fj_prompt = texts::k_alpha_fj_prompt,
    .ev_question = texts::k_alpha_ev_question,
    .pause_before_ev_prompt = false,
    .ev_prompt = texts::k_alpha_ev_prompt,
    .closing = texts::k_alpha_closing,
    .pause_after_closing = false,
};

const line_spec k_beta{
    .intro = texts::k_beta_intro,
    .angle_question = texts::k_beta_angle_question,
    .angle_prompt = texts::k_beta_angle_prompt,
    .accepted_angles = {single_bound(6.0F), single_bound(7.0F)},
    .other_line_angles = {single_bound(7.0F), double_bound(7.9)},
    .other_line = texts::k_beta_other_line,
    .other_line_why = texts::k_beta_other_line_why,
    .other_line_again = texts::k_beta_other_line_again,
    .invalid_angle = texts::k_beta_invalid_angle,
    .pause_before_wavelength_question = true,
    .wavelength_question = texts::k_beta_wavelength_question,
    .wavelength_prompt = texts::k_beta_wavelength_prompt,
    .fj_question = texts::k_beta_fj_question,
    .fj_prompt = texts::k_beta_fj_prompt,
    .ev_question = texts::k_beta_ev_question,
    .pause_before_ev_prompt = true,
    .ev_prompt = texts::k_beta_ev_prompt,
    .closing = texts::k_beta_closing,
    .pause_after_closing = true,
};

namespace {

// Asks one question until its answer is accepted; every refused answer is explained first.
template <typename Accepts, typename Explain>
std::optional<float> ask_until_accepted(console& con, std::string_view prompt,
                                        std::string_view line_ends, Accepts accepts,
                                        Explain explain) {
  for (;;) {
    const std::optional<float> answer = ask_real(con, prompt, line_ends);
    if (!answer || accepts(*answer)) {
      return answer;
    }
    explain(*answer);
  }
}

void explain_refused_angle(console& con, const line_spec& line, float angle) {
  if (line.other_line_angles.contains(angle)) {
    con.write_text(line.other_line);
    con.write_text(line.other_line_why);
    con.write_text(line.other_line_again);
  } else {
    con.write_text(line.invalid_angle);
  }
}

// A refused wavelength is checked against the calculator mistakes, radians first.
void explain_refused_wavelength(console& con, const model::line_expectations& wavelengths,
                                float answer) {
  if (model::in_calculator_window(wavelengths.radian_mode, answer)) {
    con.write_text(texts::radian_mode);
    con.write_text(texts::radian_mode_fix);
  } else if (model::in_calculator_window(wavelengths.grad_mode, answer)) {
    con.write_text(texts::grad_mode);
    con.write_text(texts::grad_mode_fix);
  } else {
    con.write_text(texts::result_refused);
  }
}

std::optional<float> ask_angle(console& con, const line_spec& line) {
  return ask_until_accepted(
      con, line.angle_prompt, "\n",
      [&line](float angle) { return line.accepted_angles.contains(angle); },
      [&con, &line](float angle) { explain_refused_angle(con, line, angle); });
}

std::optional<float> ask_wavelength(console& con, const line_spec& line,
                                    const model::line_expectations& wavelengths) {
  return ask_until_accepted(
      con, line.wavelength_prompt, "\n\n",
      [&wavelengths](float answer) { return model::accepts_answer(wavelengths.expected, answer); },
      [&con, &wavelengths](float answer) { explain_refused_wavelength(con, wavelengths, answer); });
}

std::optional<float> ask_fj(console& con, const line_spec& line, float expected) {
  return ask_until_accepted(
      con, line.fj_prompt, "\n\n",
      [expected](float answer) { return model::accepts_answer(expected, answer); },
      [&con](float /*answer*/) { con.write_text(texts::result_refused); });
}

std::optional<float> ask_ev(console& con, const line_spec& line, float expected) {
  return ask_until_accepted(
      con, line.ev_prompt, "\n\n",
      [expected](float answer) { return model::accepts_ev_answer(expected, answer); },
      [&con](float /*answer*/) { con.write_text(texts::ev_result_refused); });
}

void pause_if(console& con, bool wanted) {
  if (wanted) {
    con.pause();
  }
}

}  // namespace

stage_outcome line_stage(console& con, const line_spec& line, float d_obl) {
  con.write_text(line.intro);
  con.pause();
  con.write_text(line.angle_question);
  con.pause();
  const std::optional<float> angle = ask_angle(con, line);
  if (!angle) {
    return stage_outcome::input_ended;
  }
  const model::line_expectations wavelengths = model::expectations_for(d_obl, *angle);

  pause_if(con, line.pause_before_wavelength_question);
  con.write_text(line.wavelength_question);
  con.pause();
  const std::optional<float> wavelength = ask_wavelength(con, line, wavelengths);
  if (!wavelength) {
    return stage_outcome::input_ended;
  }
  con.write_text(texts::wavelength_accepted);
  con.pause();

  // Each energy is judged against the student's own accepted answer before it, so that the
  // rounding of an earlier result is never held against a later one.
  const float expected_fj = model::energy_fj(*wavelength);
  con.write_text(line.fj_question);
  con.pause();
  const std::optional<float> fj = ask_fj(con, line, expected_fj);
  if (!fj) {
    return stage_outcome::input_ended;
  }

  con.write_text(line.ev_question);
  const float expected_ev = model::energy_ev(*fj);
  pause_if(con, line.pause_before_ev_prompt);
  if (!ask_ev(con, line, expected_ev)) {
    return stage_outcome::input_ended;
  }

  con.write_text(line.closing);
  pause_if(con, line.pause_after_closing);
  return stage_outcome::completed;
}

}  // namespace rtg
