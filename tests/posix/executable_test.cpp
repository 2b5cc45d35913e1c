// The built program itself, end to end: through pipes, and once on a terminal. These take the
// real pauses, so each runs the program as few times as it can.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.hpp"
#include "cp1250.hpp"
#include "recording_console.hpp"

namespace rtg {
namespace {

using namespace testing;

constexpr std::string_view typical_answers[] = {
    "282", "7.2", "447.63", "70.69", "2.812", "17550", "6.4", "62.8685", "3.1619", "19737", "42"};

std::string joined_lines(std::span<const std::string_view> answers) {
  std::string text;
  for (const std::string_view answer : answers) {
    text.append(answer).append("\n");
  }
  return text;
}

void erase_all(std::string& text, std::string_view mark) {
  for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
    text.erase(at, mark.size());
  }
}

// The typical run's transcript as UTF-8, without the marks of pauses and the key wait.
std::string typical_output_utf8() {
  std::ifstream file(RTG_TEST_DATA_DIR "/typical_run.txt", std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  std::string text = content.str();
  erase_all(text, pause_mark);
  erase_all(text, key_mark);
  return text;
}

struct piped_run {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the program in a session of its own (so with no keyboard to wait for), feeding it the
// whole input at once.
piped_run run_piped(const std::string& input) {
  int in[2];
  int out[2];
  int err[2];
  EXPECT_EQ(pipe(in), 0);
  EXPECT_EQ(pipe(out), 0);
  EXPECT_EQ(pipe(err), 0);
  const pid_t pid = spawn_without_terminal([&] {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    for (const int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
      close(fd);
    }
    execl(RTG_EXECUTABLE, RTG_EXECUTABLE, static_cast<char*>(nullptr));
    return 127;
  });
  close(in[0]);
  close(out[1]);
  close(err[1]);
  EXPECT_EQ(write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
  close(in[1]);

  piped_run run;
  std::array<pollfd, 2> streams{pollfd{out[0], POLLIN, 0}, pollfd{err[0], POLLIN, 0}};
  std::array<std::string*, 2> into{&run.out, &run.err};
  int open_streams = 2;
  std::array<char, 4096> buffer{};
  while (open_streams > 0 && poll(streams.data(), streams.size(), -1) > 0) {
    for (std::size_t i = 0; i < streams.size(); ++i) {
      if (streams[i].fd >= 0 && streams[i].revents != 0) {
        const ssize_t got = read(streams[i].fd, buffer.data(), buffer.size());
        if (got > 0) {
          into[i]->append(buffer.data(), static_cast<std::size_t>(got));
        } else {
          close(streams[i].fd);
          streams[i].fd = -1;
          --open_streams;
        }
      }
    }
  }
  const std::optional<int> status = wait_for_exit(pid, std::chrono::minutes(2));
  EXPECT_TRUE(status);
  run.status = status ? *status : -1;
  return run;
}

TEST(executable, runs_the_whole_exercise_through_pipes_in_exact_windows_1250) {
  const piped_run run = run_piped(joined_lines(typical_answers));
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_EQ(WEXITSTATUS(run.status), 0);
  EXPECT_EQ(run.out, to_cp1250(typical_output_utf8()));
  EXPECT_EQ(run.err, "");
}

TEST(executable, ends_with_status_1_when_the_input_ends_at_a_middle_prompt) {
  const piped_run run = run_piped("282\n7.2\n");
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_EQ(WEXITSTATUS(run.status), 1);
  EXPECT_TRUE(run.out.ends_with("Lambda_alfa [pm] = \n")) << run.out;
  EXPECT_EQ(run.err, to_cp1250("Dane wejściowe skończyły się przed ukończeniem ćwiczenia.\n"));
}

// A terminal shows what the program writes with its line ends as CR LF, and echoes each answer.
std::string as_terminal_shows(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    if (c == '\n') {
      shown += '\r';
    }
    shown += c;
  }
  return shown;
}

TEST(executable, runs_the_whole_exercise_on_a_terminal_and_waits_for_the_key) {
  const pty_child child = spawn_on_pty([] {
    execl(RTG_EXECUTABLE, RTG_EXECUTABLE, static_cast<char*>(nullptr));
    return 127;
  });
  ASSERT_GT(child.pid, 0);
  const std::string transcript = typical_output_utf8();
  std::string seen;
  std::string expected;
  std::size_t written_upto = 0;
  for (const std::string_view answer : typical_answers) {
    // Each prompt ends in "= " and is followed by the line end the program writes itself.
    const std::size_t prompt_end = transcript.find("= \n", written_upto) + 2;
    expected += as_terminal_shows(transcript.substr(written_upto, prompt_end - written_upto));
    written_upto = prompt_end;
    ASSERT_TRUE(read_until(child.master, seen, expected)) << "waiting for\n" << expected;
    type_on(child.master, std::string(answer) + "\r");
    expected += std::string(answer) + "\r\n";
  }
  expected += as_terminal_shows(transcript.substr(written_upto));
  ASSERT_TRUE(read_until(child.master, seen, expected)) << seen;
  ASSERT_TRUE(wait_until_raw(child.master));
  EXPECT_TRUE(still_running_after(child.pid, 300ms)) << "it did not wait for the key";

  type_on(child.master, "q");
  const std::optional<int> status = wait_for_exit(child.pid);
  ASSERT_TRUE(status);
  ASSERT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 0);
  EXPECT_TRUE(terminal_is_canonical_with_echo(child.master));
  read_until(child.master, seen, "never printed", 200ms);
  EXPECT_EQ(seen, expected);
  close(child.master);
}

}  // namespace
}  // namespace rtg
