#include "cp1250.hpp"

namespace rtg::cp1250 {

namespace {

void append_utf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

}  // namespace

std::string to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (const char byte : bytes) {
    append_utf8(out, to_code_point(byte));
  }
  return out;
}

std::u16string to_utf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (const char byte : bytes) {
    // Every character of the code page lies in the Basic Multilingual Plane.
    out += static_cast<char16_t>(to_code_point(byte));
  }
  return out;
}

}  // namespace rtg::cp1250
