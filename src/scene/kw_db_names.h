// Name rules shared by the root's text and sound lookups, and how the root
// finds the game's own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

// "Section.Key" splits at the first "."; without one the section is
// "Default". Both parts are trimmed of blanks. The parts are views of `id`
// (or of "Default").
struct TTextKey {
  std::string_view Section;
  std::string_view Key;
  // Both parts are present.
  bool Valid() const { return !Section.empty() && !Key.empty(); }
};
TTextKey SplitTextKey(std::string_view id);

// The regular file a game-relative name gives in the current folder (the
// game's), through the game-path resolver; none when there is no such file.
std::optional<std::filesystem::path> ExistingGameFile(std::string_view name);

}  // namespace kw
