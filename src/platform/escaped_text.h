// Escaped text: how Unicode games keep 16-bit characters in byte strings.
// A byte 1 followed by two bytes lo, hi stands for the character
// hi × 256 + lo; every other byte is the character of its own value.
// Searches for spaces and line ends step over three bytes at each byte 1,
// so they never look inside an escape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kw {

constexpr char EscapeByte = 1;

// Reads the character at `pos` and moves `pos` past it. False at the end of
// the text and for an escape cut short by the end (then `pos` is the size).
bool NextEscapedChar(std::string_view text, size_t& pos, uint32_t& code);

// Appends the three bytes 1, low byte, high byte of a 16-bit code.
void AppendEscape(std::string& out, uint32_t code);

// The first position from `from` on that holds `byte` outside an escape;
// npos when there is none.
size_t FindEscaped(std::string_view text, char byte, size_t from = 0);

// The characters of an escaped text as 16-bit codes (escapes turned into
// their characters, other bytes taken as the codes 0-255); an escape cut
// short ends the text.
std::u16string EscapedToUtf16(std::string_view text);

}  // namespace kw
