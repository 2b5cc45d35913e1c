// The console on Linux and other POSIX systems: file descriptors, a monotonic sleep, and the
// key press read from the controlling terminal.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <string>

#include "cp1250.hpp"
#include "platform.hpp"

namespace rtg::platform {

namespace {

void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return;  // nobody to tell: the dialogue has no channel left
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Terminals here speak UTF-8; pipes and files get the Windows-1250 bytes untouched.
void write_for(int fd, std::string_view bytes, bool to_terminal) {
  if (to_terminal) {
    write_all(fd, cp1250::to_utf8(bytes));
  } else {
    write_all(fd, bytes);
  }
}

// The signals that end a program by default and so must find the terminal as it was.
constexpr std::array terminating_signals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

sigset_t terminating_set() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : terminating_signals) {
    sigaddset(&set, signal);
  }
  return set;
}

// Blocks the terminating signals for the length of the key wait, so that they can be noticed
// and the terminal restored before they take effect.
class blocked_signals {
 public:
  blocked_signals() { block(&previous_); }
  ~blocked_signals() { unblock(); }
  blocked_signals(const blocked_signals&) = delete;
  blocked_signals& operator=(const blocked_signals&) = delete;
  blocked_signals(blocked_signals&&) = delete;
  blocked_signals& operator=(blocked_signals&&) = delete;

  // A signal that arrived during the wait and was not already blocked before it.
  bool one_is_pending() const {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    for (const int signal : terminating_signals) {
      if (sigismember(&pending, signal) == 1 && sigismember(&previous_, signal) != 1) {
        return true;
      }
    }
    return false;
  }

  // Lets pending signals take their usual effect, then blocks again if the program lives on.
  void deliver() {
    unblock();
    block(nullptr);
  }

 private:
  static void block(sigset_t* previous) {
    const sigset_t wanted = terminating_set();
    sigprocmask(SIG_BLOCK, &wanted, previous);
  }
  void unblock() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

  sigset_t previous_{};
};

void set_terminal(int fd, const termios& settings, int when) {
  while (tcsetattr(fd, when, &settings) != 0 && errno == EINTR) {
  }
}

termios without_echo_and_lines(termios settings) {
  settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return settings;
}

enum class wake_reason { key, signal, terminal_gone };

constexpr int signal_check_interval_ms = 10;

wake_reason wait_for_byte(int fd, const blocked_signals& signals, unsigned char& byte) {
  for (;;) {
    if (signals.one_is_pending()) {
      return wake_reason::signal;
    }
    pollfd request{fd, POLLIN, 0};
    const int ready = ::poll(&request, 1, signal_check_interval_ms);
    if (ready < 0 && errno != EINTR) {
      return wake_reason::terminal_gone;
    }
    if (ready <= 0) {
      continue;
    }
    if ((request.revents & POLLIN) == 0) {
      return wake_reason::terminal_gone;
    }
    const ssize_t got = ::read(fd, &byte, 1);
    if (got == 1) {
      return wake_reason::key;
    }
    if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
      return wake_reason::terminal_gone;
    }
  }
}

// How many more bytes a key whose first byte this is will send at once: an escape sequence
// (arrows, function keys, Alt) has no fixed length, a UTF-8 letter says its own.
enum class key_rest { none, utf8_continuation, escape_sequence };

key_rest rest_of_key(unsigned char first) {
  constexpr unsigned char escape = 0x1B;
  if (first == escape) {
    return key_rest::escape_sequence;
  }
  return first >= 0xC0 ? key_rest::utf8_continuation : key_rest::none;
}

// Takes the rest of a key that sends several bytes, so that none of it is left for the shell.
// Its bytes come in one burst; the gap only bounds how long a lone Escape is waited on.
void drain_rest_of_key(int fd, unsigned char first) {
  if (rest_of_key(first) == key_rest::none) {
    return;
  }
  constexpr int burst_gap_ms = 50;
  std::array<char, 64> discard{};
  pollfd request{fd, POLLIN, 0};
  while (::poll(&request, 1, burst_gap_ms) > 0 && (request.revents & POLLIN) != 0) {
    if (::read(fd, discard.data(), discard.size()) <= 0) {
      return;
    }
  }
}

void wait_on_terminal(int fd) {
  termios saved{};
  if (tcgetattr(fd, &saved) != 0) {
    return;
  }
  const termios raw = without_echo_and_lines(saved);
  blocked_signals signals;
  for (;;) {
    // Flushing on the switch drops whatever was typed before the closing request.
    set_terminal(fd, raw, TCSAFLUSH);
    unsigned char first = 0;
    const wake_reason reason = wait_for_byte(fd, signals, first);
    if (reason == wake_reason::key) {
      drain_rest_of_key(fd, first);
      set_terminal(fd, saved, TCSAFLUSH);
      return;
    }
    set_terminal(fd, saved, TCSANOW);
    if (reason == wake_reason::terminal_gone) {
      return;
    }
    signals.deliver();  // usually the end of the program; an ignored signal lets the wait go on
  }
}

timespec monotonic_now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now;
}

timespec monotonic_after(std::chrono::nanoseconds length) {
  constexpr long nanoseconds_per_second = 1'000'000'000;
  timespec moment = monotonic_now();
  const auto whole = std::chrono::duration_cast<std::chrono::seconds>(length);
  moment.tv_sec += static_cast<time_t>(whole.count());
  moment.tv_nsec += static_cast<long>((length - whole).count());
  if (moment.tv_nsec >= nanoseconds_per_second) {
    moment.tv_nsec -= nanoseconds_per_second;
    ++moment.tv_sec;
  }
  return moment;
}

bool before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

void set_up_streams() {}

bool output_is_terminal() {
  return ::isatty(STDOUT_FILENO) == 1;
}

void write_output(std::string_view bytes, bool to_terminal) {
  write_for(STDOUT_FILENO, bytes, to_terminal);
}

void write_error(std::string_view bytes) {
  write_for(STDERR_FILENO, bytes, ::isatty(STDERR_FILENO) == 1);
}

std::size_t read_input(std::span<char> space) {
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, space.data(), space.size());
    if (got >= 0) {
      return static_cast<std::size_t>(got);
    }
    if (errno != EINTR) {
      return 0;  // an unreadable input is as good as an ended one
    }
  }
}

void sleep_for(std::chrono::milliseconds length) {
  // A sleeping process wakes up to a millisecond late, more on a virtual machine, and 21 pauses
  // add that up. So the pause sleeps until just short of its end and waits out the rest awake;
  // a signal that interrupts either part does not shorten the pause.
  constexpr auto wake_early = std::chrono::microseconds(1500);
  const timespec deadline = monotonic_after(length);
  const timespec alarm = monotonic_after(length - wake_early);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &alarm, nullptr) == EINTR) {
  }
  while (before(monotonic_now(), deadline)) {
  }
}

void wait_for_key() {
  // Where there is no controlling terminal there is no keyboard to wait for.
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  if (::isatty(fd) == 1) {
    wait_on_terminal(fd);
  }
  ::close(fd);
}

}  // namespace rtg::platform
