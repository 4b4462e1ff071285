#include "platform/ini.h"

#include <cstdlib>
#include <limits>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kw {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A value enclosed in one pair of matching quotes loses them, as the
// profile reader does.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

void TIniText::SetText(std::string bytes) {
  text_ = std::move(bytes);
  Parse();
}

void TIniText::Parse() {
  lines_.clear();
  size_t pos = 0;
  while (pos < text_.size()) {
    size_t nl = text_.find('\n', pos);
    size_t end = nl == std::string::npos ? text_.size() : nl;
    size_t lineEnd = (end > pos && text_[end - 1] == '\r') ? end - 1 : end;
    std::string_view line(text_.data() + pos, lineEnd - pos);
    std::string_view trimmed = Trim(line);
    TLine l{pos, lineEnd, false, {}, 0};
    if (!trimmed.empty() && trimmed.front() == '[') {
      size_t close = trimmed.find(']');
      std::string_view name = trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
      l.isSection = true;
      l.name = std::string(Trim(name));
      lines_.push_back(std::move(l));
    } else if (size_t eq = line.find('='); eq != std::string_view::npos) {
      l.name = std::string(Trim(line.substr(0, eq)));
      l.valueBegin = pos + eq + 1;
      lines_.push_back(std::move(l));
    }
    pos = nl == std::string::npos ? text_.size() : nl + 1;
  }
}

size_t TIniText::FindSection(std::string_view section) const {
  std::string_view want = Trim(section);
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].isSection && AsciiEqualNoCase(lines_[i].name, want)) return i;
  return lines_.size();
}

std::optional<std::string> TIniText::Find(std::string_view section, std::string_view key) const {
  size_t s = FindSection(section);
  std::string_view want = Trim(key);
  for (size_t i = s + 1; i < lines_.size() && !lines_[i].isSection; ++i) {
    if (AsciiEqualNoCase(lines_[i].name, want)) {
      std::string_view v(text_.data() + lines_[i].valueBegin, lines_[i].end - lines_[i].valueBegin);
      return std::string(Unquote(Trim(v)));
    }
  }
  return std::nullopt;
}

std::string TIniText::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto v = Find(section, key);
  return v ? *v : std::string(fallback);
}

bool TIniText::SectionExists(std::string_view section) const { return FindSection(section) < lines_.size(); }

std::vector<std::string> TIniText::SectionNames() const {
  std::vector<std::string> out;
  for (const auto& l : lines_)
    if (l.isSection) out.push_back(l.name);
  return out;
}

std::vector<std::string> TIniText::KeyNames(std::string_view section) const {
  std::vector<std::string> out;
  size_t s = FindSection(section);
  for (size_t i = s + 1; i < lines_.size() && !lines_[i].isSection; ++i) out.push_back(lines_[i].name);
  return out;
}

void TIniText::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view cleanSection = Trim(section), cleanKey = Trim(key);
  std::string newline = (text_.find("\r\n") != std::string::npos || text_.find('\n') == std::string::npos) ? "\r\n" : "\n";
  std::string entry = std::string(cleanKey) + "=" + std::string(value);
  size_t s = FindSection(cleanSection);
  if (s == lines_.size()) {
    std::string add;
    if (!text_.empty() && text_.back() != '\n') add += newline;
    add += "[" + std::string(cleanSection) + "]" + newline + entry + newline;
    text_ += add;
    Parse();
    return;
  }
  size_t last = s;  // the last key line of the section
  for (size_t i = s + 1; i < lines_.size() && !lines_[i].isSection; ++i) {
    if (AsciiEqualNoCase(lines_[i].name, cleanKey)) {
      text_.replace(lines_[i].begin, lines_[i].end - lines_[i].begin, entry);
      Parse();
      return;
    }
    last = i;
  }
  // A new key goes right after the section's last key (or its header).
  size_t at = lines_[last].end;
  if (at < text_.size() && text_[at] == '\r') ++at;
  if (at < text_.size() && text_[at] == '\n') {
    ++at;
    text_.insert(at, entry + newline);
  } else {
    text_.insert(at, newline + entry + newline);
  }
  Parse();
}

int32_t ProfileToInt(std::string_view text, int32_t fallback) {
  std::string_view s = Trim(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s[0] == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return fallback;
  int64_t v = 0;
  for (char c : s) {
    int d = (c >= '0' && c <= '9') ? c - '0'
            : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
    if (d < 0) return fallback;
    v = v * base + d;
    if (v > int64_t(std::numeric_limits<uint32_t>::max())) return fallback;
  }
  if (base == 10) {
    if (negative) v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return fallback;
    return int32_t(v);
  }
  // Hexadecimal covers the whole 32 bits, as in "$FFFFFFFF" = -1.
  int32_t r = int32_t(uint32_t(v));
  return negative ? -r : r;
}

TMemIniFile::TMemIniFile(const std::filesystem::path& file) {
  std::string bytes;
  loaded_ = ReadWholeFile(file, bytes);
  if (!loaded_) KwLog("%s: settings text not found", file.string().c_str());
  text_.SetText(std::move(bytes));
}

int32_t TMemIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  auto v = text_.Find(section, key);
  return v ? ProfileToInt(*v, fallback) : fallback;
}

TIniFile::TIniFile(std::filesystem::path file) : file_(std::move(file)) {}

void TIniFile::Reload() const {
  if (loaded_) return;
  std::string bytes;
  ReadWholeFile(file_, bytes);
  text_.SetText(std::move(bytes));
  loaded_ = true;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  Reload();
  return text_.ReadString(section, key, fallback);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  Reload();
  auto v = text_.Find(section, key);
  return v ? ProfileToInt(*v, fallback) : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Reload();
  TIniText updated = text_;
  updated.WriteString(section, key, value);
  if (!WriteFileAtomically(file_, updated.Text())) return false;
  text_ = std::move(updated);
  return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

namespace {

enum class TTextForm { Utf16LE, Utf16BE, Utf8, Cp1251 };

struct TWideFile {
  TTextForm form = TTextForm::Utf8;
  std::string utf8;  // the text as UTF-8, without byte-order mark
  bool utf8Bom = false;
};

TWideFile ReadWideFile(const std::filesystem::path& file) {
  TWideFile f;
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) return f;
  auto u16 = [&](bool little) {
    std::u16string t;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      uint8_t a = uint8_t(bytes[i]), b = uint8_t(bytes[i + 1]);
      t += little ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
    }
    return Utf8FromUtf16(t);
  };
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
    f.form = TTextForm::Utf16LE;
    f.utf8 = u16(true);
  } else if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF) {
    f.form = TTextForm::Utf16BE;
    f.utf8 = u16(false);
  } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    f.utf8Bom = true;
    f.utf8 = bytes.substr(3);
  } else if (IsValidUtf8(bytes)) {
    f.utf8 = std::move(bytes);
  } else {
    f.form = TTextForm::Cp1251;
    f.utf8 = Utf8FromCp1251(bytes);
  }
  return f;
}

}  // namespace

std::u16string ReadWideProfileString(const std::filesystem::path& file, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view fallback, size_t maxChars) {
  TWideFile f = ReadWideFile(file);
  TIniText text(std::move(f.utf8));
  auto v = text.Find(Utf8FromUtf16(section), Utf8FromUtf16(key));
  std::u16string out = v ? Utf16FromUtf8(*v) : std::u16string(fallback);
  if (out.size() > maxChars) out.resize(maxChars);
  return out;
}

bool WriteWideProfileString(const std::filesystem::path& file, std::u16string_view section,
                            std::u16string_view key, std::u16string_view value) {
  TWideFile f = ReadWideFile(file);
  TIniText text(std::move(f.utf8));
  text.WriteString(Utf8FromUtf16(section), Utf8FromUtf16(key), Utf8FromUtf16(value));
  std::string out;
  switch (f.form) {
    case TTextForm::Utf16LE:
    case TTextForm::Utf16BE: {
      bool little = f.form == TTextForm::Utf16LE;
      out = little ? "\xFF\xFE" : "\xFE\xFF";
      for (char16_t c : Utf16FromUtf8(text.Text())) {
        char lo = char(c & 0xFF), hi = char(c >> 8);
        out += little ? lo : hi;
        out += little ? hi : lo;
      }
      break;
    }
    case TTextForm::Utf8:
      out = (f.utf8Bom ? "\xEF\xBB\xBF" : "") + text.Text();
      break;
    case TTextForm::Cp1251:
      out = Cp1251FromUtf8(text.Text());
      break;
  }
  return WriteFileAtomically(file, out);
}

}  // namespace kw
