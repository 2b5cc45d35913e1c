// A console over in-memory input that records, in one transcript, every text written and
// every pause and key wait where it happens.
#pragma once

#include <string>
#include <string_view>

#include "console.hpp"

namespace rtg::testing {

inline constexpr std::string_view pause_mark = "{pause}";
inline constexpr std::string_view key_mark = "{key}";

class recording_console final : public console {
 public:
  explicit recording_console(std::string input)
      : input_text_(std::move(input)), input_(input_buffer::over(input_text_)) {}

  void write_text(std::string_view text) override { transcript_ += text; }
  void pause() override { transcript_ += pause_mark; }
  real_entry read_real() override { return read_real_entry(input_); }
  integer_entry read_integer() override { return read_integer_entry(input_); }
  void wait_for_key() override { transcript_ += key_mark; }
  void write_diagnostic(std::string_view text) override { diagnostics_ += text; }

  const std::string& transcript() const { return transcript_; }
  const std::string& diagnostics() const { return diagnostics_; }

 private:
  std::string input_text_;
  input_buffer input_;
  std::string transcript_;
  std::string diagnostics_;
};

// Joins pieces of an expected transcript.
inline std::string cat(std::initializer_list<std::string_view> pieces) {
  std::string joined;
  for (const std::string_view piece : pieces) {
    joined += piece;
  }
  return joined;
}

// Windows-1250 bytes of UTF-8 text, for expectations written as plain Polish.
std::string to_cp1250(std::string_view utf8);

// The number of pause marks in a transcript.
std::size_t count_pauses(std::string_view transcript);

}  // namespace rtg::testing
