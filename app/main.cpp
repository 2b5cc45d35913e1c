#include "console.hpp"
#include "stages.hpp"

int main() {
  rtg::start_up();
  rtg::system_console con;
  return rtg::run_exercise(con);
}
