// Windows-1251, the code page of every game text: game files, scripts, INI
// files and file names hold its bytes. Conversions to and from Unicode and
// UTF-8, and upper/lower case by its rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

// The Unicode character of a Windows-1251 byte. Byte 0x98 has no character;
// it maps to U+FFFD here and is handled as "no character" by callers that
// must keep it (see Utf8FromCp1251 with keepUnmapped).
char16_t UnicodeFromCp1251(uint8_t byte);

// The Windows-1251 byte of a 16-bit character, if the code page has one.
// This is also the rule for typed characters: a character message whose
// code has a byte is taken as that byte, others are dropped.
std::optional<uint8_t> Cp1251FromUnicode(char16_t ch);

// True when the byte stands for a character of the code page (all but 0x98).
bool Cp1251HasCharacter(uint8_t byte);

// Whole strings. Unmapped input becomes '?' (as the Windows converter does).
std::string Utf8FromCp1251(std::string_view bytes);
std::string Cp1251FromUtf8(std::string_view utf8, bool* lossless = nullptr);
std::u16string Utf16FromCp1251(std::string_view bytes);
std::string Cp1251FromUtf16(std::u16string_view text, bool* lossless = nullptr);

// UTF-8 and UTF-16. Invalid UTF-8 sequences become U+FFFD; characters above
// U+FFFF become surrogate pairs.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view text);
bool IsValidUtf8(std::string_view bytes);

// Case by Windows-1251 rules: ASCII letters, the Cyrillic А-я (0xC0-0xFF),
// Ё/ё (0xA8/0xB8) and the other paired letters of the code page.
uint8_t Cp1251Upper(uint8_t byte);
uint8_t Cp1251Lower(uint8_t byte);
std::string UpperCase1251(std::string_view bytes);
std::string LowerCase1251(std::string_view bytes);

// ASCII-only case, as names (pack entries, tables, ids) are compared.
char AsciiUpper(char c);
std::string AsciiUpperCase(std::string_view bytes);
bool AsciiEqualNoCase(std::string_view a, std::string_view b);

}  // namespace kw
