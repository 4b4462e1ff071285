// Diagnostic logging to stderr, silent unless the player runs with --verbose.
#pragma once

namespace kw {

void SetVerbose(bool on);
bool IsVerbose();

// printf-style; one line per call (a newline is added). Does nothing unless
// verbose. Name the file and field in messages about bad input.
void KwLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kw
