// One question's prompt, reading and line ends, shared by every stage.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "console.hpp"

namespace rtg {

// Writes the prompt and reads an entry, then the line ends; an entry that is not a number is
// answered with the decimal-point reminder and the same prompt. Empty when the input ended,
// in which case nothing follows the prompt.
std::optional<float> ask_real(console& con, std::string_view prompt, std::string_view line_ends);
std::optional<std::int32_t> ask_integer(console& con, std::string_view prompt,
                                        std::string_view line_ends);

}  // namespace rtg
