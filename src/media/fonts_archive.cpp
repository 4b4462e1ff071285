#include "media/fonts_archive.h"

#include <limits>

#include "media/kw_store.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kw {

std::vector<TBitmapFont> ReadFontsArchive(TKwStore& store) {
  std::vector<TBitmapFont> fonts;
  if (!store.HasStream()) return fonts;
  try {
    store.ReadDirectory();
  } catch (const EKwStoreError&) {
    // Already logged with the field at fault; the game runs without fonts.
    return fonts;
  }
  const auto& entries = store.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    std::vector<uint8_t> bytes;
    try {
      if (!store.ReadEntryAt(i, bytes)) continue;
    } catch (const EKwStoreError&) {
      continue;
    }
    TBitmapFont font;
    font.Name = entries[i].Name;
    const std::string_view record(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ReadFontRecord(record, font)) {
      KwLog("fonts %s: record %s skipped", store.FileName().c_str(), entries[i].Name.c_str());
      continue;
    }
    fonts.push_back(std::move(font));
  }
  KwLog("fonts %s: %zu of %zu fonts loaded", store.FileName().c_str(), fonts.size(), entries.size());
  return fonts;
}

std::vector<TBitmapFont> ReadFontsArchive(const std::string& gamePath) {
  TKwStore store;
  store.Open(gamePath);
  return ReadFontsArchive(store);
}

std::vector<TBitmapFont> ReadFontsArchiveFile(const std::filesystem::path& path) {
  TKwStore store;
  store.OpenPath(path);
  return ReadFontsArchive(store);
}

namespace {

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

}  // namespace

bool WriteFontsArchive(const std::filesystem::path& path, const std::vector<TBitmapFont>& fonts) {
  // The resource-pack layout: records' data, then the directory, then the trailer.
  std::string pack;
  std::vector<std::pair<uint32_t, uint32_t>> places;
  for (const TBitmapFont& font : fonts) {
    std::string record;
    if (font.Name.empty() || !WriteFontRecord(font, record)) {
      KwLog("fonts %s: font \"%s\" cannot be stored", path.string().c_str(), font.Name.c_str());
      return false;
    }
    places.emplace_back(uint32_t(pack.size()), uint32_t(record.size()));
    pack += record;
  }
  const uint64_t dirOffset = pack.size();
  PutU32(pack, uint32_t(fonts.size()));
  for (size_t i = 0; i < fonts.size(); ++i) {
    PutU32(pack, uint32_t(fonts[i].Name.size()));
    pack += fonts[i].Name;
    PutU32(pack, places[i].first);
    PutU32(pack, places[i].second);
  }
  PutU32(pack, uint32_t(dirOffset));
  if (pack.size() > uint64_t(std::numeric_limits<int32_t>::max())) {
    KwLog("fonts %s: archive too large", path.string().c_str());
    return false;
  }
  return WriteFileAtomically(path, pack);
}

}  // namespace kw
