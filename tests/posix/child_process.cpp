#include "child_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <csignal>

#include <array>
#include <cerrno>
#include <thread>

namespace rtg::testing {

namespace {

using steady = std::chrono::steady_clock;

[[noreturn]] void run_child(const std::function<int()>& body) {
  // A signal test must not leave a core file behind.
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  _exit(body());
}

}  // namespace

pty_child spawn_on_pty(const std::function<int()>& body) {
  pty_child child;
  child.pid = forkpty(&child.master, nullptr, nullptr, nullptr);
  if (child.pid == 0) {
    run_child(body);
  }
  return child;
}

pid_t spawn_without_terminal(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    setsid();
    run_child(body);
  }
  return pid;
}

bool read_until(int master, std::string& seen, std::string_view wanted,
                std::chrono::milliseconds bound) {
  const auto deadline = steady::now() + bound;
  std::array<char, 4096> buffer{};
  while (seen.find(wanted) == std::string::npos) {
    if (steady::now() > deadline) {
      return false;
    }
    pollfd request{master, POLLIN, 0};
    if (poll(&request, 1, 50) <= 0) {
      continue;
    }
    const ssize_t got = read(master, buffer.data(), buffer.size());
    if (got <= 0) {
      return seen.find(wanted) != std::string::npos;
    }
    seen.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return true;
}

bool wait_until_raw(int master, std::chrono::milliseconds bound) {
  const auto deadline = steady::now() + bound;
  while (steady::now() < deadline) {
    termios settings{};
    if (tcgetattr(master, &settings) == 0 && (settings.c_lflag & (ICANON | ECHO)) == 0) {
      return true;
    }
    std::this_thread::sleep_for(5ms);
  }
  return false;
}

bool terminal_is_canonical_with_echo(int master) {
  termios settings{};
  return tcgetattr(master, &settings) == 0 && (settings.c_lflag & ICANON) != 0 &&
         (settings.c_lflag & ECHO) != 0;
}

std::optional<int> wait_for_exit(pid_t pid, std::chrono::milliseconds bound) {
  const auto deadline = steady::now() + bound;
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      return status;
    }
    if (steady::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return std::nullopt;
    }
    std::this_thread::sleep_for(5ms);
  }
}

bool still_running_after(pid_t pid, std::chrono::milliseconds moment) {
  std::this_thread::sleep_for(moment);
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == 0;
}

void type_on(int master, std::string_view keys) {
  while (!keys.empty()) {
    const ssize_t written = write(master, keys.data(), keys.size());
    if (written <= 0) {
      return;
    }
    keys.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace rtg::testing
