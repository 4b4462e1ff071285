#include "shell/game_discovery.h"

#include <system_error>

#include "platform/files.h"
#include "platform/ini.h"
#include "platform/log.h"

namespace kw {

namespace fs = std::filesystem;

namespace {

// The on-disk name of `name` in `folder` (letter case as stored), if any.
std::optional<std::string> ExistingFile(const fs::path& folder, std::string_view name) {
  auto found = ResolveGamePath(name, folder);
  std::error_code ec;
  if (!found || !fs::is_regular_file(*found, ec)) return std::nullopt;
  return found->filename().string();
}

std::optional<std::string> FirstKwf(const fs::path& folder) {
  for (const std::string& name : FindFiles(folder, "*.kwf")) {
    std::error_code ec;
    if (fs::is_regular_file(folder / name, ec)) return name;
  }
  return std::nullopt;
}

}  // namespace

TGameLocation DiscoverGame(const fs::path& executable, const fs::path& devoduzIni) {
  TGameLocation where;
  where.Folder = executable.parent_path();

  // 1. The executable's name without its last four characters, plus ".kwf".
  std::string base = executable.filename().string();
  base.resize(base.size() >= 4 ? base.size() - 4 : 0);
  if (auto name = ExistingFile(where.Folder, base + ".kwf")) {
    where.Source = TGameLocation::TSource::ExecutableName;
    where.GameFile = *name;
    return where;
  }
  // 2. The first "*.kwf" of the folder.
  if (auto name = FirstKwf(where.Folder)) {
    where.Source = TGameLocation::TSource::FirstKwf;
    where.GameFile = *name;
    return where;
  }
  // 3. "DeVoduz.ini" [Main] Path.
  if (devoduzIni.empty()) return where;
  where.DeVoduzIni = std::make_unique<TIniFile>(devoduzIni);
  const std::string path = where.DeVoduzIni->ReadString("Main", "Path", "");
  where.Source = TGameLocation::TSource::DeVoduzIni;
  if (auto resolved = ResolveUserPath(path)) {
    where.Folder = resolved->parent_path();
    where.GameFile = resolved->filename().string();
  } else {
    // Nothing there: the root then finds no game file and stays empty.
    const std::string folder = ExtractFilePath(path);
    if (!folder.empty()) where.Folder = fs::path(folder);
    where.GameFile = ExtractFileName(path);
  }
  KwLog("DeVoduz.ini %s gives the game \"%s\"", devoduzIni.string().c_str(), path.c_str());
  return where;
}

TGameLocation GameFromArgument(std::string_view argument) {
  TGameLocation where;
  const auto resolved = ResolveUserPath(argument);
  if (!resolved) return where;
  std::error_code ec;
  if (fs::is_directory(*resolved, ec)) {
    const fs::path folder = fs::absolute(*resolved, ec);
    std::optional<std::string> name = ExistingFile(folder, folder.filename().string() + ".kwf");
    if (!name) name = FirstKwf(folder);
    if (!name) return where;
    where.Folder = folder;
    where.GameFile = *name;
  } else if (fs::is_regular_file(*resolved, ec)) {
    const fs::path file = fs::absolute(*resolved, ec);
    where.Folder = file.parent_path();
    where.GameFile = file.filename().string();
  } else {
    return where;
  }
  where.Source = TGameLocation::TSource::CommandLine;
  return where;
}

const char* SourceName(TGameLocation::TSource source) {
  switch (source) {
    case TGameLocation::TSource::NotFound: return "not found";
    case TGameLocation::TSource::CommandLine: return "command line";
    case TGameLocation::TSource::ExecutableName: return "named after the program";
    case TGameLocation::TSource::FirstKwf: return "first *.kwf beside the program";
    case TGameLocation::TSource::DeVoduzIni: return "DeVoduz.ini";
  }
  return "?";
}

}  // namespace kw
