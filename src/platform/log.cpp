#include "platform/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace kw {

namespace {
std::atomic<bool> verbose{false};
}

void SetVerbose(bool on) { verbose = on; }
bool IsVerbose() { return verbose; }

void KwLog(const char* format, ...) {
  if (!verbose) return;
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::fprintf(stderr, "kwplay: %s\n", line);
}

}  // namespace kw
