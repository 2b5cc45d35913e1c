// The console on Windows: text-mode standard streams, UTF-16 output to a real console, Sleep,
// and the key press read as a key-down event from the console keyboard.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <climits>
#include <cstdio>
#include <string>

#include "cp1250.hpp"
#include "platform.hpp"

namespace rtg::platform {

namespace {

bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

// The console shows the Polish letters whatever its code page when given UTF-16.
void write_console(HANDLE console, std::string_view bytes) {
  const std::u16string wide = cp1250::to_utf16(bytes);
  const auto* next = reinterpret_cast<const wchar_t*>(wide.data());
  std::size_t left = wide.size();
  while (left > 0) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(left < 4096 ? left : 4096);
    if (WriteConsoleW(console, next, chunk, &written, nullptr) == 0 || written == 0) {
      return;
    }
    next += written;
    left -= written;
  }
}

// Redirected output gets the Windows-1250 bytes themselves; text mode turns LF into CR LF.
void write_stream(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<unsigned>(bytes.size() < INT_MAX ? bytes.size() : INT_MAX);
    const int written = _write(fd, bytes.data(), chunk);
    if (written <= 0) {
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void write_to(DWORD which, int fd, std::string_view bytes) {
  const HANDLE handle = GetStdHandle(which);
  if (is_console(handle)) {
    write_console(handle, bytes);
  } else {
    write_stream(fd, bytes);
  }
}

// Shift, Ctrl, Alt and the lock keys alone are not the key the student is asked to press.
constexpr bool is_modifier(WORD virtual_key) {
  return virtual_key == VK_SHIFT || virtual_key == VK_CONTROL || virtual_key == VK_MENU ||
         virtual_key == VK_LWIN || virtual_key == VK_RWIN || virtual_key == VK_CAPITAL ||
         virtual_key == VK_NUMLOCK || virtual_key == VK_SCROLL;
}

bool is_key_press(const INPUT_RECORD& record) {
  return record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown != 0 &&
         !is_modifier(record.Event.KeyEvent.wVirtualKeyCode);
}

// One key, whatever it is (a letter, Enter, Escape, an arrow or a function key), read as a
// console event, so that it does not matter which handle a C runtime reads keys from.
void wait_on_console(HANDLE keyboard) {
  // Keys pressed before the closing request do not count.
  FlushConsoleInputBuffer(keyboard);
  for (;;) {
    INPUT_RECORD record{};
    DWORD got = 0;
    if (ReadConsoleInputW(keyboard, &record, 1, &got) == 0 || got == 0) {
      return;  // the console is gone
    }
    if (is_key_press(record)) {
      break;
    }
  }
  FlushConsoleInputBuffer(keyboard);
}

}  // namespace

// Windows keeps little of its own for a run: the console echoes and edits typed lines itself.
struct session::state {
  bool output_is_terminal = is_console(GetStdHandle(STD_OUTPUT_HANDLE));
};

session::session() : state_(std::make_unique<state>()) {}

session::~session() = default;

void set_up_streams() {
  (void)_setmode(_fileno(stdin), _O_TEXT);
  (void)_setmode(_fileno(stdout), _O_TEXT);
}

bool session::output_is_terminal() const {
  return state_->output_is_terminal;
}

void session::write_output(std::string_view bytes) {
  if (state_->output_is_terminal) {
    write_console(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
  } else {
    write_stream(_fileno(stdout), bytes);
  }
}

void session::write_error(std::string_view bytes) {
  write_to(STD_ERROR_HANDLE, _fileno(stderr), bytes);
}

std::size_t session::read_input(std::span<char> space) {
  const auto wanted = static_cast<unsigned>(space.size() < INT_MAX ? space.size() : INT_MAX);
  const int got = _read(_fileno(stdin), space.data(), wanted);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

void session::sleep_for(std::chrono::milliseconds length) {
  // The default timer ticks every 15.6 ms, so a pause could end that late; a 1 ms tick for the
  // length of the pause keeps it within a millisecond or two.
  const bool fine_timer = timeBeginPeriod(1) == TIMERR_NOERROR;
  Sleep(static_cast<DWORD>(length.count()));
  if (fine_timer) {
    timeEndPeriod(1);
  }
}

void session::wait_for_key() {
  // The keyboard is the console's own input, whatever standard input was redirected from.
  const HANDLE keyboard =
      CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (keyboard == INVALID_HANDLE_VALUE) {
    return;  // no console, so no key to wait for
  }
  if (is_console(keyboard)) {
    wait_on_console(keyboard);
  }
  CloseHandle(keyboard);
}

}  // namespace rtg::platform
