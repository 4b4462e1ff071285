#include "platform/frame_timer.h"

#include <algorithm>
#include <cmath>

namespace kw {

namespace {
constexpr int64_t kSecondNs = 1'000'000'000;
// Elapsed time is counted in ns × milliticks per second, so that a whole
// tick is exactly kTickUnit and no rounding of the tick length builds up.
constexpr int64_t kTickUnit = kSecondNs * 1000;
// A stall longer than this counts as this long (it yields the 32-tick cap
// anyway) so the products below never overflow.
constexpr int64_t kMaxDeltaNs = 60 * kSecondNs;
}  // namespace

TFrameTimer::TFrameTimer(TClock& clock) : clock_(clock) { Reset(); }

void TFrameTimer::SetEnabled(bool on) { enabled_ = on; }

int64_t TFrameTimer::FrameDeadline(int64_t frameIndex) const {
  int64_t fps = std::max(1, MaxFPS);
  return paceOrigin_ + (frameIndex * kSecondNs + fps - 1) / fps;
}

void TFrameTimer::Idle() {
  if (!enabled_) return;
  int64_t next = FrameDeadline(frameIndex_ + 1);
  int64_t now = clock_.NowNs();
  int64_t period = kSecondNs / std::max(1, MaxFPS);
  if (now < next) {
    clock_.SleepUntilNs(next);
    ++frameIndex_;
    now = clock_.NowNs();
  } else if (now - next >= period) {
    // More than a frame late: pace on from now instead of bursting.
    paceOrigin_ = now;
    frameIndex_ = 0;
  } else {
    ++frameIndex_;
  }
  ++rateFrames_;
  if (now - rateWindow_ >= kSecondNs) {
    frameRate_ = rateFrames_;
    rateFrames_ = 0;
    rateWindow_ = now;
  }
  if (OnTimer) OnTimer();
}

void TFrameTimer::Process() {
  int64_t now = clock_.NowNs();
  int64_t delta = std::clamp<int64_t>(now - lastProcess_, 0, kMaxDeltaNs);
  lastProcess_ = now;
  int64_t speedMilli = std::max<int64_t>(0, std::llround(Speed * 1000.0));
  tickFraction_ += delta * speedMilli;
  int64_t due = tickFraction_ / kTickUnit;
  tickFraction_ %= kTickUnit;
  // Whole ticks beyond the cap are dropped; only the fraction carries over.
  due = std::min<int64_t>(due, MaxTicksPerFrame);
  for (int64_t i = 0; i < due; ++i)
    if (OnProcess) OnProcess();
}

void TFrameTimer::Reset() {
  int64_t now = clock_.NowNs();
  lastProcess_ = now;
  tickFraction_ = 0;
  paceOrigin_ = now;
  frameIndex_ = 0;
  rateWindow_ = now;
  rateFrames_ = 0;
}

}  // namespace kw
