// The Windows console's key wait alone, for the tests that press keys at it under Wine: it
// announces the wait, waits for one key, and says so.
#include "console.hpp"

int main() {
  rtg::start_up();
  rtg::system_console con;
  con.write_text("[czekam na klawisz]\n");
  con.wait_for_key();
  con.write_text("[klawisz]\n");
  return 0;
}
