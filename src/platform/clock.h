// The time source of the frame timer and everything that counts real time
// (the null audio output, the script clock). A real clock follows the
// machine's monotonic time; a virtual clock moves only when the frame timer
// waits for the next frame, by exactly the frame period, so a headless run
// repeats exactly whatever the machine's speed.
#pragma once

#include <cstdint>

namespace kw {

class TClock {
 public:
  virtual ~TClock() = default;
  // Nanoseconds since the clock was made.
  virtual int64_t NowNs() const = 0;
  // Returns when NowNs() >= deadline (at once if it already is).
  virtual void SleepUntilNs(int64_t deadline) = 0;
  virtual bool IsVirtual() const = 0;
};

class TRealClock final : public TClock {
 public:
  TRealClock();
  int64_t NowNs() const override;
  void SleepUntilNs(int64_t deadline) override;
  bool IsVirtual() const override { return false; }

 private:
  int64_t origin_;
};

class TVirtualClock final : public TClock {
 public:
  int64_t NowNs() const override { return now_; }
  void SleepUntilNs(int64_t deadline) override {
    if (deadline > now_) now_ = deadline;
  }
  bool IsVirtual() const override { return true; }
  void AdvanceNs(int64_t ns) { now_ += ns; }

 private:
  int64_t now_ = 0;
};

}  // namespace kw
