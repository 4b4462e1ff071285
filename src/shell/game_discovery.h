// Finding the game file at start-up. Without a GAME on the command line the
// original rules apply, in the executable's folder: the executable's file
// name without its last four characters plus ".kwf" (game.exe looks for
// game.kwf, an executable named gamebox for gam.kwf); else the first "*.kwf"
// the listing gives; else "Path" of section "Main" of "DeVoduz.ini", whose
// folder becomes the game's folder.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kw {

class TIniFile;

struct TGameLocation {
  enum class TSource { NotFound, CommandLine, ExecutableName, FirstKwf, DeVoduzIni };
  TSource Source = TSource::NotFound;
  // The folder that becomes the current folder (the game's folder) and the
  // game file's name as the root is given it (relative to that folder, or
  // as "DeVoduz.ini" wrote it when it names nothing that exists).
  std::filesystem::path Folder;
  std::string GameFile;
  // The "DeVoduz.ini" profile when the third step read it; kept open until
  // shutdown.
  std::unique_ptr<TIniFile> DeVoduzIni;
};

// The three discovery steps for an executable at `executable`, with
// "DeVoduz.ini" at `devoduzIni` (DeVoduzIniPath() in the player; empty: none).
TGameLocation DiscoverGame(const std::filesystem::path& executable, const std::filesystem::path& devoduzIni);

// The game named on the command line: a .kwf file, or a folder holding one
// (the file named after the folder, else the first "*.kwf"). NotFound when
// neither exists.
TGameLocation GameFromArgument(std::string_view argument);

const char* SourceName(TGameLocation::TSource source);

}  // namespace kw
