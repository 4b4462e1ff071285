// kwpack list: one line per directory record, in directory order.
#include <cstdio>

#include "kwpack.h"
#include "media/kw_store.h"

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
  for (const TRecordInfo& record : store.Entries())
    std::printf("%10d %10u  %s\n", record.Size, record.Offset, ShownName(record.Name).c_str());
  return kExitOk;
}

}  // namespace kw::kwpack
