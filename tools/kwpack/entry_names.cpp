// The mapping between pack entry names and files on disk, both ways.
#include "kwpack.h"

#include "platform/codepage.h"

namespace kw::kwpack {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::optional<fs::path> EntryDiskPath(std::string_view entryName) {
  if (entryName.empty() || IsSeparator(entryName[0])) return std::nullopt;
  // "C:..." would be a drive on the system the pack came from; never a folder here.
  if (entryName.size() >= 2 && entryName[1] == ':') return std::nullopt;
  if (entryName.find('\0') != std::string_view::npos) return std::nullopt;
  fs::path relative;
  size_t start = 0;
  while (start <= entryName.size()) {
    size_t end = start;
    while (end < entryName.size() && !IsSeparator(entryName[end])) ++end;
    const std::string_view part = entryName.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return std::nullopt;
    // Always the UTF-8 form, so that create turns it back into the same bytes.
    relative /= Utf8FromCp1251(part);
    start = end + 1;
  }
  return relative;
}

std::optional<std::string> DiskEntryName(const fs::path& relative) {
  std::string name;
  for (const fs::path& part : relative) {
    const std::string text = part.string();
    std::string bytes;
    if (IsValidUtf8(text)) {
      bool lossless = true;
      bytes = Cp1251FromUtf8(text, &lossless);
      if (!lossless) return std::nullopt;
    } else {
      // A name stored on disk as raw Windows-1251 bytes.
      bytes = text;
    }
    if (!name.empty()) name += '\\';
    name += bytes;
  }
  if (name.empty()) return std::nullopt;
  return AsciiUpperCase(name);
}

std::string ShownName(std::string_view entryName) { return Utf8FromCp1251(entryName); }

}  // namespace kw::kwpack
