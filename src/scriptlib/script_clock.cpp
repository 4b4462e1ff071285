#include "scriptlib/script_clock.h"

#include <chrono>
#include <ctime>

namespace kw {

namespace {

struct TScriptClockState {
  const TClock* clock = nullptr;
  double start = kVirtualClockStart;
};

TScriptClockState& ClockState() {
  static TScriptClockState state;
  return state;
}

// PCG32 (XSH RR): small, fast, and defined by its algorithm alone, so a
// seed gives the same numbers everywhere.
class TPcg32 {
 public:
  void Seed(uint64_t seed) {
    state_ = 0;
    Next();
    state_ += seed;
    Next();
  }
  uint32_t Next() {
    uint64_t old = state_;
    state_ = old * 6364136223846793005ull + kIncrement;
    uint32_t xorshifted = uint32_t(((old >> 18) ^ old) >> 27);
    uint32_t rot = uint32_t(old >> 59);
    return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
  }

 private:
  static constexpr uint64_t kIncrement = 1442695040888963407ull;
  uint64_t state_ = 0;
};

struct TRandomState {
  TPcg32 generator;
  bool seeded = false;
};

TRandomState& RandomState() {
  static TRandomState state;
  return state;
}

}  // namespace

void SetScriptClock(const TClock* clock, double start) {
  ClockState().clock = clock;
  ClockState().start = start;
}

double LocalNow() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t secs = system_clock::to_time_t(now);
  int64_t ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  if (ms < 0) ms += 1000;
  std::tm local{};
  localtime_r(&secs, &local);
  // Days from 30 December 1899 to 1 January 1970 are 25569; the local
  // calendar fields are counted from there without any time zone step.
  std::tm utcFields = local;
  utcFields.tm_isdst = 0;
  int64_t localSecs = int64_t(timegm(&utcFields));
  return 25569.0 + (double(localSecs) + double(ms) / 1000.0) / 86400.0;
}

double ScriptNow() {
  const TScriptClockState& s = ClockState();
  if (s.clock && s.clock->IsVirtual()) return s.start + double(s.clock->NowNs()) / 86400e9;
  return LocalNow();
}

void SeedRandom(uint64_t seed) {
  RandomState().generator.Seed(seed);
  RandomState().seeded = true;
}

void SeedRandomFromTime() {
  auto t = std::chrono::system_clock::now().time_since_epoch().count();
  SeedRandom(uint64_t(t) ^ (uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) << 1));
}

int32_t RandomBelow(int32_t n) {
  TRandomState& r = RandomState();
  if (!r.seeded) SeedRandomFromTime();
  if (n < 1) return 0;
  // Lemire's multiply-and-reject: uniform with no modulo bias.
  uint64_t range = uint64_t(n);
  uint64_t m = uint64_t(r.generator.Next()) * range;
  uint32_t low = uint32_t(m);
  if (low < range) {
    uint32_t threshold = uint32_t(-uint32_t(range)) % uint32_t(range);
    while (low < threshold) {
      m = uint64_t(r.generator.Next()) * range;
      low = uint32_t(m);
    }
  }
  return int32_t(m >> 32);
}

}  // namespace kw
