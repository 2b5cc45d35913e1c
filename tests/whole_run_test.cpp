#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "recording_console.hpp"
#include "stages.hpp"
#include "texts.hpp"

namespace rtg {
namespace {

using testing::key_mark;
using testing::recording_console;

// The typical road: a radian-mode slip at the K-alpha wavelength, everything else right.
constexpr std::string_view typical_answers =
    "282\n7.2\n447.63\n70.69\n2.812\n17550\n6.4\n62.8685\n3.1619\n19737\n42\n";

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

TEST(whole_run, follows_the_typical_road_word_for_word) {
  recording_console con{std::string(typical_answers)};
  EXPECT_EQ(run_exercise(con), 0);
  // The expected transcript is plain UTF-8 Polish, with the pauses marked where they fall.
  const std::string expected = read_file(RTG_TEST_DATA_DIR "/typical_run.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(con.transcript(), testing::to_cp1250(expected));
  EXPECT_EQ(testing::count_pauses(con.transcript()), 21U);
  EXPECT_TRUE(con.transcript().ends_with(key_mark));
  EXPECT_TRUE(con.diagnostics().empty());
}

TEST(whole_run, reads_windows_line_ends_like_plain_ones) {
  std::string with_crlf;
  for (const char c : typical_answers) {
    with_crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  recording_console plain{std::string(typical_answers)};
  recording_console crlf{with_crlf};
  EXPECT_EQ(run_exercise(plain), 0);
  EXPECT_EQ(run_exercise(crlf), 0);
  EXPECT_EQ(crlf.transcript(), plain.transcript());
}

// The program's own output for the same run, as the Windows build is compared with it.
TEST(whole_run, expected_output_file_holds_the_transcript_without_its_marks) {
  std::string transcript = testing::to_cp1250(read_file(RTG_TEST_DATA_DIR "/typical_run.txt"));
  for (const std::string_view mark : {testing::pause_mark, key_mark}) {
    for (auto at = transcript.find(mark); at != std::string::npos; at = transcript.find(mark)) {
      transcript.erase(at, mark.size());
    }
  }
  EXPECT_EQ(read_file(RTG_TEST_DATA_DIR "/typical_run.cp1250"), transcript);
  EXPECT_EQ(read_file(RTG_TEST_DATA_DIR "/typical_answers.txt"), typical_answers);
}

TEST(whole_run, ends_with_status_1_and_a_reason_when_the_input_ends_early) {
  recording_console con("282\n7.2\n");
  EXPECT_EQ(run_exercise(con), 1);
  EXPECT_TRUE(con.transcript().ends_with("Lambda_alfa [pm] = \n")) << con.transcript();
  EXPECT_EQ(con.transcript().find(key_mark), std::string::npos);
  EXPECT_EQ(con.diagnostics(), texts::input_ended.view());
}

TEST(whole_run, ends_with_status_1_at_the_first_prompt_on_empty_input) {
  recording_console con("");
  EXPECT_EQ(run_exercise(con), 1);
  EXPECT_TRUE(con.transcript().ends_with("d_obl [pm] = \n"));
  EXPECT_EQ(con.diagnostics(), texts::input_ended.view());
}

}  // namespace
}  // namespace rtg
