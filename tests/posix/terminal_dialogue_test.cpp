// The dialogue on a real terminal: what the student sees of typed answers, the editing keys,
// the end of input, signals and stops at any moment, and files left non-blocking by others.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "child_process.hpp"
#include "console.hpp"
#include "stages.hpp"

namespace rtg {
namespace {

using namespace testing;

// What a reading gave, as the child reports it on screen.
std::string describe(const real_entry& entry) {
  if (entry.kind == entry_kind::input_ended) {
    return "[ended]";
  }
  if (entry.kind == entry_kind::not_a_number) {
    return "[not a number]";
  }
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "[%g]", static_cast<double>(entry.value));
  return text.data();
}

// One prompt and its reading, as every question of the exercise does it.
std::string ask(console& con, std::string_view prompt) {
  con.write_text(prompt);
  const real_entry entry = con.read_real();
  con.write_text("\n");
  return describe(entry);
}

// Reads the screen until the child has ended and the terminal has nothing more to show.
std::string rest_of_screen(int master, std::string seen) {
  read_until(master, seen, "never printed", 300ms);
  return seen;
}

struct exit_report {
  bool exited = false;
  int status = -1;
  int signal = 0;
};

exit_report ending_of(pid_t pid) {
  const std::optional<int> status = wait_for_exit(pid);
  if (!status) {
    return {};
  }
  if (WIFSIGNALED(*status)) {
    return {true, -1, WTERMSIG(*status)};
  }
  return {true, WEXITSTATUS(*status), 0};
}

bool exited_with(const exit_report& report, int status) {
  return report.exited && report.status == status;
}

// How a child on a terminal ended: its exit, the rest of what it showed after `seen`, and
// whether it left the terminal as it found it.
struct terminal_ending {
  exit_report exit;
  std::string screen;
  bool terminal_as_new = false;
};

// Waits for the child to end, reads the rest of its screen and closes the terminal.
terminal_ending finish(const pty_child& child, std::string seen = "") {
  terminal_ending ending;
  ending.exit = ending_of(child.pid);
  ending.screen = rest_of_screen(child.master, std::move(seen));
  ending.terminal_as_new = terminal_as_new(child.master);
  close(child.master);
  return ending;
}

TEST(typed_ahead, each_pasted_line_shows_after_the_prompt_that_reads_it) {
  constexpr int questions = 40;
  const pty_child child = spawn_on_pty([] {
    system_console con;
    con.write_text("[question]\n");
    con.pause();
    std::string answers;
    for (int i = 0; i < questions; ++i) {
      answers += ask(con, "Q = ");
    }
    con.write_text(answers + "\n");
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "[question]\r\n"));
  std::string pasted;
  std::string expected = "[question]\r\n";
  std::string values;
  for (int i = 1; i <= questions; ++i) {
    const std::string answer = std::to_string(i);
    pasted.append(answer).append("\r");
    expected.append("Q = ").append(answer).append("\r\n\r\n");
    values.append("[").append(answer).append("]");
  }
  type_on(child.master, pasted);  // during the pause, as one paste
  expected += values + "\r\n";

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0));
  EXPECT_EQ(ending.screen, expected);
  EXPECT_TRUE(ending.terminal_as_new);
}

TEST(typed_ahead, a_line_begun_in_a_pause_and_ended_after_the_prompt_shows_whole_after_it) {
  const pty_child child = spawn_on_pty([] {
    system_console con;
    con.write_text("[question]\n");
    con.pause();
    con.write_text(ask(con, "A = ") + "\n");
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "[question]\r\n"));
  type_on(child.master, "7.");
  ASSERT_TRUE(read_until(child.master, seen, "A = 7."));
  type_on(child.master, "2\r");

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0));
  EXPECT_EQ(ending.screen, "[question]\r\nA = 7.2\r\n\r\n[7.2]\r\n");
}

TEST(typed_lines, are_not_echoed_where_the_terminal_was_set_not_to_echo) {
  const pty_child child = spawn_on_pty([] {
    termios quiet{};
    tcgetattr(STDIN_FILENO, &quiet);
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    system_console con;
    con.write_text(ask(con, "A = ") + "\n");
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "A = "));
  type_on(child.master, "7.2\r");
  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0));
  EXPECT_EQ(ending.screen, "A = \r\n[7.2]\r\n");
}

struct editing_case {
  std::string name;
  std::string typed;
  std::string echoed;  // what the screen shows after the prompt
  std::string read;
};

void PrintTo(const editing_case& c, std::ostream* os) {
  *os << c.name;
}

class editing_keys_at_a_prompt : public ::testing::TestWithParam<editing_case> {};

TEST_P(editing_keys_at_a_prompt, edit_the_line_as_the_terminal_would) {
  const editing_case& c = GetParam();
  const pty_child child = spawn_on_pty([] {
    system_console con;
    con.write_text(ask(con, "A = ") + "\n");
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "A = "));
  type_on(child.master, c.typed);

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0));
  EXPECT_EQ(ending.screen, "A = " + c.echoed + "\r\n" + c.read + "\r\n");
  EXPECT_TRUE(ending.terminal_as_new);
}

INSTANTIATE_TEST_SUITE_P(
    table, editing_keys_at_a_prompt,
    ::testing::Values(
        editing_case{"backspace_over_a_polish_letter", "7\xC4\x85\x7F.2\r", "7\xC4\x85\b \b.2\r\n",
                     "[7.2]"},
        editing_case{"ctrl_h_as_backspace", "78\b.2\r", "78\b \b.2\r\n", "[7.2]"},
        editing_case{"ctrl_u_erases_the_line",
                     "1 23\x15"
                     "7.2\r",
                     "1 23\b \b\b \b\b \b\b \b7.2\r\n", "[7.2]"},
        editing_case{"ctrl_w_erases_words",
                     "99 88\x17\x17"
                     "7.2\r",
                     "99 88\b \b\b \b\b \b\b \b\b \b7.2\r\n", "[7.2]"},
        editing_case{"arrow_and_function_keys_insert_nothing", "7\x1B[D\x1B[15~\x1BOP.2\x1B[A\r",
                     "7.2\r\n", "[7.2]"},
        editing_case{"comma_is_still_not_a_number", "7,3\r", "7,3\r\n", "[not a number]"},
        editing_case{"ctrl_d_on_an_empty_line_ends_the_input", "\x04", "", "[ended]"}),
    [](const auto& info) { return info.param.name; });

TEST(end_of_input, ctrl_d_at_a_prompt_ends_the_run_as_documented) {
  const pty_child child = spawn_on_pty([] {
    system_console con;
    return run_exercise(con);
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "d_obl [pm] = "));
  type_on(child.master, "\x04");

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 1));
  EXPECT_TRUE(
      ending.screen.ends_with("d_obl [pm] = \r\n"
                              "Dane wejściowe skończyły się przed ukończeniem ćwiczenia.\r\n"));
  EXPECT_TRUE(ending.terminal_as_new);
}

enum class phase { reading, pause };

struct signal_case {
  std::string name;
  phase during;
  int signal;
  std::string typed;  // empty: sent with kill
};

void PrintTo(const signal_case& c, std::ostream* os) {
  *os << c.name;
}

class signals_at_any_moment : public ::testing::TestWithParam<signal_case> {};

TEST_P(signals_at_any_moment, give_the_terminal_back_before_taking_effect) {
  const signal_case& c = GetParam();
  const pty_child child = spawn_on_pty([during = c.during] {
    system_console con;
    if (during == phase::pause) {
      con.write_text("[pausing]");
      con.pause();
      con.pause();
    } else {
      con.write_text(ask(con, "A = "));
    }
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, c.during == phase::pause ? "[pausing]" : "A = "));
  ASSERT_TRUE(wait_until_raw(child.master));
  // Half an answer, typed when the signal comes. A signal key makes the terminal discard it
  // again, perhaps after the reading was woken for it: the reading must not then block.
  type_on(child.master, "1");
  if (c.typed.empty()) {
    kill(child.pid, c.signal);
  } else {
    type_on(child.master, c.typed);
  }
  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(ending.exit.exited);
  EXPECT_EQ(ending.exit.signal, c.signal);
  EXPECT_TRUE(ending.terminal_as_new);
}

std::vector<signal_case> every_ending_signal() {
  const std::array<std::pair<std::string, int>, 8> killed{{{"term", SIGTERM},
                                                           {"hangup", SIGHUP},
                                                           {"quit", SIGQUIT},
                                                           {"interrupt", SIGINT},
                                                           {"broken_pipe", SIGPIPE},
                                                           {"alarm", SIGALRM},
                                                           {"user_1", SIGUSR1},
                                                           {"user_2", SIGUSR2}}};
  std::vector<signal_case> cases;
  const std::array<std::pair<phase, std::string>, 2> phases{
      {{phase::reading, "reading"}, {phase::pause, "pause"}}};
  for (const auto& [during, name] : phases) {
    cases.push_back({name + "_ctrl_c", during, SIGINT, "\x03"});
    cases.push_back({name + "_ctrl_backslash", during, SIGQUIT, "\x1C"});
    for (const auto& [signal_name, signal] : killed) {
      cases.push_back({std::string(name).append("_").append(signal_name), during, signal, ""});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(table, signals_at_any_moment, ::testing::ValuesIn(every_ending_signal()),
                         [](const auto& info) { return info.param.name; });

TEST(signals, a_closed_standard_output_ends_the_run_with_the_terminal_given_back) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pty_child child = spawn_on_pty([&out] {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    system_console con;
    (void)ask(con, "A = ");
    (void)ask(con, "B = ");  // the write before this reading finds nobody to read it
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  close(out[1]);
  std::array<char, 4> first{};
  ASSERT_EQ(read(out[0], first.data(), first.size()), 4);  // "A = ": the child is reading
  close(out[0]);
  type_on(child.master, "7.2\r");

  const terminal_ending ending = finish(child);
  EXPECT_TRUE(ending.exit.exited);
  EXPECT_EQ(ending.exit.signal, SIGPIPE);
  EXPECT_TRUE(ending.terminal_as_new);
}

// Ctrl+Z and `fg`: the job is kept stopped this long, and its pause must not lose that time.
constexpr auto held_stopped = 1500ms;

// Presses Ctrl+Z at a job of run_as_job's shell and waits until the shell has let it go on and
// the job holds the terminal again; the terminal must have been given back while it was stopped.
::testing::AssertionResult stop_and_resume(int master, std::string& seen) {
  type_on(master, "\x1A");
  if (!read_until(master, seen, "[continued]\r\n")) {
    return ::testing::AssertionFailure() << "not resumed: " << seen;
  }
  if (seen.find("[stopped: restored]") == std::string::npos) {
    return ::testing::AssertionFailure() << "the terminal was not given back: " << seen;
  }
  if (!wait_until_raw(master)) {
    return ::testing::AssertionFailure() << "the terminal was not taken again";
  }
  return ::testing::AssertionSuccess();
}

TEST(suspend, a_stop_during_a_pause_gives_the_terminal_back_and_does_not_shorten_it) {
  const pty_child child = spawn_on_pty([] {
    return run_as_job(
        [] {
          system_console con;
          con.write_text("[pausing]");
          const auto start = std::chrono::steady_clock::now();
          con.pause();
          const auto paused = std::chrono::steady_clock::now() - start;
          // A lower bound only: a busy machine makes it longer, never shorter.
          return paused >= pause_length + held_stopped ? 0 : 3;
        },
        held_stopped);
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "[pausing]"));
  ASSERT_TRUE(wait_until_raw(child.master));
  type_on(child.master, "\x1A");
  ASSERT_TRUE(read_until(child.master, seen, "[stopped: restored]")) << seen;

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(ending.exit.exited);
  EXPECT_EQ(ending.exit.status, 0) << "the stop shortened the pause";
  EXPECT_TRUE(ending.terminal_as_new);
}

TEST(suspend, a_stop_during_a_reading_resumes_without_the_terminal_echoing) {
  const pty_child child = spawn_on_pty([] {
    return run_as_job(
        [] {
          system_console con;
          con.write_text(ask(con, "A = ") + "\n");
          return 0;
        },
        100ms);
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "A = "));
  ASSERT_TRUE(wait_until_raw(child.master));
  ASSERT_TRUE(stop_and_resume(child.master, seen));
  type_on(child.master, "7.2\r");

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0));
  // Echoed once, by the program: the terminal's own echo is off again.
  EXPECT_TRUE(ending.screen.ends_with("[continued]\r\n7.2\r\n\r\n[7.2]\r\n")) << seen;
  EXPECT_TRUE(ending.terminal_as_new);
}

TEST(suspend, a_stop_during_the_key_wait_resumes_waiting_for_one_key_without_enter) {
  const pty_child child = spawn_on_pty([] {
    return run_as_job(
        [] {
          system_console con;
          con.write_text("[press a key]");
          con.wait_for_key();
          return 0;
        },
        100ms);
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "[press a key]"));
  ASSERT_TRUE(wait_until_raw(child.master));
  ASSERT_TRUE(stop_and_resume(child.master, seen));
  type_on(child.master, "k");

  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0)) << "one key did not end the wait";
  EXPECT_TRUE(ending.screen.ends_with("[continued]\r\n")) << "echoed";
  EXPECT_TRUE(ending.terminal_as_new);
}

void set_non_blocking(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

TEST(non_blocking_input, from_a_pipe_is_waited_for_not_taken_for_its_end) {
  int in[2];
  int out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  set_non_blocking(in[0]);
  const pid_t pid = spawn_without_terminal([&] {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    for (const int fd : {in[0], in[1], out[0], out[1]}) {
      close(fd);
    }
    system_console con;
    con.write_text(ask(con, "A = "));
    return 0;
  });
  close(in[0]);
  close(out[1]);
  std::string seen;
  ASSERT_TRUE(read_until(out[0], seen, "A = "));
  std::this_thread::sleep_for(200ms);  // the reading finds nothing at first
  type_on(in[1], "7.2\n");
  close(in[1]);
  const exit_report ending = ending_of(pid);
  EXPECT_TRUE(exited_with(ending, 0));
  EXPECT_EQ(rest_of_screen(out[0], seen), "A = \n[7.2]");
  close(out[0]);
}

TEST(non_blocking_input, from_a_terminal_is_waited_for_and_so_is_the_key) {
  const pty_child child = spawn_on_pty([] {
    set_non_blocking(STDIN_FILENO);
    system_console con;
    con.write_text(ask(con, "A = ") + "\n");
    con.write_text("[press a key]");
    con.wait_for_key();
    return 0;
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, "A = "));
  std::this_thread::sleep_for(200ms);
  type_on(child.master, "7.2\r");
  ASSERT_TRUE(read_until(child.master, seen, "[press a key]"));
  EXPECT_TRUE(still_running_after(child.pid, 200ms)) << "the key wait did not wait";
  type_on(child.master, "k");
  const terminal_ending ending = finish(child, seen);
  EXPECT_TRUE(exited_with(ending.exit, 0));
  EXPECT_EQ(ending.screen, "A = 7.2\r\n\r\n[7.2]\r\n[press a key]");
  EXPECT_TRUE(ending.terminal_as_new);
}

TEST(non_blocking_output, a_full_pipe_is_waited_on_and_nothing_is_lost) {
  constexpr std::size_t size = std::size_t{1} << 20;
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  set_non_blocking(out[1]);
  const pid_t pid = spawn_without_terminal([&out] {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    system_console con;
    con.write_text(std::string(size, 'x'));
    return 0;
  });
  close(out[1]);
  std::this_thread::sleep_for(200ms);  // the pipe fills up before anything is read
  std::string seen;
  read_until(out[0], seen, "never printed", 5s);
  const exit_report ending = ending_of(pid);
  EXPECT_TRUE(exited_with(ending, 0));
  EXPECT_EQ(seen.size(), size);
  close(out[0]);
}

}  // namespace
}  // namespace rtg
