// Everything the exercise knows of the console: texts out, a fixed pause, entries in, and the
// final key press.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "entries.hpp"
#include "input_buffer.hpp"
#include "platform.hpp"

namespace rtg {

inline constexpr std::chrono::milliseconds pause_length{2000};

class console {
 public:
  console() = default;
  console(const console&) = delete;
  console& operator=(const console&) = delete;
  console(console&&) = delete;
  console& operator=(console&&) = delete;
  virtual ~console() = default;

  // The exact Windows-1250 bytes; no line end is added.
  virtual void write_text(std::string_view text) = 0;
  virtual void pause() = 0;
  virtual real_entry read_real() = 0;
  virtual integer_entry read_integer() = 0;
  // One keystroke at the keyboard itself, not from standard input.
  virtual void wait_for_key() = 0;
  // A line for standard error, outside the dialogue (Windows-1250 like every text).
  virtual void write_diagnostic(std::string_view text) = 0;
};

// First thing at start: the character-type locale. Its outcome does not matter, since the
// texts are the same bytes and reading follows its own rules in any locale.
void start_up();

// The console of the running program: standard input, standard output and the keyboard.
class system_console final : public console {
 public:
  system_console();
  ~system_console() override;

  void write_text(std::string_view text) override;
  void pause() override;
  real_entry read_real() override;
  integer_entry read_integer() override;
  void wait_for_key() override;
  void write_diagnostic(std::string_view text) override;

 private:
  // Texts wait here only while output goes to a pipe or a file; a terminal gets each at once.
  void flush();

  // Pipes and files get texts in batches of about this size, not a write for every text.
  static constexpr std::size_t pending_limit = std::size_t{16} * 1024;

  platform::session platform_;
  bool output_is_terminal_;
  std::string pending_;
  input_buffer input_;
};

}  // namespace rtg
