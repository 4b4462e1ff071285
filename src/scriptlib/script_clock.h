// The clock and the random generator of the scripts: process-wide state
// owned here, set up once by the shell at start-up (window thread only).
//
// Now, Date and Time read ScriptNow(). By default it is the machine's local
// time. With a virtual clock (a headless, repeatable run) it is a fixed
// start date-time plus the clock's elapsed time, so that two runs with the
// same input see the same dates.
//
// Random draws from one generator (PCG32, the same numbers on every
// machine and build). At start-up it is seeded from the real time; with a
// seed given (--seed N) it is seeded with N.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace kw {

// The start of a virtual script clock: 1 January 2000, 12:00:00.
constexpr double kVirtualClockStart = 36526.5;

// Script time follows `clock` from `start` (a date-time) when the clock is
// virtual; a real clock or none gives the machine's local time. The clock
// must outlive its use here (pass nullptr before destroying it).
void SetScriptClock(const TClock* clock, double start = kVirtualClockStart);
// The current date-time of the scripts.
double ScriptNow();
// The local date-time of the machine (days since 30 December 1899).
double LocalNow();

// Seeds the generator with a fixed number (repeatable runs).
void SeedRandom(uint64_t seed);
// Seeds the generator from the real time (done once on first use when no
// seed was given).
void SeedRandomFromTime();
// A number from 0 to n - 1, uniformly; 0 when n < 1.
int32_t RandomBelow(int32_t n);

}  // namespace kw
