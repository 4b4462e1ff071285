#include "platform/escaped_text.h"

namespace kw {

bool NextEscapedChar(std::string_view text, size_t& pos, uint32_t& code) {
  if (pos >= text.size()) return false;
  const auto byte = [&](size_t i) { return uint32_t(uint8_t(text[i])); };
  if (text[pos] != EscapeByte) {
    code = byte(pos++);
    return true;
  }
  if (text.size() - pos < 3) {
    pos = text.size();
    return false;
  }
  code = byte(pos + 1) | byte(pos + 2) << 8;
  pos += 3;
  return true;
}

void AppendEscape(std::string& out, uint32_t code) {
  out += EscapeByte;
  out += char(code & 0xFF);
  out += char((code >> 8) & 0xFF);
}

size_t FindEscaped(std::string_view text, char byte, size_t from) {
  for (size_t i = from; i < text.size(); i += (text[i] == EscapeByte ? 3 : 1)) {
    if (text[i] == byte) return i;
  }
  return std::string_view::npos;
}

std::u16string EscapedToUtf16(std::string_view text) {
  std::u16string out;
  size_t pos = 0;
  uint32_t code = 0;
  while (NextEscapedChar(text, pos, code)) out += char16_t(code);
  return out;
}

}  // namespace kw
