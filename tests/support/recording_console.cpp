#include "recording_console.hpp"

#include <stdexcept>

#include "cp1250.hpp"

namespace rtg::testing {

std::string to_cp1250(std::string_view utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = lead < 0x80 ? 1 : ((lead & 0xE0) == 0xC0 ? 2 : 3);
    char32_t code_point = length == 1 ? lead : (lead & (length == 2 ? 0x1F : 0x0F));
    for (std::size_t i = 1; i < length; ++i) {
      code_point = (code_point << 6) | (static_cast<unsigned char>(utf8.at(at + i)) & 0x3F);
    }
    out += cp1250::from_code_point(code_point);
    at += length;
  }
  return out;
}

std::size_t count_pauses(std::string_view transcript) {
  std::size_t count = 0;
  for (auto at = transcript.find(pause_mark); at != std::string_view::npos;
       at = transcript.find(pause_mark, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace rtg::testing
