#include "console.hpp"

#include <clocale>
#include <span>

namespace rtg {

void start_up() {
  (void)std::setlocale(LC_CTYPE, "Polish");
  platform::set_up_streams();
}

system_console::system_console()
    : output_is_terminal_(platform_.output_is_terminal()),
      // Whatever was written stands on screen before the program waits for input. Readings
      // that find input already buffered do not wait, so they need no flush of their own.
      input_([this](std::span<char> space) {
        flush();
        return platform_.read_input(space);
      }) {}

system_console::~system_console() {
  flush();
}

void system_console::write_text(std::string_view text) {
  pending_ += text;
  if (output_is_terminal_ || pending_.size() >= pending_limit) {
    flush();
  }
}

void system_console::pause() {
  flush();
  platform_.sleep_for(pause_length);
}

real_entry system_console::read_real() {
  return read_real_entry(input_);
}

integer_entry system_console::read_integer() {
  return read_integer_entry(input_);
}

void system_console::wait_for_key() {
  flush();
  platform_.wait_for_key();
}

void system_console::write_diagnostic(std::string_view text) {
  flush();
  platform_.write_error(text);
}

void system_console::flush() {
  if (!pending_.empty()) {
    platform_.write_output(pending_);
    pending_.clear();
  }
}

}  // namespace rtg
