// Unicode mode of the running game (the root's Unicode setting): strings
// may then hold characters beyond Windows-1251, each written as three
// bytes, the byte 1 and the 16-bit code, low byte first. Length,
// DelLastChar, the Trims and the case functions count such a character as
// one. The scene sets the hook when a game is loaded; without it the mode
// is off.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace kw {

constexpr unsigned char kEscapeByte = 1;

// Process-wide (window thread only); an empty function turns the mode off.
void SetUnicodeModeHook(std::function<bool()> hook);
bool UnicodeMode();

// The byte length of the character that starts at `pos`: 3 for an escaped
// character (the byte 1 with two bytes after it), else 1.
size_t CharLengthAt(std::string_view s, size_t pos, bool unicode);
// The number of characters of `s`.
size_t CharCount(std::string_view s, bool unicode);
// The byte position where the last character of `s` starts (0 for empty).
size_t LastCharStart(std::string_view s, bool unicode);

}  // namespace kw
