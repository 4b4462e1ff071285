// kwpack: lists, extracts and creates resource packs (".kst").
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::kwpack {

namespace fs = std::filesystem;

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

int ListPack(const fs::path& pack);
int ExtractPack(const fs::path& pack, const std::vector<std::string>& wanted, const fs::path& folder);
int CreatePack(const fs::path& pack, const fs::path& folder);

// Entry names are Windows-1251 bytes with "\" between folders; on disk they
// are UTF-8 with "/". The relative disk path an entry extracts to, or none
// when the name could reach outside the target folder (an empty, "." or ".."
// component, a leading separator, a drive letter, a NUL byte).
std::optional<fs::path> EntryDiskPath(std::string_view entryName);
// The entry name a file found under the source folder is stored as:
// components joined by "\", converted to Windows-1251, ASCII upper-cased.
// None when the name has characters that Windows-1251 cannot hold.
std::optional<std::string> DiskEntryName(const fs::path& relative);
// An entry name for people: Windows-1251 bytes shown as UTF-8.
std::string ShownName(std::string_view entryName);

}  // namespace kw::kwpack
