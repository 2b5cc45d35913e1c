#include "questions.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {

namespace {

constexpr float lowest_spacing = 250.0F;
constexpr float highest_spacing = 310.0F;

void write_opening(console& con) {
  con.write_text(texts::title);
  con.write_text(texts::version);
  con.write_text(texts::credit);
  con.write_text(texts::welcome);
  con.pause();
  con.write_text(texts::what_is_verified);
  con.write_text(texts::in_particular);
  con.write_text(texts::energies_verified);
  con.pause();
  con.write_text(texts::lets_begin);
  con.pause();
  con.write_text(texts::attention);
  con.write_text(texts::decimal_point_rule);
  con.pause();
  con.write_text(texts::precision_rule);
  con.pause();
  con.write_text(texts::spacing_question);
  con.pause();
}

bool in_range(float d_obl) {
  return d_obl >= lowest_spacing && d_obl <= highest_spacing;
}

}  // namespace

std::optional<float> spacing_stage(console& con) {
  write_opening(con);
  std::optional<float> d_obl = ask_real(con, texts::spacing_prompt, "\n");
  // Once a number has been given, only its range is judged, at the shorter prompt.
  while (d_obl && !in_range(*d_obl)) {
    con.write_text(texts::spacing_out_of_range);
    con.write_text(texts::spacing_enter_again);
    d_obl = ask_real(con, texts::spacing_retry_prompt, "\n");
  }
  return d_obl;
}

}  // namespace rtg
