// The frame timer: calls the frame handler at most MaxFPS times a second and,
// from inside it (Process), the tick handler once per whole 1/Speed second
// elapsed, at most 32 times per frame, keeping the fraction for the next.
//
// Frames are paced on deadlines k / MaxFPS seconds after the last restart
// (rounded up to the nanosecond). A frame that comes late moves the pace on
// instead of bursting to catch up. On a virtual clock every Idle() waits
// exactly one frame period, and each frame then has exactly Speed / MaxFPS
// due ticks (one, with the player's 30 and 30).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace kw {

class TFrameTimer {
 public:
  static constexpr int MaxTicksPerFrame = 32;

  explicit TFrameTimer(TClock& clock);

  double Speed = 30.0;  // process ticks per second
  int MaxFPS = 30;      // frame calls per second at most
  std::function<void()> OnTimer;    // the frame handler
  std::function<void()> OnProcess;  // the tick handler

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);

  // One turn of the idle loop: waits for the next frame deadline (sleeping
  // the rest of the frame) and calls OnTimer. Does nothing while disabled.
  void Idle();

  // Called by the frame handler: runs OnProcess once per due tick.
  void Process();

  // Restarts timing: the time before now no longer counts toward ticks.
  void Reset();

  // Frames called in the last whole second of clock time.
  int FrameRate() const { return frameRate_; }
  TClock& Clock() { return clock_; }

 private:
  int64_t FrameDeadline(int64_t frameIndex) const;

  TClock& clock_;
  bool enabled_ = false;
  int64_t paceOrigin_ = 0;   // clock time frame deadlines count from
  int64_t frameIndex_ = 0;   // frames since paceOrigin_
  int64_t lastProcess_ = 0;  // clock time of the last Process or Reset
  int64_t tickFraction_ = 0; // elapsed time not yet a whole tick, in ns*ticks/s
  int64_t rateWindow_ = 0;
  int rateFrames_ = 0;
  int frameRate_ = 0;
};

}  // namespace kw
