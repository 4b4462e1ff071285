// The fonts archive: a pack in the resource-pack layout whose entries are
// font records (platform/bitmap_font.h) named by their key.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/bitmap_font.h"

namespace kw {

class TKwStore;

// Every valid font record of an open store, in directory order, each named
// by its entry name as stored. A record that cannot be read is skipped with
// a log line; a directory that cannot be read gives no fonts.
std::vector<TBitmapFont> ReadFontsArchive(TKwStore& store);

// The archive named by a game path (relative to the current folder, through
// the game-folder resolver), as the game's fonts archive setting names it.
// None when the file is missing.
std::vector<TBitmapFont> ReadFontsArchive(const std::string& gamePath);

// The archive at a host path (tools, tests, the built-in default archive).
std::vector<TBitmapFont> ReadFontsArchiveFile(const std::filesystem::path& path);

// Writes fonts as an archive, each record under its font's Name, in the
// order given (kwfont). False, with nothing written, when a font cannot be
// stored (see WriteFontRecord), a name is empty or the file cannot be written.
bool WriteFontsArchive(const std::filesystem::path& path, const std::vector<TBitmapFont>& fonts);

}  // namespace kw
