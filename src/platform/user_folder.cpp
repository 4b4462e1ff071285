#include "platform/user_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/codepage.h"
#include "platform/log.h"

namespace kw {

namespace {

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
  return {};
}

// An XDG base folder: the variable when it holds an absolute path,
// otherwise the home folder plus the default.
std::filesystem::path XdgFolder(const char* variable, const char* fallbackBelowHome) {
  const char* v = std::getenv(variable);
  if (v && v[0] == '/') return v;
  std::filesystem::path home = HomeFolder();
  if (home.empty()) return {};
  return home / fallbackBelowHome;
}

std::string SafeFolderName(std::string_view gameId) {
  std::string name = IsValidUtf8(gameId) ? std::string(gameId) : Utf8FromCp1251(gameId);
  for (char& c : name)
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  if (name.empty() || name == "." || name == "..") name.assign(1, '_');
  return name;
}

}  // namespace

std::filesystem::path UserDataFolder(std::string_view gameId) {
  std::filesystem::path base = XdgFolder("XDG_DATA_HOME", ".local/share");
  if (base.empty()) return {};
  std::filesystem::path folder = base / "Nimbrel" / SafeFolderName(gameId) / "";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    KwLog("%s: cannot create the user folder (%s)", folder.string().c_str(), ec.message().c_str());
    return {};
  }
  return folder;
}

std::filesystem::path DeVoduzIniPath() {
  std::filesystem::path base = XdgFolder("XDG_CONFIG_HOME", ".config");
  return base.empty() ? base : base / "DeVoduz.ini";
}

}  // namespace kw
