#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <termios.h>

#include <algorithm>
#include <csignal>
#include <iterator>
#include <string>

#include "child_process.hpp"
#include "console.hpp"

namespace rtg {
namespace {

using namespace testing;

constexpr std::string_view ready = "[waiting]";
constexpr int left_unread = 3;
constexpr int settings_changed = 4;

// Whether any byte is waiting at the terminal while the console holds it byte by byte.
bool bytes_waiting() {
  pollfd request{STDIN_FILENO, POLLIN, 0};
  return poll(&request, 1, 200) > 0;
}

// The child's side: announce the wait, wait for the key, then report whether any byte of the
// key is still there to be read and whether the terminal is as it was once the console ends.
int wait_then_check_leftovers() {
  termios before{};
  tcgetattr(STDIN_FILENO, &before);
  bool leftovers = false;
  {
    system_console con;
    con.write_text(ready);
    con.wait_for_key();
    leftovers = bytes_waiting();
  }
  termios after{};
  tcgetattr(STDIN_FILENO, &after);
  if (!same_settings(before, after)) {
    return settings_changed;
  }
  return leftovers ? left_unread : 0;
}

struct key_case {
  std::string name;
  std::string key;
};

void PrintTo(const key_case& c, std::ostream* os) {
  *os << c.name;
}

class key_presses : public ::testing::TestWithParam<key_case> {};

TEST_P(key_presses, end_the_wait_unechoed_and_wholly_consumed) {
  const pty_child child = spawn_on_pty(wait_then_check_leftovers);
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, ready));
  ASSERT_TRUE(wait_until_raw(child.master));
  EXPECT_TRUE(still_running_after(child.pid, 200ms)) << "the wait did not wait";

  const key_case& pressed = GetParam();
  type_on(child.master, pressed.key);
  const std::optional<int> status = wait_for_exit(child.pid);
  ASSERT_TRUE(status) << "one key did not end the wait";
  ASSERT_TRUE(WIFEXITED(*status));
  EXPECT_NE(WEXITSTATUS(*status), settings_changed) << "the terminal was not restored";
  EXPECT_NE(WEXITSTATUS(*status), left_unread) << "part of the key was left unread";
  EXPECT_EQ(WEXITSTATUS(*status), 0);
  EXPECT_TRUE(terminal_is_canonical_with_echo(child.master));

  read_until(child.master, seen, "never printed", 300ms);
  EXPECT_EQ(seen, ready) << "the key was echoed";
  close(child.master);
}

INSTANTIATE_TEST_SUITE_P(table, key_presses,
                         ::testing::Values(key_case{"letter", "k"}, key_case{"enter", "\r"},
                                           key_case{"arrow_up", "\x1b[A"},
                                           key_case{"function_key_f5", "\x1b[15~"},
                                           key_case{"polish_letter", "\xC4\x85"}));

TEST(key_wait, does_not_count_keys_typed_before_it) {
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  const pty_child child = spawn_on_pty([&go] {
    char byte = 0;
    (void)read(go[0], &byte, 1);  // the parent types ahead first
    return wait_then_check_leftovers();
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  type_on(child.master, "early");
  ASSERT_TRUE(read_until(child.master, seen, "early"));  // echoed, so surely received
  ASSERT_EQ(write(go[1], "g", 1), 1);
  ASSERT_TRUE(read_until(child.master, seen, ready));
  ASSERT_TRUE(wait_until_raw(child.master));
  EXPECT_TRUE(still_running_after(child.pid, 300ms)) << "a key typed before counted";

  type_on(child.master, "k");
  const std::optional<int> status = wait_for_exit(child.pid);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status));
  close(child.master);
  close(go[0]);
  close(go[1]);
}

struct signal_case {
  std::string name;
  int signal;
  std::string typed;  // empty: sent with kill
};

void PrintTo(const signal_case& c, std::ostream* os) {
  *os << c.name;
}

class signals_during_the_wait : public ::testing::TestWithParam<signal_case> {};

TEST_P(signals_during_the_wait, take_effect_after_the_terminal_is_restored) {
  const signal_case& c = GetParam();
  const pty_child child = spawn_on_pty(wait_then_check_leftovers);
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, ready));
  ASSERT_TRUE(wait_until_raw(child.master));

  if (c.typed.empty()) {
    kill(child.pid, c.signal);
  } else {
    type_on(child.master, c.typed);
  }
  const std::optional<int> status = wait_for_exit(child.pid);
  ASSERT_TRUE(status);
  ASSERT_TRUE(WIFSIGNALED(*status));
  EXPECT_EQ(WTERMSIG(*status), c.signal);
  EXPECT_TRUE(terminal_as_new(child.master));
  close(child.master);
}

INSTANTIATE_TEST_SUITE_P(
    table, signals_during_the_wait,
    ::testing::Values(signal_case{"interrupt_key", SIGINT, "\x03"},
                      signal_case{"quit_key", SIGQUIT, "\x1c"}, signal_case{"term", SIGTERM, ""},
                      signal_case{"hangup", SIGHUP, ""}, signal_case{"interrupt", SIGINT, ""},
                      signal_case{"broken_pipe", SIGPIPE, ""}, signal_case{"alarm", SIGALRM, ""},
                      signal_case{"user_1", SIGUSR1, ""}, signal_case{"user_2", SIGUSR2, ""}),
    [](const auto& info) { return info.param.name; });

TEST(key_wait, goes_on_after_a_signal_that_is_ignored) {
  const pty_child child = spawn_on_pty([] {
    std::signal(SIGTERM, SIG_IGN);
    return wait_then_check_leftovers();
  });
  ASSERT_GT(child.pid, 0);
  std::string seen;
  ASSERT_TRUE(read_until(child.master, seen, ready));
  ASSERT_TRUE(wait_until_raw(child.master));
  kill(child.pid, SIGTERM);
  EXPECT_TRUE(still_running_after(child.pid, 200ms));
  ASSERT_TRUE(wait_until_raw(child.master)) << "the wait did not take the terminal back";

  type_on(child.master, "k");
  const std::optional<int> status = wait_for_exit(child.pid);
  ASSERT_TRUE(status);
  ASSERT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 0);
  EXPECT_TRUE(terminal_is_canonical_with_echo(child.master));
  close(child.master);
}

TEST(key_wait, returns_at_once_without_a_terminal) {
  const pid_t pid = spawn_without_terminal([] {
    system_console con;
    con.wait_for_key();
    return 0;
  });
  ASSERT_GT(pid, 0);
  const std::optional<int> status = wait_for_exit(pid);
  ASSERT_TRUE(status) << "it waited for a keyboard that is not there";
  EXPECT_TRUE(WIFEXITED(*status));
}

}  // namespace
}  // namespace rtg
