// The console in a web page, or under node on the command line: a small JavaScript host
// (console/web/) writes the bytes, hands over typed input, sleeps and waits for the key. The
// program blocks where it always does; each blocking call awaits the host (Asyncify).
#include <emscripten.h>

#include <algorithm>

#include "platform.hpp"

namespace {

constexpr int standard_output = 1;
constexpr int standard_error = 2;

// NOLINTBEGIN: the host's side, in JavaScript.
EM_JS(int, host_output_is_terminal, (), { return Module.rtgHost.outputIsTerminal() ? 1 : 0; });

EM_JS(void, host_write, (int stream, const char* bytes, std::size_t count),
      { Module.rtgHost.write(stream, HEAPU8.slice(bytes, bytes + count)); });

// At most `size` bytes of typed input; none when the input ended.
EM_ASYNC_JS(int, host_read, (char* space, int size), {
  const bytes = await Module.rtgHost.read(size);
  HEAPU8.set(bytes, space);
  return bytes.length;
});

EM_ASYNC_JS(void, host_sleep, (double milliseconds), { await Module.rtgHost.sleep(milliseconds); });

EM_ASYNC_JS(void, host_wait_for_key, (), { await Module.rtgHost.waitForKey(); });
// NOLINTEND

void write_to(int stream, std::string_view bytes) {
  if (!bytes.empty()) {
    host_write(stream, bytes.data(), bytes.size());
  }
}

}  // namespace

namespace rtg::platform {

// The host holds whatever a run needs: its queue of typed lines, its terminal if it has one.
struct session::state {};

session::session() : state_(std::make_unique<state>()) {}

session::~session() = default;

void set_up_streams() {}

bool session::output_is_terminal() const {
  return host_output_is_terminal() != 0;
}

void session::write_output(std::string_view bytes) {
  write_to(standard_output, bytes);
}

void session::write_error(std::string_view bytes) {
  write_to(standard_error, bytes);
}

std::size_t session::read_input(std::span<char> space) {
  constexpr std::size_t largest_request = std::size_t{1} << 30;
  const auto size = static_cast<int>(std::min(space.size(), largest_request));
  return static_cast<std::size_t>(host_read(space.data(), size));
}

void session::sleep_for(std::chrono::milliseconds length) {
  host_sleep(static_cast<double>(length.count()));
}

void session::wait_for_key() {
  host_wait_for_key();
}

}  // namespace rtg::platform
