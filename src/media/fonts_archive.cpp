#include "media/fonts_archive.h"

#include "media/kw_store.h"
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

}  // namespace kw
