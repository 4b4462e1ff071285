#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace kw {

namespace {
int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

TRealClock::TRealClock() : origin_(SteadyNs()) {}

int64_t TRealClock::NowNs() const { return SteadyNs() - origin_; }

void TRealClock::SleepUntilNs(int64_t deadline) {
  int64_t left = deadline - NowNs();
  if (left > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(left));
}

}  // namespace kw
