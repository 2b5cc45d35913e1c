#include "child_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <csignal>

#include <algorithm>
#include <array>
#include <cerrno>
#include <iterator>
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

bool same_settings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag &&
         a.c_cflag == b.c_cflag && std::equal(std::begin(a.c_cc), std::end(a.c_cc), b.c_cc);
}

termios fresh_terminal_settings() {
  int master = -1;
  int slave = -1;
  termios settings{};
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
    tcgetattr(slave, &settings);
    close(slave);
    close(master);
  }
  return settings;
}

bool terminal_as_new(int master) {
  termios settings{};
  return tcgetattr(master, &settings) == 0 && same_settings(settings, fresh_terminal_settings());
}

namespace {

void say(std::string_view text) {
  type_on(STDOUT_FILENO, text);
}

}  // namespace

int run_as_job(const std::function<int()>& body, std::chrono::milliseconds held) {
  // The shell takes the terminal back while the job is stopped, from the background.
  std::signal(SIGTTOU, SIG_IGN);
  int go[2];
  if (pipe(go) != 0) {
    return 126;
  }
  const pid_t job = fork();
  if (job == 0) {
    std::signal(SIGTTOU, SIG_DFL);
    setpgid(0, 0);
    char byte = 0;
    (void)read(go[0], &byte, 1);  // until the job is in the foreground
    _exit(body());
  }
  setpgid(job, job);
  tcsetpgrp(STDIN_FILENO, job);
  (void)write(go[1], "g", 1);
  for (;;) {
    int status = 0;
    if (waitpid(job, &status, WUNTRACED) != job) {
      return 125;
    }
    if (WIFEXITED(status)) {
      return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
      return 128 + WTERMSIG(status);
    }
    tcsetpgrp(STDIN_FILENO, getpgrp());
    termios settings{};
    tcgetattr(STDIN_FILENO, &settings);
    const termios usual = fresh_terminal_settings();
    say(same_settings(settings, usual) ? "[stopped: restored]\n" : "[stopped: not restored]\n");
    // As a shell does, it uses the terminal in its own settings while the job is stopped, and
    // leaves them so when the job goes on.
    tcsetattr(STDIN_FILENO, TCSANOW, &usual);
    std::this_thread::sleep_for(held);
    say("[continued]\n");
    tcsetpgrp(STDIN_FILENO, job);
    kill(-job, SIGCONT);
  }
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
