#include "stages.hpp"
#include "texts.hpp"

namespace rtg {

namespace {

constexpr int exit_completed = 0;
constexpr int exit_input_ended = 1;

bool run_stages(console& con) {
  const std::optional<float> d_obl = spacing_stage(con);
  return d_obl && line_stage(con, k_alpha, *d_obl) == stage_outcome::completed &&
         line_stage(con, k_beta, *d_obl) == stage_outcome::completed &&
         anode_stage(con) == stage_outcome::completed;
}

}  // namespace

int run_exercise(console& con) {
  if (run_stages(con)) {
    return exit_completed;
  }
  // The input ran out before the exercise did: end the open prompt's line, say why, and do
  // not wait for a key nobody may be there to press.
  con.write_text("\n");
  con.write_diagnostic(texts::input_ended);
  return exit_input_ended;
}

}  // namespace rtg
