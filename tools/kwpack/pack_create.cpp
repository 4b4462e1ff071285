// kwpack create: packs every file below a folder. The entries' data comes
// first in sorted name order, then the directory, then the trailer; the pack
// is written to a temporary file and renamed into place, so a failed run
// leaves no half pack.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <unistd.h>

#include "kwpack.h"

namespace kw::kwpack {

namespace {

struct TSource {
  std::string Name;  // entry name as stored
  fs::path File;
  uint32_t Offset = 0;
  int32_t Size = 0;
};

constexpr uint64_t kMaxPack = uint64_t(std::numeric_limits<int32_t>::max());

void PutU32(std::ostream& out, uint32_t v) {
  const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
  out.write(bytes, 4);
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::exists(b, error) && fs::equivalent(a, b, error);
}

// Finds the files to pack; false (with a message) when one cannot be named.
bool CollectSources(const fs::path& folder, const fs::path& pack, std::vector<TSource>& sources) {
  std::error_code error;
  bool ok = true;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    if (SameFile(it->path(), pack)) continue;  // the pack being replaced
    const fs::path relative = it->path().lexically_relative(folder);
    const auto name = DiskEntryName(relative);
    if (!name) {
      std::fprintf(stderr, "kwpack: %s: the name has characters Windows-1251 cannot hold\n",
                   it->path().string().c_str());
      ok = false;
      continue;
    }
    sources.push_back({*name, it->path()});
  }
  if (error) {
    std::fprintf(stderr, "kwpack: cannot read folder %s: %s\n", folder.string().c_str(), error.message().c_str());
    return false;
  }
  std::sort(sources.begin(), sources.end(), [](const TSource& a, const TSource& b) { return a.Name < b.Name; });
  for (size_t i = 1; i < sources.size(); ++i) {
    if (sources[i].Name == sources[i - 1].Name) {
      std::fprintf(stderr, "kwpack: %s and %s both become entry %s\n", sources[i - 1].File.string().c_str(),
                   sources[i].File.string().c_str(), ShownName(sources[i].Name).c_str());
      ok = false;
    }
  }
  return ok;
}

bool CopyFile(const TSource& source, std::ostream& out, uint64_t& written) {
  std::ifstream in(source.File, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kwpack: cannot read %s\n", source.File.string().c_str());
    return false;
  }
  char buffer[1 << 16];
  uint64_t copied = 0;
  while (in) {
    in.read(buffer, sizeof buffer);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    copied += uint64_t(got);
    if (written + copied > kMaxPack) {
      std::fprintf(stderr, "kwpack: the pack would pass 2 GiB at %s\n", source.File.string().c_str());
      return false;
    }
    out.write(buffer, got);
  }
  if (in.bad()) {
    std::fprintf(stderr, "kwpack: cannot read %s\n", source.File.string().c_str());
    return false;
  }
  written += copied;
  return true;
}

bool WritePack(std::vector<TSource>& sources, std::ostream& out) {
  uint64_t written = 0;
  for (TSource& source : sources) {
    source.Offset = uint32_t(written);
    if (!CopyFile(source, out, written)) return false;
    source.Size = int32_t(written - source.Offset);
  }
  const uint64_t dirOffset = written;
  uint64_t dirBytes = 4 + 4;
  for (const TSource& source : sources) dirBytes += 12 + source.Name.size();
  if (dirOffset + dirBytes > kMaxPack) {
    std::fprintf(stderr, "kwpack: the pack would pass 2 GiB\n");
    return false;
  }
  PutU32(out, uint32_t(sources.size()));
  for (const TSource& source : sources) {
    PutU32(out, uint32_t(source.Name.size()));
    out.write(source.Name.data(), std::streamsize(source.Name.size()));
    PutU32(out, source.Offset);
    PutU32(out, uint32_t(source.Size));
  }
  PutU32(out, uint32_t(dirOffset));
  return bool(out);
}

}  // namespace

int CreatePack(const fs::path& pack, const fs::path& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    std::fprintf(stderr, "kwpack: %s is no folder\n", folder.string().c_str());
    return kExitError;
  }
  std::vector<TSource> sources;
  if (!CollectSources(folder, pack, sources)) return kExitError;

  const fs::path temporary = pack.string() + ".tmp" + std::to_string(::getpid());
  bool ok;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      std::fprintf(stderr, "kwpack: cannot create %s\n", temporary.string().c_str());
      return kExitError;
    }
    ok = WritePack(sources, out);
    out.close();
    ok = ok && !out.fail();
  }
  if (ok) fs::rename(temporary, pack, error);
  if (!ok || error) {
    if (error) std::fprintf(stderr, "kwpack: cannot write %s: %s\n", pack.string().c_str(), error.message().c_str());
    fs::remove(temporary, error);
    return kExitError;
  }
  return kExitOk;
}

}  // namespace kw::kwpack
