// Windows-1250, the code page every text of the program is written in.
//
// Texts are kept in the source as readable UTF-8 and turned into Windows-1250 bytes at
// compile time; a character the code page cannot hold stops the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rtg::cp1250 {

// Code points of the bytes 0x80..0xFF; 0 marks the five bytes the code page leaves unassigned.
inline constexpr std::array<char32_t, 128> upper_half = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  //
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  //
};

// The code point a byte stands for; U+FFFD for an unassigned byte.
constexpr char32_t to_code_point(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (value < 0x80) {
    return value;
  }
  const char32_t mapped = upper_half[value - 0x80];
  return mapped == 0 ? char32_t{0xFFFD} : mapped;
}

// The byte for a code point. Throws (a compile error in a constant expression) when the code
// page has no such character.
constexpr char from_code_point(char32_t code_point) {
  if (code_point < 0x80) {
    return static_cast<char>(code_point);
  }
  for (std::size_t i = 0; i < upper_half.size(); ++i) {
    if (upper_half[i] != 0 && upper_half[i] == code_point) {
      return static_cast<char>(0x80 + i);
    }
  }
  throw std::invalid_argument("character not in Windows-1250");
}

// A text held as Windows-1250 bytes, made at compile time from a UTF-8 literal.
template <std::size_t N>
class text {
 public:
  consteval explicit text(const char (&utf8)[N]) {
    std::size_t in = 0;
    while (in + 1 < N) {
      bytes_[size_++] = from_code_point(decode_one(utf8, in));
    }
  }

  // Implicit, so that a text goes wherever a string_view does.
  constexpr operator std::string_view() const {  // NOLINT(google-explicit-constructor)
    return {bytes_.data(), size_};
  }
  constexpr std::string_view view() const { return *this; }

 private:
  static constexpr char32_t decode_one(const char (&utf8)[N], std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80) {
      return lead;
    }
    int continuation = 0;
    char32_t code_point = 0;
    if ((lead & 0xE0) == 0xC0) {
      continuation = 1;
      code_point = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      continuation = 2;
      code_point = lead & 0x0F;
    } else {
      throw std::invalid_argument("UTF-8 sequence outside Windows-1250");
    }
    for (int i = 0; i < continuation; ++i) {
      const auto next = static_cast<unsigned char>(utf8[at++]);
      if ((next & 0xC0) != 0x80) {
        throw std::invalid_argument("malformed UTF-8");
      }
      code_point = (code_point << 6) | (next & 0x3F);
    }
    return code_point;
  }

  std::array<char, N> bytes_{};
  std::size_t size_ = 0;
};

// UTF-8 for a terminal that expects it.
std::string to_utf8(std::string_view bytes);

// UTF-16 for the Windows console.
std::u16string to_utf16(std::string_view bytes);

}  // namespace rtg::cp1250
