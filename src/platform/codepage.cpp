#include "platform/codepage.h"

#include <array>

namespace kw {

namespace {

// Characters of the bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order.
// 0x98 has no character in this code page.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// Upper and lower case of a Unicode character, for the letters this code
// page has: ASCII, Cyrillic U+0400-U+045F and Ґ/ґ.
char16_t UnicodeUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c >= 0x0430 && c <= 0x044F) return char16_t(c - 0x20);
  if (c >= 0x0450 && c <= 0x045F) return char16_t(c - 0x50);
  if (c == 0x0491) return 0x0490;
  return c;
}
char16_t UnicodeLower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
  if (c >= 0x0410 && c <= 0x042F) return char16_t(c + 0x20);
  if (c >= 0x0400 && c <= 0x040F) return char16_t(c + 0x50);
  if (c == 0x0490) return 0x0491;
  return c;
}

struct TTables {
  std::array<uint8_t, 256> upper{}, lower{};
  TTables() {
    for (int b = 0; b < 256; ++b) {
      upper[b] = lower[b] = uint8_t(b);
      if (!Cp1251HasCharacter(uint8_t(b))) continue;
      char16_t u = UnicodeFromCp1251(uint8_t(b));
      if (auto up = Cp1251FromUnicode(UnicodeUpper(u))) upper[b] = *up;
      if (auto lo = Cp1251FromUnicode(UnicodeLower(u))) lower[b] = *lo;
    }
  }
};

const TTables& Tables() {
  static const TTables tables;
  return tables;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `i`; advances `i`. Answers U+FFFD for an
// invalid sequence (consuming one byte) and sets `valid` false.
char32_t NextUtf8(std::string_view s, size_t& i, bool& valid) {
  uint8_t b = uint8_t(s[i]);
  if (b < 0x80) { ++i; return b; }
  int len = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || i + size_t(len) > s.size()) { ++i; valid = false; return 0xFFFD; }
  char32_t c = b & (0xFF >> (len + 1));
  for (int k = 1; k < len; ++k) {
    uint8_t cb = uint8_t(s[i + size_t(k)]);
    if ((cb & 0xC0) != 0x80) { ++i; valid = false; return 0xFFFD; }
    c = (c << 6) | (cb & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) { ++i; valid = false; return 0xFFFD; }
  i += size_t(len);
  return c;
}

}  // namespace

char16_t UnicodeFromCp1251(uint8_t byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return char16_t(0x0410 + (byte - 0xC0));
  return kHigh[byte - 0x80];
}

bool Cp1251HasCharacter(uint8_t byte) { return byte != 0x98; }

std::optional<uint8_t> Cp1251FromUnicode(char16_t ch) {
  if (ch < 0x80) return uint8_t(ch);
  if (ch >= 0x0410 && ch <= 0x044F) return uint8_t(0xC0 + (ch - 0x0410));
  for (int i = 0; i < 64; ++i)
    if (kHigh[i] == ch && ch != 0xFFFD) return uint8_t(0x80 + i);
  return std::nullopt;
}

std::string Utf8FromCp1251(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(out, UnicodeFromCp1251(uint8_t(c)));
  return out;
}

std::string Cp1251FromUtf8(std::string_view utf8, bool* lossless) {
  return Cp1251FromUtf16(Utf16FromUtf8(utf8), lossless);
}

std::u16string Utf16FromCp1251(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out += UnicodeFromCp1251(uint8_t(c));
  return out;
}

std::string Cp1251FromUtf16(std::u16string_view text, bool* lossless) {
  std::string out;
  out.reserve(text.size());
  bool all = true;
  for (char16_t c : text) {
    if (auto b = Cp1251FromUnicode(c)) {
      out += char(*b);
    } else {
      out += '?';
      all = false;
    }
  }
  if (lossless) *lossless = all;
  return out;
}

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  bool valid = true;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = NextUtf8(utf8, i, valid);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
  }
  return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    AppendUtf8(out, c);
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  bool valid = true;
  for (size_t i = 0; i < bytes.size() && valid;) NextUtf8(bytes, i, valid);
  return valid;
}

uint8_t Cp1251Upper(uint8_t byte) { return Tables().upper[byte]; }
uint8_t Cp1251Lower(uint8_t byte) { return Tables().lower[byte]; }

std::string UpperCase1251(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = char(Cp1251Upper(uint8_t(c)));
  return out;
}

std::string LowerCase1251(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = char(Cp1251Lower(uint8_t(c)));
  return out;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

std::string AsciiUpperCase(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

}  // namespace kw
