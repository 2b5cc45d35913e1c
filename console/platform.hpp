// The few things each platform does its own way. One source file per platform implements
// them; nothing outside the console includes a platform header.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

namespace rtg::platform {

// Once at start, before any console exists: the standard streams' modes.
void set_up_streams();

// The platform's hold on standard input, standard output and the keyboard for one run. While
// it lives, a terminal may be kept in a mode of the program's own; it is given back when the
// session ends, and also before any signal ends or stops the program.
class session {
 public:
  session();
  ~session();
  session(const session&) = delete;
  session& operator=(const session&) = delete;
  session(session&&) = delete;
  session& operator=(session&&) = delete;

  bool output_is_terminal() const;
  // Windows-1250 bytes to standard output, converted when it is a terminal that expects otherwise.
  void write_output(std::string_view bytes);
  void write_error(std::string_view bytes);
  // At least one byte of standard input, or 0 when it ended. Never ends for a mere lack of
  // input: it waits until there is some.
  std::size_t read_input(std::span<char> space);
  // Sleeps the whole length, whatever signals arrive meanwhile.
  void sleep_for(std::chrono::milliseconds length);
  // One keystroke at the keyboard; keys typed before it do not count.
  void wait_for_key();

 private:
  struct state;
  std::unique_ptr<state> state_;
};

}  // namespace rtg::platform
