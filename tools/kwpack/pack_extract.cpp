// kwpack extract: writes entries as files below a folder, never outside it.
#include <cstdio>
#include <fstream>
#include <set>

#include "kwpack.h"
#include "media/kw_store.h"
#include "platform/codepage.h"

namespace kw::kwpack {

namespace {

// Makes every folder of `relative` below `root`, refusing to pass through a
// symbolic link or a file, so that a link planted in the target folder cannot
// carry an entry outside it.
bool MakeFolders(const fs::path& root, const fs::path& relative, std::string& problem) {
  fs::path current = root;
  for (const fs::path& part : relative) {
    current /= part;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(current, error);
    if (fs::is_symlink(status)) {
      problem = current.string() + " is a symbolic link";
      return false;
    }
    if (fs::exists(status)) {
      if (!fs::is_directory(status)) {
        problem = current.string() + " is a file, not a folder";
        return false;
      }
      continue;
    }
    if (!fs::create_directory(current, error)) {
      problem = "cannot create " + current.string() + ": " + error.message();
      return false;
    }
  }
  return true;
}

bool WriteEntry(TKwStore& store, size_t index, const fs::path& root) {
  const std::string& name = store.Entries()[index].Name;
  const auto relative = EntryDiskPath(name);
  if (!relative) {
    std::fprintf(stderr, "kwpack: refused entry %s: it would be written outside the folder\n",
                 ShownName(name).c_str());
    return false;
  }
  if (name.find('\x98') != std::string::npos)
    std::fprintf(stderr, "kwpack: entry %s has a byte (0x98) no file name can hold; written with U+FFFD\n",
                 ShownName(name).c_str());
  std::string problem;
  if (!MakeFolders(root, relative->parent_path(), problem)) {
    std::fprintf(stderr, "kwpack: entry %s not written: %s\n", ShownName(name).c_str(), problem.c_str());
    return false;
  }
  const fs::path target = root / *relative;
  std::error_code error;
  const fs::file_status status = fs::symlink_status(target, error);
  if (fs::is_symlink(status) || (fs::exists(status) && !fs::is_regular_file(status))) {
    std::fprintf(stderr, "kwpack: entry %s not written: %s is no plain file\n", ShownName(name).c_str(),
                 target.string().c_str());
    return false;
  }

  std::vector<uint8_t> bytes;
  try {
    store.ReadEntryAt(index, bytes);
  } catch (const EKwStoreError& fault) {
    std::fprintf(stderr, "kwpack: %s\n", fault.what());
    return false;
  }
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "kwpack: cannot write %s\n", target.string().c_str());
    return false;
  }
  return true;
}

// The pack's bytes for a name given on the command line (UTF-8 as a rule).
std::string WantedName(const std::string& arg) {
  if (!IsValidUtf8(arg)) return arg;
  bool lossless = true;
  std::string bytes = Cp1251FromUtf8(arg, &lossless);
  return lossless ? bytes : arg;
}

}  // namespace

int ExtractPack(const fs::path& pack, const std::vector<std::string>& wanted, const fs::path& folder) {
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
  fs::create_directories(folder, error);
  const fs::path root = fs::canonical(folder, error);
  if (error || !fs::is_directory(root)) {
    std::fprintf(stderr, "kwpack: cannot use folder %s\n", folder.string().c_str());
    return kExitError;
  }

  bool ok = true;
  if (wanted.empty()) {
    // As lookups do, the first of equal names is the entry; later ones are shadowed.
    std::set<std::string> seen;
    for (size_t i = 0; i < store.Entries().size(); ++i) {
      const std::string& name = store.Entries()[i].Name;
      if (!seen.insert(name).second) {
        std::fprintf(stderr, "kwpack: skipped entry %zu, a second %s\n", i, ShownName(name).c_str());
        continue;
      }
      ok = WriteEntry(store, i, root) && ok;
    }
  } else {
    for (const std::string& arg : wanted) {
      const int index = store.IndexOf(WantedName(arg));
      if (index < 0) {
        std::fprintf(stderr, "kwpack: no entry %s in %s\n", arg.c_str(), pack.string().c_str());
        ok = false;
        continue;
      }
      ok = WriteEntry(store, size_t(index), root) && ok;
    }
  }
  return ok ? kExitOk : kExitError;
}

}  // namespace kw::kwpack
