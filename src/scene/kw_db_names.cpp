#include "scene/kw_db_names.h"

#include <system_error>

#include "platform/files.h"

namespace kw {

namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (unsigned char)s.front() <= ' ') s.remove_prefix(1);
  while (!s.empty() && (unsigned char)s.back() <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

TTextKey SplitTextKey(std::string_view id) {
  std::string_view section = "Default", key = id;
  if (size_t dot = id.find('.'); dot != std::string_view::npos) {
    section = id.substr(0, dot);
    key = id.substr(dot + 1);
  }
  return {Trimmed(section), Trimmed(key)};
}

std::optional<std::filesystem::path> ExistingGameFile(std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::optional<std::filesystem::path> file = ResolveGamePath(name);
  std::error_code ec;
  if (!file || !std::filesystem::is_regular_file(*file, ec)) return std::nullopt;
  return file;
}

}  // namespace kw
