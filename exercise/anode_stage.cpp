#include "questions.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {

namespace {

constexpr std::int32_t molybdenum = 42;

}  // namespace

stage_outcome anode_stage(console& con) {
  con.write_text(texts::anode_question);
  con.pause();
  std::optional<std::int32_t> z = ask_integer(con, texts::atomic_number_prompt, "\n\n");
  while (z && *z != molybdenum) {
    con.write_text(texts::anode_hint);
    z = ask_integer(con, texts::atomic_number_prompt, "\n\n");
  }
  if (!z) {
    return stage_outcome::input_ended;
  }
  con.write_text(texts::all_correct);
  con.pause();
  con.write_text(texts::press_any_key);
  con.wait_for_key();
  return stage_outcome::completed;
}

}  // namespace rtg
