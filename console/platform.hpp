// The few things each platform does its own way. One source file per platform implements
// them; nothing outside the console includes a platform header.
#pragma once

#include <chrono>
#include <cstddef>
#include <span>
#include <string_view>

namespace rtg::platform {

void set_up_streams();
bool output_is_terminal();
// Windows-1250 bytes to standard output, converted when it is a terminal that expects otherwise.
void write_output(std::string_view bytes, bool to_terminal);
void write_error(std::string_view bytes);
// At least one byte of standard input, or 0 when it ended.
std::size_t read_input(std::span<char> space);
// Sleeps the whole length, whatever signals arrive meanwhile.
void sleep_for(std::chrono::milliseconds length);
void wait_for_key();

}  // namespace rtg::platform
