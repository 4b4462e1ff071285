// kwpack list: one line per directory record, in directory order.
#include <cstdio>

#include "kwpack.h"
#include "media/kw_store.h"
#include "platform/codepage.h"

namespace kw::kwpack {

int ListPack(const fs::path& pack) {
  TKwStore store;
  store.OpenPath(pack);
  if (!store.HasStream()) {
    std::fprintf(stderr, "kwpack: cannot open %s\n", pack.string().c_str());
    return kExitError;
  }
  try {
    store.ReadDirectory();
  } catch (const EKwStoreError& error) {
    std::fprintf(stderr, "kwpack: %s\n", error.what());
    return kExitError;
  }
  std::error_code error;
  const uint64_t fileSize = fs::file_size(pack, error);
  for (const TRecordInfo& record : store.Entries()) {
    std::printf("%10d %10u  %s\n", record.Size, record.Offset, ShownName(record.Name).c_str());
    // What a pack author wants to know: entries the player can never use.
    if (AsciiUpperCase(record.Name) != record.Name)
      std::fprintf(stderr, "kwpack: warning: %s has lower-case letters; lookups never find it\n",
                   ShownName(record.Name).c_str());
    if (record.Size > 0 && uint64_t(record.Offset) + uint64_t(record.Size) > fileSize)
      std::fprintf(stderr, "kwpack: warning: %s runs past the end of the file\n", ShownName(record.Name).c_str());
  }
  return kExitOk;
}

}  // namespace kw::kwpack
