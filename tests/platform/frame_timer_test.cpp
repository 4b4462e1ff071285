#include "platform/frame_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace kw {
namespace {

struct TTimerRig {
  TVirtualClock clock;
  TFrameTimer timer{clock};
  std::vector<int> ticksPerFrame;
  int ticks = 0;
  TTimerRig() {
    timer.OnTimer = [this] {
      int before = ticks;
      timer.Process();
      ticksPerFrame.push_back(ticks - before);
    };
    timer.OnProcess = [this] { ++ticks; };
    timer.SetEnabled(true);
  }
};

TEST(FrameTimer, VirtualClockGivesOneTickPerFrameAtThirtyFramesASecond) {
  TTimerRig rig;
  for (int i = 0; i < 300; ++i) rig.timer.Idle();
  EXPECT_EQ(rig.ticks, 300);
  for (int n : rig.ticksPerFrame) ASSERT_EQ(n, 1);
  // 300 frames at 30 a second are ten seconds of clock time.
  EXPECT_NEAR(double(rig.clock.NowNs()), 10e9, 1.0);
  EXPECT_EQ(rig.timer.FrameRate(), 30);
}

TEST(FrameTimer, LateFramesRunTheDueTicksUpToThirtyTwo) {
  TTimerRig rig;
  rig.timer.Idle();                       // frame 1: one tick
  rig.clock.AdvanceNs(100'000'000);       // a frame 0.1 s late: three ticks
  rig.timer.Idle();
  rig.clock.AdvanceNs(2'000'000'000);     // a two-second stall: 60 ticks due
  rig.timer.Idle();
  rig.clock.AdvanceNs(15'000'000);        // early: the timer sleeps to the next frame
  rig.timer.Idle();
  EXPECT_EQ(rig.ticksPerFrame, (std::vector<int>{1, 3, 32, 1}));
}

TEST(FrameTimer, TheFractionOfATickCarriesOver) {
  TVirtualClock clock;
  TFrameTimer timer(clock);
  int ticks = 0;
  timer.OnProcess = [&] { ++ticks; };
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    clock.AdvanceNs(50'000'000);  // 1.5 ticks each
    timer.Process();
    seen.push_back(ticks);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 4, 6}));
}

TEST(FrameTimer, RestartDropsTheElapsedTime) {
  TTimerRig rig;
  rig.timer.Idle();
  rig.clock.AdvanceNs(5'000'000'000);  // a long load...
  rig.timer.Reset();                   // ...is not counted
  rig.timer.Idle();
  EXPECT_EQ(rig.ticksPerFrame.back(), 1);
}

TEST(FrameTimer, DisabledTimerCallsNothing) {
  TTimerRig rig;
  rig.timer.SetEnabled(false);
  rig.timer.Idle();
  EXPECT_TRUE(rig.ticksPerFrame.empty());
  EXPECT_EQ(rig.clock.NowNs(), 0);
}

TEST(FrameTimer, RealClockCapsTheFrameRate) {
  TRealClock clock;
  TFrameTimer timer(clock);
  int frames = 0;
  timer.OnTimer = [&] { ++frames; };
  timer.MaxFPS = 100;
  timer.SetEnabled(true);
  int64_t start = clock.NowNs();
  for (int i = 0; i < 5; ++i) timer.Idle();
  // Five frames at 100 a second take at least 50 ms (no upper bound asserted).
  EXPECT_GE(clock.NowNs() - start, 49'000'000);
  EXPECT_EQ(frames, 5);
}

}  // namespace
}  // namespace kw
