// Start and end of the scripting runtime of a run: the interpreter pool
// with every built-in registered in each interpreter, the script random
// source and the script clock.
#pragma once

#include <cstdint>

namespace kw {

class TClock;

// Creates the interpreter pool, registers the built-in library into every
// interpreter, seeds the script random generator with `seed` and lets the
// script clock follow `clock` (a virtual clock makes Now, Date and Time
// repeatable; a real clock or none gives the local time). The clock must
// stay alive until StopScripting.
void StartScripting(uint64_t seed, const TClock* clock);
// Destroys the interpreters and detaches the script clock.
void StopScripting();

}  // namespace kw
