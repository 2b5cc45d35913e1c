#include "line_editor.hpp"

#include <utility>

namespace rtg {

namespace {

constexpr unsigned char escape = 0x1B;
constexpr unsigned char backspace = 0x08;
constexpr unsigned char delete_key = 0x7F;
constexpr unsigned char disabled = 0;  // _POSIX_VDISABLE: the setting has no key

constexpr std::string_view erase_one_column = "\b \b";

constexpr bool is_continuation_byte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0U) == 0x80U;
}

constexpr bool is_blank(char byte) {
  return byte == ' ';
}

constexpr bool is_control(unsigned char byte) {
  return byte < 0x20 || byte == delete_key;
}

bool is(unsigned char byte, unsigned char key) {
  return key != disabled && byte == key;
}

}  // namespace

line_editor::outcome line_editor::take(unsigned char byte, std::string& echo) {
  if (take_escape_byte(byte)) {
    return outcome::editing;
  }
  if (byte == '\n' || byte == '\r') {
    return complete("\n", echo);
  }
  if (is(byte, keys_.end_of_input)) {
    // As on a terminal: on an empty line it is the end of input, otherwise it hands the line
    // over as it stands.
    return line_.empty() ? outcome::input_ended : complete("", echo);
  }
  if (is(byte, keys_.erase) || byte == backspace || byte == delete_key) {
    erase_character(echo);
  } else if (is(byte, keys_.kill)) {
    erase_line(echo);
  } else if (is(byte, keys_.word_erase)) {
    erase_word(echo);
  } else if (byte == '\t') {
    // A tab separates entries like a blank, and a blank is one column wide to erase.
    line_ += ' ';
    echo += ' ';
  } else if (!is_control(byte)) {
    line_ += static_cast<char>(byte);
    echo += static_cast<char>(byte);
  }
  if (line_.size() >= longest_line) {
    return complete("", echo);
  }
  return outcome::editing;
}

// Arrows and function keys send ESC [ ... final or ESC O x; Alt with a key sends ESC and the key.
// None of them inserts anything.
bool line_editor::take_escape_byte(unsigned char byte) {
  switch (escape_) {
    case escape_state::none:
      if (byte == escape) {
        escape_ = escape_state::started;
        return true;
      }
      return false;
    case escape_state::started:
      escape_ = byte == '[' ? escape_state::control_sequence
                            : (byte == 'O' ? escape_state::single_shift : escape_state::none);
      return true;
    case escape_state::control_sequence:
      // Parameter and intermediate bytes lie below 0x40; the final byte ends the sequence.
      if (byte >= 0x40 && byte <= 0x7E) {
        escape_ = escape_state::none;
      }
      return true;
    case escape_state::single_shift:
      escape_ = escape_state::none;
      return true;
  }
  return false;
}

void line_editor::erase_character(std::string& echo) {
  if (line_.empty()) {
    return;
  }
  // A letter such as "ą" is several bytes but one column: all of them go.
  while (!line_.empty() && is_continuation_byte(line_.back())) {
    line_.pop_back();
  }
  if (!line_.empty()) {
    line_.pop_back();
  }
  echo += erase_one_column;
}

void line_editor::erase_word(std::string& echo) {
  while (!line_.empty() && is_blank(line_.back())) {
    erase_character(echo);
  }
  while (!line_.empty() && !is_blank(line_.back())) {
    erase_character(echo);
  }
}

void line_editor::erase_line(std::string& echo) {
  while (!line_.empty()) {
    erase_character(echo);
  }
}

line_editor::outcome line_editor::complete(std::string_view line_end, std::string& echo) {
  line_ += line_end;
  echo += line_end;
  complete_ = std::exchange(line_, std::string());
  return outcome::line_complete;
}

std::string line_editor::take_line() {
  return std::exchange(complete_, std::string());
}

void line_editor::clear() {
  line_.clear();
  complete_.clear();
  escape_ = escape_state::none;
}

}  // namespace rtg
