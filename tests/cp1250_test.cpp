#include "cp1250.hpp"

#include <gtest/gtest.h>

#include <string>

namespace rtg {
namespace {

constexpr cp1250::text polish_letters{"ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ\t\n"};

TEST(cp1250_text, holds_every_polish_letter_as_its_single_byte) {
  EXPECT_EQ(std::string(polish_letters),
            "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\t\n");
}

TEST(cp1250_text, is_made_at_compile_time) {
  static_assert(std::string_view(polish_letters).size() == 21);
  static_assert(std::string_view(cp1250::text{"plain"}) == "plain");
}

TEST(cp1250_output, turns_into_the_same_letters_in_utf8) {
  EXPECT_EQ(cp1250::to_utf8(polish_letters), "ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ\t\n");
}

TEST(cp1250_output, turns_into_utf16_code_units) {
  EXPECT_EQ(cp1250::to_utf16(polish_letters), u"ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ\t\n");
}

TEST(cp1250_output, shows_an_unassigned_byte_as_a_replacement_character) {
  EXPECT_EQ(cp1250::to_utf8("\x81"), "\xEF\xBF\xBD");
}

TEST(cp1250_code_page, maps_every_assigned_byte_back_to_itself) {
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t code_point = cp1250::to_code_point(static_cast<char>(byte));
    if (code_point != 0xFFFD) {
      EXPECT_EQ(static_cast<unsigned char>(cp1250::from_code_point(code_point)), byte);
    }
  }
}

}  // namespace
}  // namespace rtg
