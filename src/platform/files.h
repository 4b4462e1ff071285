// Files of the game folder and the user folder, seen through Windows eyes.
//
// Game data names files as Windows paths: "\" or "/" separators, any letter
// case, Windows-1251 bytes. On disk the same file may be stored in another
// case and its Cyrillic name as UTF-8 or as the raw bytes. The resolver here
// is the one place that maps such a path to the file on disk; every loader
// goes through it. A path may never leave the folder it is resolved in: ".."
// components and absolute paths are refused.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

namespace fs = std::filesystem;

// The file or folder on disk that a game-relative Windows path names inside
// `folder` (relative to the current folder when `folder` is empty), or none
// when a component is missing or the path is refused.
std::optional<fs::path> ResolveGamePath(std::string_view gamePath, const fs::path& folder = {});

// As ResolveGamePath for a file about to be written: existing components are
// matched as above, the missing ones are kept as given (Windows-1251 bytes
// turned into UTF-8). None when refused.
std::optional<fs::path> ResolveGamePathForWrite(std::string_view gamePath, const fs::path& folder = {});

// A path the user gave (command line, "DeVoduz.ini"): used as it stands when
// it exists; otherwise a drive letter ("D:\games\demo.kwf") is dropped and
// the rest is matched without regard to case from the file-system root (an
// absolute path) or the current folder. Windows-1251 bytes that are not
// UTF-8 are converted first.
std::optional<fs::path> ResolveUserPath(std::string_view path);

// Drops the cached listing of a folder, after the program wrote to it.
// WriteFileAtomically and RemoveFile do this themselves.
void ForgetFolderListing(const fs::path& folder);
void ForgetAllFolderListings();

// Names of the entries of `folder` that match a wildcard pattern ("*.kwf":
// "*" any run, "?" one byte, letters without regard to ASCII case), sorted by
// name without regard to ASCII case, as the original file system listed them.
// Names are the bytes stored on disk. "." and ".." are never listed.
std::vector<std::string> FindFiles(const fs::path& folder, std::string_view pattern);

// Whole-file reads; false (and `out` empty) when the file cannot be read or
// is larger than `maxBytes`.
bool ReadWholeFile(const fs::path& file, std::vector<uint8_t>& out,
                   uint64_t maxBytes = uint64_t(1) << 31);
bool ReadWholeFile(const fs::path& file, std::string& out, uint64_t maxBytes = uint64_t(1) << 31);

// Writes a file through a temporary file in the same folder renamed over the
// old one, so a crash never leaves half a file. False on any failure, with
// the old file untouched.
bool WriteFileAtomically(const fs::path& file, std::string_view bytes);
bool RemoveFile(const fs::path& file);

// The executable's own path and folder (from /proc/self/exe).
fs::path ExecutablePath();
fs::path ExecutableFolder();

// The process's current folder; SetCurrentFolder answers success.
fs::path CurrentFolder();
bool SetCurrentFolder(const fs::path& folder);

// The folder part and file part of a Windows path, split at the last "\" or
// "/" (the folder part keeps its trailing separator, as Delphi's
// ExtractFilePath does).
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);

}  // namespace kw
