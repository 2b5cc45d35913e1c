// The console on Linux and other POSIX systems: file descriptors, a monotonic sleep, and a
// terminal held without echo and line mode, so that typed-ahead answers show after the prompt
// that reads them and the key press needs no Enter.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <optional>
#include <string>

#include "cp1250.hpp"
#include "line_editor.hpp"
#include "platform.hpp"

namespace rtg::platform {

namespace {

using std::chrono::nanoseconds;
using monotonic = std::chrono::steady_clock;

bool would_block(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

// Waits for a file that is non-blocking (a flag shared with whoever else has it open, and so
// not ours to change) until it is ready.
void wait_ready(int fd, short events) {
  pollfd request{fd, events, 0};
  while (::poll(&request, 1, -1) < 0 && errno == EINTR) {
  }
}

void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written < 0 && would_block(errno)) {
      wait_ready(fd, POLLOUT);
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

// Signals whose default action ends the program, and the terminal's stop key. While the program
// holds a terminal in its own mode they are blocked and taken where it waits, so that the
// terminal is given back before they take effect.
constexpr std::array guarded_signals = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGPIPE,
                                        SIGALRM, SIGUSR1, SIGUSR2, SIGTSTP};

sigset_t guarded_set() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : guarded_signals) {
    sigaddset(&set, signal);
  }
  return set;
}

class blocked_signals {
 public:
  blocked_signals() { block(&previous_); }
  ~blocked_signals() { unblock(); }
  blocked_signals(const blocked_signals&) = delete;
  blocked_signals& operator=(const blocked_signals&) = delete;
  blocked_signals(blocked_signals&&) = delete;
  blocked_signals& operator=(blocked_signals&&) = delete;

  // A signal that arrived while blocked here and was not already blocked before.
  bool one_is_pending() const {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    for (const int signal : guarded_signals) {
      if (sigismember(&pending, signal) == 1 && sigismember(&previous_, signal) != 1) {
        return true;
      }
    }
    return false;
  }

  // Lets pending signals take their usual effect (ending, stopping or handled), then blocks
  // them again if the program lives on.
  void deliver() {
    unblock();
    block(nullptr);
  }

 private:
  static void block(sigset_t* previous) {
    const sigset_t wanted = guarded_set();
    sigprocmask(SIG_BLOCK, &wanted, previous);
  }
  void unblock() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

  sigset_t previous_{};
};

void set_terminal(int fd, const termios& settings, int when) {
  while (tcsetattr(fd, when, &settings) != 0 && errno == EINTR) {
  }
}

// Keys come one at a time, unechoed and unedited; the terminal still turns Ctrl+C, Ctrl+\ and
// Ctrl+Z into signals, Enter into a line end, and a line end into CR LF on screen. A read never
// waits (it gives what is there, perhaps nothing): the program waits in poll, where it takes
// signals. A signal key discards what was typed, perhaps just after poll announced it, and a
// read that waited then would wait with the signal held back.
termios without_echo_and_lines(termios settings) {
  settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL | IEXTEN);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  return settings;
}

constexpr auto signal_check_interval = std::chrono::milliseconds(10);

timespec as_timespec(nanoseconds length) {
  constexpr long nanoseconds_per_second = 1'000'000'000;
  const auto count = length.count() < 0 ? 0 : length.count();
  return {static_cast<time_t>(count / nanoseconds_per_second),
          static_cast<long>(count % nanoseconds_per_second)};
}

// A terminal in the program's mode for as long as the object lives, given back on every way
// out: at the end, and before any guarded signal takes effect. A stop (Ctrl+Z) gives it back
// too, and on `fg` it is taken again and the program carries on where it was.
class held_terminal {
 public:
  enum class wake { readable, deadline, gone };

  // Holds nothing (and blocks nothing) when `fd` is not a terminal.
  held_terminal(int fd, int when) : fd_(fd) {
    if (tcgetattr(fd, &saved_) != 0) {
      return;
    }
    signals_.emplace();
    raw_ = without_echo_and_lines(saved_);
    set_terminal(fd_, raw_, when);
  }
  ~held_terminal() {
    if (holds()) {
      // What was typed and not read does not go on to the shell.
      set_terminal(fd_, saved_, TCSAFLUSH);
    }
  }
  held_terminal(const held_terminal&) = delete;
  held_terminal& operator=(const held_terminal&) = delete;
  held_terminal(held_terminal&&) = delete;
  held_terminal& operator=(held_terminal&&) = delete;

  bool holds() const { return signals_.has_value(); }
  int fd() const { return fd_; }
  const termios& settings() const { return saved_; }

  // Drops whatever was typed and not yet read.
  void discard_typed() { set_terminal(fd_, raw_, TCSAFLUSH); }

  // Waits until the terminal has a byte to read (when `watch` is set) or the moment `until`
  // has come (when given), taking signals on the way. Time spent stopped pushes the moment back.
  wake wait(bool watch, monotonic::time_point* until) {
    for (;;) {
      if (signals_->one_is_pending()) {
        const nanoseconds stopped = take_signals();
        if (until != nullptr) {
          *until += stopped;
        }
      }
      nanoseconds slice = signal_check_interval;
      if (until != nullptr) {
        const nanoseconds left = *until - monotonic::now();
        if (left <= nanoseconds::zero()) {
          return wake::deadline;
        }
        slice = std::min(slice, left);
      }
      pollfd request{fd_, POLLIN, 0};
      const timespec timeout = as_timespec(slice);
      const int ready = ::ppoll(&request, watch ? 1 : 0, &timeout, nullptr);
      if (ready < 0 && errno != EINTR) {
        return wake::gone;
      }
      if (ready > 0) {
        // A hung-up terminal stays "readable" with nothing to read: it is gone.
        constexpr short gone_events = POLLHUP | POLLERR | POLLNVAL;
        return (request.revents & gone_events) == 0 ? wake::readable : wake::gone;
      }
    }
  }

 private:
  // Gives the terminal back, lets the signals act, and takes the terminal again if the
  // program lives on. Returns how long that took, which is the time spent stopped.
  nanoseconds take_signals() {
    set_terminal(fd_, saved_, TCSANOW);
    const auto before = monotonic::now();
    signals_->deliver();
    const auto after = monotonic::now();
    set_terminal(fd_, raw_, TCSANOW);
    return after - before;
  }

  int fd_;
  termios saved_{};
  termios raw_{};
  std::optional<blocked_signals> signals_;
};

// One byte from a held terminal; nothing when the terminal is gone. A read that finds nothing
// (what was typed was discarded meanwhile) goes back to waiting.
std::optional<unsigned char> read_byte(held_terminal& terminal) {
  for (;;) {
    if (terminal.wait(true, nullptr) != held_terminal::wake::readable) {
      return std::nullopt;
    }
    unsigned char byte = 0;
    const ssize_t got = ::read(terminal.fd(), &byte, 1);
    if (got == 1) {
      return byte;
    }
    if (got < 0 && errno != EINTR && !would_block(errno)) {
      return std::nullopt;
    }
  }
}

// The bytes of a key come in one burst; this bounds how long a lone Escape is waited on.
constexpr auto burst_gap = std::chrono::milliseconds(50);

bool more_comes_soon(held_terminal& terminal) {
  monotonic::time_point until = monotonic::now() + burst_gap;
  return terminal.wait(true, &until) == held_terminal::wake::readable;
}

// How many more bytes a key whose first byte this is will send at once: an escape sequence
// (arrows, function keys, Alt) has no fixed length, a UTF-8 letter says its own.
bool key_has_more_bytes(unsigned char first) {
  constexpr unsigned char escape = 0x1B;
  return first == escape || first >= 0xC0;
}

// Takes the rest of a key that sends several bytes, so that none of it is left behind.
void drain_rest_of_key(held_terminal& terminal, unsigned char first) {
  if (!key_has_more_bytes(first)) {
    return;
  }
  std::array<char, 64> discard{};
  while (more_comes_soon(terminal)) {
    const ssize_t got = ::read(terminal.fd(), discard.data(), discard.size());
    if (got < 0 && errno != EINTR && !would_block(errno)) {
      return;
    }
  }
}

void wait_for_one_key(held_terminal& terminal) {
  if (const std::optional<unsigned char> first = read_byte(terminal)) {
    drain_rest_of_key(terminal, *first);
  }
}

editing_keys editing_keys_of(const termios& settings) {
  return {settings.c_cc[VERASE], settings.c_cc[VKILL], settings.c_cc[VWERASE], settings.c_cc[VEOF]};
}

// Where the echo of typed lines goes: the terminal they were typed at, even when standard
// output goes elsewhere; nowhere (-1) when the terminal was set not to echo.
int open_for_echo(int terminal, const termios& settings) {
  if ((settings.c_lflag & ECHO) == 0) {
    return -1;
  }
  std::array<char, 256> name{};
  const int fd = ::ttyname_r(terminal, name.data(), name.size()) != 0
                     ? -1
                     : ::open(name.data(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  return fd >= 0 ? fd : ::dup(terminal);
}

// Reading from a pipe or a file: there is more until read says 0.
std::size_t read_plain(int fd, std::span<char> space) {
  for (;;) {
    const ssize_t got = ::read(fd, space.data(), space.size());
    if (got >= 0) {
      return static_cast<std::size_t>(got);
    }
    if (would_block(errno)) {
      wait_ready(fd, POLLIN);
    } else if (errno != EINTR) {
      return 0;  // an unreadable input is as good as an ended one
    }
  }
}

// A sleeping process wakes up to a millisecond late, more on a virtual machine, and 21 pauses
// add that up. So a pause sleeps until just short of its end and waits out the rest awake; a
// signal that interrupts either part does not shorten the pause.
constexpr auto wake_early = std::chrono::microseconds(1500);

void sleep_until(monotonic::time_point deadline) {
  const timespec alarm = as_timespec((deadline - wake_early).time_since_epoch());
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &alarm, nullptr) == EINTR) {
  }
  while (monotonic::now() < deadline) {
  }
}

}  // namespace

// Typed lines are edited here and handed over one at a time, each echoed as it is taken.
struct session::state {
  state()
      : output_is_terminal(::isatty(STDOUT_FILENO) == 1),
        terminal(STDIN_FILENO, TCSANOW),
        echo_fd(terminal.holds() ? open_for_echo(STDIN_FILENO, terminal.settings()) : -1),
        editor(editing_keys_of(terminal.settings())) {}
  ~state() {
    if (echo_fd >= 0) {
      ::close(echo_fd);
    }
  }
  state(const state&) = delete;
  state& operator=(const state&) = delete;
  state(state&&) = delete;
  state& operator=(state&&) = delete;

  std::size_t read_typed_line(std::span<char> space);
  void show(std::string_view echo) const {
    if (echo_fd >= 0) {
      write_all(echo_fd, echo);
    }
  }
  // The typed bytes up to the end of the next line; false when the input ended.
  bool edit_until_line_complete();
  // Reads what was typed into `typed`; false when the terminal cannot be read.
  bool take_bytes_typed();
  // Forgets whatever was typed and not read, in the terminal and here.
  void discard_typed();

  bool output_is_terminal;
  held_terminal terminal;
  int echo_fd;
  line_editor editor;
  std::string line;  // a complete line, handed over as space allows
  std::size_t line_given = 0;
  std::array<unsigned char, 256> typed{};
  std::size_t typed_next = 0;
  std::size_t typed_filled = 0;
  bool input_ended = false;
};

std::size_t session::state::read_typed_line(std::span<char> space) {
  if (line_given == line.size()) {
    if (input_ended || !edit_until_line_complete()) {
      input_ended = true;
      return 0;
    }
  }
  const std::size_t count = std::min(space.size(), line.size() - line_given);
  std::copy_n(line.begin() + static_cast<std::ptrdiff_t>(line_given), count, space.begin());
  line_given += count;
  return count;
}

bool session::state::edit_until_line_complete() {
  std::string echo;
  for (;;) {
    while (typed_next < typed_filled) {
      const line_editor::outcome outcome = editor.take(typed[typed_next++], echo);
      if (outcome == line_editor::outcome::editing) {
        continue;
      }
      show(echo);
      if (outcome == line_editor::outcome::input_ended) {
        return false;
      }
      line = editor.take_line();
      line_given = 0;
      return true;
    }
    show(echo);
    echo.clear();
    if (editor.in_escape() && !more_comes_soon(terminal)) {
      editor.escape_alone();
    }
    if (terminal.wait(true, nullptr) != held_terminal::wake::readable || !take_bytes_typed()) {
      return false;
    }
  }
}

bool session::state::take_bytes_typed() {
  typed_next = 0;
  typed_filled = 0;
  const ssize_t got = ::read(terminal.fd(), typed.data(), typed.size());
  if (got > 0) {
    typed_filled = static_cast<std::size_t>(got);
  }
  // Nothing at all is no end: what was typed may have been discarded since poll saw it.
  return got >= 0 || errno == EINTR || would_block(errno);
}

void session::state::discard_typed() {
  editor.clear();
  typed_next = typed_filled;
  line_given = line.size();
  terminal.discard_typed();
}

session::session() : state_(std::make_unique<state>()) {}

session::~session() = default;

void set_up_streams() {}

bool session::output_is_terminal() const {
  return state_->output_is_terminal;
}

void session::write_output(std::string_view bytes) {
  write_for(STDOUT_FILENO, bytes, state_->output_is_terminal);
}

void session::write_error(std::string_view bytes) {
  write_for(STDERR_FILENO, bytes, ::isatty(STDERR_FILENO) == 1);
}

std::size_t session::read_input(std::span<char> space) {
  if (state_->terminal.holds()) {
    return state_->read_typed_line(space);
  }
  return read_plain(STDIN_FILENO, space);
}

void session::sleep_for(std::chrono::milliseconds length) {
  const auto deadline = monotonic::now() + length;
  if (!state_->terminal.holds()) {
    sleep_until(deadline);
    return;
  }
  // Woken now and then to take signals; a stop pushes the end of the pause back by its length.
  monotonic::time_point alarm = deadline - wake_early;
  while (state_->terminal.wait(false, &alarm) != held_terminal::wake::deadline) {
  }
  sleep_until(alarm + wake_early);
}

void session::wait_for_key() {
  if (state_->terminal.holds()) {
    // Standard input is the keyboard: what was typed and not read does not count.
    state_->discard_typed();
    wait_for_one_key(state_->terminal);
    return;
  }
  // Otherwise the keyboard is the controlling terminal, if there is one.
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  {
    held_terminal keyboard(fd, TCSAFLUSH);  // flushing drops keys typed before the request
    if (keyboard.holds()) {
      wait_for_one_key(keyboard);
    }
  }
  ::close(fd);
}

}  // namespace rtg::platform
