// Where the player keeps per-user data.
#pragma once

#include <filesystem>
#include <string_view>

namespace kw {

// $XDG_DATA_HOME (or ~/.local/share) + "/Nimbrel/" + the game's id + "/",
// created with its parents. The id is Windows-1251 text; it becomes one
// folder name in UTF-8, with separators and NUL bytes replaced by "_" and
// an id of "", "." or ".." replaced by "_", so the folder never lies outside
// "Nimbrel". Empty (meaning the current folder, the game's) when no home
// folder can be found or the folder cannot be created.
std::filesystem::path UserDataFolder(std::string_view gameId);

// Where "DeVoduz.ini", the game-maker tool's settings, is looked for:
// $XDG_CONFIG_HOME (or ~/.config) + "/DeVoduz.ini". Empty without a home.
std::filesystem::path DeVoduzIniPath();

}  // namespace kw
