#include "line_editor.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rtg {
namespace {

// Feeds typed bytes and collects what the editor hands over and shows.
struct typed {
  std::vector<std::string> lines;
  std::string echo;
  bool ended = false;
};

typed type_into(line_editor& editor, std::string_view keys) {
  typed result;
  for (const char key : keys) {
    switch (editor.take(static_cast<unsigned char>(key), result.echo)) {
      case line_editor::outcome::line_complete:
        result.lines.push_back(editor.take_line());
        break;
      case line_editor::outcome::input_ended:
        result.ended = true;
        break;
      case line_editor::outcome::editing:
        break;
    }
  }
  return result;
}

typed type_keys(std::string_view keys, editing_keys settings = {}) {
  line_editor editor(settings);
  return type_into(editor, keys);
}

struct editing_case {
  std::string name;
  std::string keys;
  std::vector<std::string> lines;
  std::string echo;
};

void PrintTo(const editing_case& c, std::ostream* os) {
  *os << c.name;
}

class typed_keys : public ::testing::TestWithParam<editing_case> {};

TEST_P(typed_keys, give_the_lines_and_the_echo_a_terminal_would) {
  const editing_case& c = GetParam();
  const typed result = type_keys(c.keys);
  EXPECT_EQ(result.lines, c.lines);
  EXPECT_EQ(result.echo, c.echo);
  EXPECT_FALSE(result.ended);
}

INSTANTIATE_TEST_SUITE_P(
    table, typed_keys,
    ::testing::Values(
        editing_case{"plain_line", "7.2\n", {"7.2\n"}, "7.2\n"},
        editing_case{"carriage_return_ends_a_line", "7.2\r", {"7.2\n"}, "7.2\n"},
        editing_case{"two_lines", "282\n7.2\n", {"282\n", "7.2\n"}, "282\n7.2\n"},
        editing_case{"empty_line", "\n", {"\n"}, "\n"},
        editing_case{"erase_takes_a_whole_polish_letter",
                     "7\xC4\x85\x7F.2\n",
                     {"7.2\n"},
                     "7\xC4\x85\b \b.2\n"},
        editing_case{"erase_on_an_empty_line_shows_nothing",
                     "\x7F\x7F"
                     "1\n",
                     {"1\n"},
                     "1\n"},
        editing_case{"ctrl_u_erases_the_line",
                     "12\x15"
                     "3\n",
                     {"3\n"},
                     "12\b \b\b \b3\n"},
        editing_case{"ctrl_w_erases_a_word_and_the_blanks_after_it",
                     "1 23 \x17"
                     "4\n",
                     {"1 4\n"},
                     "1 23 \b \b\b \b\b \b4\n"},
        editing_case{"tab_is_a_blank", "1\t2\n", {"1 2\n"}, "1 2\n"},
        editing_case{"arrow_keys_insert_nothing", "\x1B[A7\x1B[D\x1B[C\n", {"7\n"}, "7\n"},
        editing_case{"function_keys_insert_nothing", "\x1B[15~\x1BOP\x1B[1;5D7\n", {"7\n"}, "7\n"},
        editing_case{"alt_with_a_key_inserts_nothing", "\x1Bx7\n", {"7\n"}, "7\n"},
        editing_case{"other_control_keys_insert_nothing",
                     "\x01\x02\x07\x1C"
                     "7\n",
                     {"7\n"},
                     "7\n"},
        editing_case{"ctrl_d_hands_a_begun_line_over_without_a_line_end", "28\x04", {"28"}, "28"}),
    [](const auto& info) { return info.param.name; });

TEST(line_editor, ctrl_d_on_an_empty_line_is_the_end_of_input) {
  const typed result = type_keys("\x04");
  EXPECT_TRUE(result.ended);
  EXPECT_TRUE(result.lines.empty());
  EXPECT_EQ(result.echo, "");
}

TEST(line_editor, follows_the_terminals_own_keys) {
  // An erase key of Ctrl+X and an end-of-input key of Ctrl+Z; Ctrl+U and Ctrl+W switched off
  // (0 is _POSIX_VDISABLE) insert nothing.
  const editing_keys settings{0x18, 0, 0, 0x1A};
  EXPECT_EQ(type_keys("12\x18"
                      "3\x15\x17\n",
                      settings)
                .lines,
            std::vector<std::string>{"13\n"});
  EXPECT_TRUE(type_keys("\x1A", settings).ended);
  EXPECT_FALSE(type_keys("\x04", settings).ended);
}

TEST(line_editor, hands_a_very_long_line_over_in_pieces) {
  const std::string keys(line_editor::longest_line * 2 + 10, '7');
  const typed result = type_keys(keys + "\n");
  ASSERT_EQ(result.lines.size(), 3U);
  EXPECT_EQ(result.lines[0].size(), line_editor::longest_line);
  EXPECT_EQ(result.lines[1].size(), line_editor::longest_line);
  EXPECT_EQ(result.lines[2], std::string(10, '7') + "\n");
}

TEST(line_editor, a_lone_escape_does_not_swallow_the_next_key) {
  line_editor editor({});
  EXPECT_TRUE(type_into(editor, "\x1B").lines.empty());
  EXPECT_TRUE(editor.in_escape());
  editor.escape_alone();  // no more bytes came soon after it
  EXPECT_EQ(type_into(editor, "7\n").lines, std::vector<std::string>{"7\n"});
}

TEST(line_editor, an_escape_sequence_split_between_readings_still_inserts_nothing) {
  line_editor editor({});
  (void)type_into(editor, "1\x1B[");
  EXPECT_TRUE(editor.in_escape());
  EXPECT_EQ(type_into(editor, "A2\n").lines, std::vector<std::string>{"12\n"});
}

TEST(line_editor, clear_forgets_what_was_typed) {
  line_editor editor({});
  (void)type_into(editor, "99\x1B[");
  editor.clear();
  EXPECT_FALSE(editor.in_escape());
  EXPECT_EQ(type_into(editor, "7\n").lines, std::vector<std::string>{"7\n"});
}

}  // namespace
}  // namespace rtg
