#include <gtest/gtest.h>
#include <sys/time.h>

#include <chrono>
#include <csignal>

#include "console.hpp"

namespace rtg {
namespace {

volatile std::sig_atomic_t alarms_caught = 0;

extern "C" void count_alarm(int /*signal*/) {
  alarms_caught = alarms_caught + 1;
}

TEST(pause, lasts_its_whole_length_though_a_signal_interrupts_it) {
  struct sigaction action {};
  action.sa_handler = count_alarm;  // no SA_RESTART: the sleep really is interrupted
  struct sigaction previous {};
  ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
  const itimerval in_300_ms{{0, 0}, {0, 300'000}};
  ASSERT_EQ(setitimer(ITIMER_REAL, &in_300_ms, nullptr), 0);

  system_console con;
  const auto start = std::chrono::steady_clock::now();
  con.pause();
  const auto slept = std::chrono::steady_clock::now() - start;
  sigaction(SIGALRM, &previous, nullptr);

  EXPECT_EQ(alarms_caught, 1);
  // A lower bound only: a busy machine may make the pause longer, never shorter.
  EXPECT_GE(slept, pause_length);
}

}  // namespace
}  // namespace rtg
