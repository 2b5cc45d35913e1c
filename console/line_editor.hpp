// Line editing for a terminal that the program keeps without echo and without line mode.
//
// The keys are edited as the terminal's own line discipline would edit them, but nothing is
// echoed until a reading takes the line, so that an answer typed ahead of its question shows
// after the prompt that reads it, as on the Windows console.
#pragma once

#include <cstddef>
#include <string>

namespace rtg {

// The terminal's editing keys (its VERASE, VKILL, VWERASE and VEOF settings).
struct editing_keys {
  unsigned char erase = 0x7F;
  unsigned char kill = 0x15;
  unsigned char word_erase = 0x17;
  unsigned char end_of_input = 0x04;
};

class line_editor {
 public:
  // Longer lines are handed over in pieces of this size, so a paste cannot grow memory.
  static constexpr std::size_t longest_line = 4096;

  enum class outcome { editing, line_complete, input_ended };

  explicit line_editor(editing_keys keys) : keys_(keys) {}

  // Takes one typed byte and appends what the screen should show for it to `echo`.
  outcome take(unsigned char byte, std::string& echo);

  // An escape that no further byte followed: the Escape key alone, which inserts nothing.
  void escape_alone() { escape_ = escape_state::none; }

  // Whether the editor is inside an escape sequence (arrow or function key) it has not finished.
  bool in_escape() const { return escape_ != escape_state::none; }

  // After line_complete: the line with its line end (none when Ctrl+D or the length ended it).
  std::string take_line();

  // Forgets whatever was typed and not yet taken.
  void clear();

 private:
  enum class escape_state { none, started, control_sequence, single_shift };

  bool take_escape_byte(unsigned char byte);
  void erase_character(std::string& echo);
  void erase_word(std::string& echo);
  void erase_line(std::string& echo);
  outcome complete(std::string_view line_end, std::string& echo);

  editing_keys keys_;
  escape_state escape_ = escape_state::none;
  std::string line_;
  std::string complete_;
};

}  // namespace rtg
