#include "scriptlib/unicode_mode.h"

namespace kw {

namespace {
std::function<bool()>& Hook() {
  static std::function<bool()> hook;
  return hook;
}
}  // namespace

void SetUnicodeModeHook(std::function<bool()> hook) { Hook() = std::move(hook); }

bool UnicodeMode() { return Hook() && Hook()(); }

size_t CharLengthAt(std::string_view s, size_t pos, bool unicode) {
  if (unicode && (unsigned char)s[pos] == kEscapeByte && s.size() - pos >= 3) return 3;
  return 1;
}

size_t CharCount(std::string_view s, bool unicode) {
  if (!unicode) return s.size();
  size_t n = 0;
  for (size_t p = 0; p < s.size(); p += CharLengthAt(s, p, true)) ++n;
  return n;
}

size_t LastCharStart(std::string_view s, bool unicode) {
  size_t last = 0;
  if (!unicode) return s.empty() ? 0 : s.size() - 1;
  for (size_t p = 0; p < s.size(); p += CharLengthAt(s, p, true)) last = p;
  return last;
}

}  // namespace kw
