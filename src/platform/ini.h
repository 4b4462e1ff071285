// INI profiles with the behaviour of the Windows profile functions: sections
// and keys compared without regard to ASCII case, the first match wins,
// values trimmed of blanks (and of one pair of enclosing quotes), lines
// without "=" ignored. Writes replace the value of the first matching key,
// add a key at the end of its section or a section at the end of the file,
// and keep every other byte of the file as it was. Windows-1251 bytes pass
// through untouched.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// The parsed text of one INI file, editable, keeping its bytes.
class TIniText {
 public:
  TIniText() = default;
  explicit TIniText(std::string bytes) { SetText(std::move(bytes)); }

  void SetText(std::string bytes);
  const std::string& Text() const { return text_; }

  // The value of the first key of the first section of that name; none when
  // the section or key is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  bool SectionExists(std::string_view section) const;
  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(std::string_view section) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct TLine {
    size_t begin, end;   // byte range of the line without its line break
    bool isSection;
    std::string name;    // section name or key, trimmed
    size_t valueBegin;   // key lines: start of the text after "="
  };
  void Parse();
  // Index of the first section line of that name, or lines_.size().
  size_t FindSection(std::string_view section) const;

  std::string text_;
  std::vector<TLine> lines_;
};

// Delphi-style integer reading of a profile value: decimal, or "$" followed
// by hexadecimal digits; `fallback` when the text is no number.
int32_t ProfileToInt(std::string_view text, int32_t fallback);

// An INI file read whole into memory (language files, the sound list, the
// Unicode texts). Writes change only the memory copy.
class TMemIniFile {
 public:
  TMemIniFile() = default;
  // Reads the file; a missing or unreadable file gives an empty profile.
  explicit TMemIniFile(const std::filesystem::path& file);
  bool Loaded() const { return loaded_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    return text_.ReadString(section, key, fallback);
  }
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  bool ValueExists(std::string_view section, std::string_view key) const {
    return text_.Find(section, key).has_value();
  }
  const TIniText& Text() const { return text_; }
  TIniText& Text() { return text_; }

 private:
  TIniText text_;
  bool loaded_ = false;
};

// A live INI file (the player's settings): every write goes to the file at
// once, through a temporary file renamed over the old one.
class TIniFile {
 public:
  explicit TIniFile(std::filesystem::path file);
  const std::filesystem::path& FileName() const { return file_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // Answer false when the file could not be written (the memory copy keeps
  // the new value all the same, as the next read would see it on Windows
  // only if the write had worked: reads then give the old file's value).
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  void Reload() const;
  std::filesystem::path file_;
  mutable TIniText text_;
  mutable bool loaded_ = false;
};

// The wide profile functions. A file starting with a UTF-16 LE byte-order
// mark is read as UTF-16; otherwise as UTF-8 (with or without its BOM) when
// it is valid UTF-8, else as Windows-1251. Values are cut to `maxChars`
// characters.
std::u16string ReadWideProfileString(const std::filesystem::path& file, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view fallback,
                                     size_t maxChars = 2000);
// Writes as the wide profile writer does: a UTF-16 file stays UTF-16; any
// other file, and a new one, is written as 8-bit text (UTF-8 here). False
// when the file could not be written.
bool WriteWideProfileString(const std::filesystem::path& file, std::u16string_view section,
                            std::u16string_view key, std::u16string_view value);

}  // namespace kw
