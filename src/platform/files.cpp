#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <unordered_map>

#include "platform/codepage.h"
#include "platform/log.h"

namespace kw {

namespace {

using TNames = std::vector<std::string>;

bool LessNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    uint8_t ca = uint8_t(AsciiUpper(a[i])), cb = uint8_t(AsciiUpper(b[i]));
    if (ca != cb) return ca < cb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // same but for case: a fixed order all the same
}

// Directory listings, sorted without regard to case, cached per folder. The
// program's own writes drop the folder's entry; changes made by others while
// the game runs are not seen, as games only read files that ship with them.
class TListingCache {
 public:
  std::shared_ptr<const TNames> Get(const fs::path& folder) {
    std::string key = folder.lexically_normal().string();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      auto it = map_.find(key);
      if (it != map_.end()) return it->second;
    }
    auto names = std::make_shared<TNames>();
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    if (ec) return nullptr;
    for (; it != end; it.increment(ec)) {
      if (ec) break;
      names->push_back(it->path().filename().string());
    }
    std::sort(names->begin(), names->end(), LessNoCase);
    std::lock_guard<std::mutex> lock(mutex_);
    map_[key] = names;
    return names;
  }
  void Forget(const fs::path& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    map_.erase(folder.lexically_normal().string());
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    map_.clear();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, std::shared_ptr<const TNames>> map_;
};

TListingCache& Listings() {
  static TListingCache cache;
  return cache;
}

// Splits a Windows path at "\" and "/", dropping empty and "." parts.
std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (!part.empty() && part != ".") parts.push_back(part);
    part.clear();
  };
  for (char c : path) {
    if (c == '\\' || c == '/') flush();
    else part += c;
  }
  flush();
  return parts;
}

// The entry of `folder` that a game path component names: the exact bytes
// first, then without regard to case as raw Windows-1251 bytes, then an
// entry stored in UTF-8 whose Windows-1251 form matches.
std::optional<std::string> MatchComponent(const fs::path& folder, const std::string& wanted) {
  auto names = Listings().Get(folder);
  if (!names) return std::nullopt;
  for (const auto& n : *names)
    if (n == wanted) return n;
  std::string upper = UpperCase1251(wanted);
  for (const auto& n : *names)
    if (n.size() == wanted.size() && UpperCase1251(n) == upper) return n;
  for (const auto& n : *names) {
    bool ascii = std::all_of(n.begin(), n.end(), [](char c) { return uint8_t(c) < 0x80; });
    if (ascii || !IsValidUtf8(n)) continue;
    bool lossless = false;
    std::string asCp = Cp1251FromUtf8(n, &lossless);
    if (lossless && UpperCase1251(asCp) == upper) return n;
  }
  // A wanted name given in UTF-8 (typed by a user) against UTF-8 on disk.
  if (IsValidUtf8(wanted)) {
    bool lossless = false;
    std::string wantedCp = UpperCase1251(Cp1251FromUtf8(wanted, &lossless));
    if (lossless)
      for (const auto& n : *names) {
        bool ok = false;
        std::string asCp = IsValidUtf8(n) ? Cp1251FromUtf8(n, &ok) : n;
        if ((ok || !IsValidUtf8(n)) && UpperCase1251(asCp) == wantedCp) return n;
      }
  }
  return std::nullopt;
}

bool HasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsRefused(std::string_view gamePath, const std::vector<std::string>& parts) {
  if (gamePath.empty()) return true;
  if (gamePath[0] == '\\' || gamePath[0] == '/' || HasDrive(gamePath)) return true;
  for (const auto& p : parts)
    if (p == ".." || p.find('\0') != std::string::npos) return true;
  return false;
}

std::string DiskName(const std::string& component) {
  return IsValidUtf8(component) ? component : Utf8FromCp1251(component);
}

// Walks `parts` down from `start`; with `forWrite`, components that do not
// exist are kept as given.
std::optional<fs::path> Walk(fs::path current, const std::vector<std::string>& parts, bool forWrite,
                             bool allowParent) {
  bool missing = false;
  for (const auto& part : parts) {
    if (part == "..") {
      if (!allowParent) return std::nullopt;
      current = current.parent_path();
      continue;
    }
    if (!missing) {
      if (auto hit = MatchComponent(current, part)) {
        current /= *hit;
        continue;
      }
      if (!forWrite) return std::nullopt;
      missing = true;
    }
    current /= DiskName(part);
  }
  return current;
}

}  // namespace

std::optional<fs::path> ResolveGamePath(std::string_view gamePath, const fs::path& folder) {
  auto parts = SplitComponents(gamePath);
  if (IsRefused(gamePath, parts) || parts.empty()) return std::nullopt;
  fs::path base = folder.empty() ? CurrentFolder() : folder;
  return Walk(base, parts, false, false);
}

std::optional<fs::path> ResolveGamePathForWrite(std::string_view gamePath, const fs::path& folder) {
  auto parts = SplitComponents(gamePath);
  if (IsRefused(gamePath, parts) || parts.empty()) return std::nullopt;
  fs::path base = folder.empty() ? CurrentFolder() : folder;
  return Walk(base, parts, true, false);
}

std::optional<fs::path> ResolveUserPath(std::string_view path) {
  if (path.empty()) return std::nullopt;
  std::string text = IsValidUtf8(path) ? std::string(path) : Utf8FromCp1251(path);
  std::error_code ec;
  if (fs::exists(fs::path(text), ec)) return fs::path(text);
  std::string_view rest = text;
  if (HasDrive(rest)) rest.remove_prefix(2);
  bool absolute = !rest.empty() && (rest[0] == '\\' || rest[0] == '/');
  auto parts = SplitComponents(rest);
  if (parts.empty()) return std::nullopt;
  return Walk(absolute ? fs::path("/") : CurrentFolder(), parts, false, true);
}

void ForgetFolderListing(const fs::path& folder) { Listings().Forget(folder); }
void ForgetAllFolderListings() { Listings().Clear(); }

namespace {
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // Iterative matcher with one backtrack point for the last "*".
  size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || AsciiUpper(pattern[p]) == AsciiUpper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
}  // namespace

std::vector<std::string> FindFiles(const fs::path& folder, std::string_view pattern) {
  std::vector<std::string> out;
  auto names = Listings().Get(folder.empty() ? CurrentFolder() : folder);
  if (!names) return out;
  for (const auto& n : *names)
    if (n != "." && n != ".." && WildcardMatch(pattern, n)) out.push_back(n);
  return out;
}

bool ReadWholeFile(const fs::path& file, std::string& out, uint64_t maxBytes) {
  out.clear();
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return false;
  uint64_t size = fs::file_size(file, ec);
  if (ec || size > maxBytes) {
    KwLog("%s: not read (%s)", file.string().c_str(), ec ? "size unknown" : "too large");
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  out.resize(size);
  in.read(out.data(), std::streamsize(size));
  if (uint64_t(in.gcount()) != size) {
    out.resize(size_t(in.gcount()));
  }
  return true;
}

bool ReadWholeFile(const fs::path& file, std::vector<uint8_t>& out, uint64_t maxBytes) {
  std::string bytes;
  bool ok = ReadWholeFile(file, bytes, maxBytes);
  out.assign(bytes.begin(), bytes.end());
  return ok;
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes) {
  fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  std::random_device rd;
  fs::path temp = folder / (file.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    KwLog("%s: cannot write", file.string().c_str());
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  bool ok = done == bytes.size() && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    KwLog("%s: write failed", file.string().c_str());
  }
  ForgetFolderListing(folder);
  return ok;
}

bool RemoveFile(const fs::path& file) {
  std::error_code ec;
  bool ok = fs::is_regular_file(file, ec) && fs::remove(file, ec);
  ForgetFolderListing(file.parent_path().empty() ? fs::path(".") : file.parent_path());
  return ok;
}

fs::path ExecutablePath() {
  std::error_code ec;
  fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : p;
}

fs::path ExecutableFolder() { return ExecutablePath().parent_path(); }

fs::path CurrentFolder() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? fs::path(".") : p;
}

bool SetCurrentFolder(const fs::path& folder) {
  std::error_code ec;
  fs::current_path(folder, ec);
  return !ec;
}

std::string ExtractFilePath(std::string_view path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace kw
