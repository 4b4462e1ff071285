// Resource-pack reading: the bytes become a pack file, whose directory and
// every entry are read. Malformed packs must raise EKwStoreError and nothing
// else; no read may reach outside what the store owns.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/fonts_archive.h"
#include "media/kw_store.h"

namespace {

const std::filesystem::path& PackFile() {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("fuzz_kw_store_" + std::to_string(::getpid()) + ".kst");
  static const bool cleanUp = [] {
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove(file, error);
    });
    return true;
  }();
  (void)cleanUp;
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(PackFile(), std::ios::binary | std::ios::trunc);
    if (size) out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  kw::TKwStore store;
  store.OpenPath(PackFile());
  try {
    store.ReadDirectory();
  } catch (const kw::EKwStoreError&) {
    if (!store.Entries().empty()) std::abort();  // a partial directory stayed in use
    return 0;
  }
  for (size_t i = 0; i < store.Entries().size(); ++i) {
    const kw::TRecordInfo record = store.Entries()[i];
    std::vector<uint8_t> bytes;
    try {
      if (!store.ReadEntryAt(i, bytes)) std::abort();
      if (bytes.size() != size_t(record.Size)) std::abort();
    } catch (const kw::EKwStoreError&) {
      if (uint64_t(record.Offset) + uint64_t(record.Size) <= size) std::abort();  // a good entry refused
    }
    if (store.IndexOf(record.Name) > int(i)) std::abort();  // the first of equal names wins
  }
  // The same bytes as a fonts archive: every record goes through the font reader.
  kw::ReadFontsArchiveFile(PackFile());
  return 0;
}
