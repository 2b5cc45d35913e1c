// Child processes for the tests that need a real terminal or a real program: on a
// pseudo-terminal, or without any controlling terminal at all.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rtg::testing {

using namespace std::chrono_literals;

// Generous bounds that only keep a broken test from hanging; nothing is timed against them.
inline constexpr std::chrono::seconds patience = 30s;

struct pty_child {
  pid_t pid = -1;
  int master = -1;  // the terminal's other end: what is written here is typed
};

// Runs `body` in a child whose controlling terminal is a new pseudo-terminal; the child exits
// with what `body` returns.
pty_child spawn_on_pty(const std::function<int()>& body);

// Runs `body` in a child of its own session, with no controlling terminal.
pid_t spawn_without_terminal(const std::function<int()>& body);

// Reads the terminal's output into `seen` until it holds `wanted`; false past the bound.
bool read_until(int master, std::string& seen, std::string_view wanted,
                std::chrono::milliseconds bound = patience);

// Waits until the terminal is neither canonical nor echoing, as during the key wait.
bool wait_until_raw(int master, std::chrono::milliseconds bound = patience);

bool terminal_is_canonical_with_echo(int master);

bool same_settings(const termios& a, const termios& b);

// The settings a new pseudo-terminal starts with, which a program must leave as it found them.
termios fresh_terminal_settings();

// Whether the terminal is exactly as a new one, as after a program that gave it back.
bool terminal_as_new(int master);

// Runs `body` as a job of a small shell, as an interactive shell would: in a process group of
// its own, in the foreground of the terminal, so that Ctrl+Z stops it (a process group with no
// parent in its session ignores stop signals). Each time the job stops, the shell writes
// "[stopped: restored]" or "[stopped: not restored]" after checking the terminal's settings,
// keeps it stopped for `held` with the terminal in the usual settings, writes "[continued]" and
// resumes it in the foreground, like `fg`.
// Returns the job's exit status, or 128 + the signal that ended it.
int run_as_job(const std::function<int()>& body, std::chrono::milliseconds held);

// The wait status, or nothing if the child was still running at the bound (it is then killed).
std::optional<int> wait_for_exit(pid_t pid, std::chrono::milliseconds bound = patience);

// True when the child is still running after `moment`.
bool still_running_after(pid_t pid, std::chrono::milliseconds moment);

void type_on(int master, std::string_view keys);

}  // namespace rtg::testing
