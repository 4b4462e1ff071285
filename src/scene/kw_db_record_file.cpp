#include "scene/kw_db_record_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/log.h"

namespace kw {

namespace {

// Read and write, created when missing; O_TRUNC is never given.
int OpenForUpdate(const std::filesystem::path& file) {
  int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) {
    fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // The resolver's cached listings must see the new file, so that the
    // same name in another letter case finds it.
    if (fd >= 0) ForgetAllFolderListings();
  }
  return fd;
}

}  // namespace

std::unique_ptr<TRecordFile> TRecordFile::Open(const std::filesystem::path& file) {
  const int fd = OpenForUpdate(file);
  if (fd < 0) {
    KwLog("record file %s cannot be opened or created", file.string().c_str());
    return nullptr;
  }
  return std::unique_ptr<TRecordFile>(new TRecordFile(file, fd));
}

TRecordFile::~TRecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool TRecordFile::ReadAll(std::string& out) const {
  out.clear();
  if (fd_ < 0) return ReadWholeFile(path_, out);
  char buffer[1 << 16];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      out.clear();
      return false;
    }
    if (n == 0) return true;
    out.append(buffer, size_t(n));
    at += n;
  }
}

bool TRecordFile::Replace(std::string_view bytes) {
  if (!WriteFileAtomically(path_, bytes)) {
    KwLog("record file %s cannot be written", path_.string().c_str());
    return false;
  }
  // The name now stands for the new file; the handle follows it.
  const int fd = OpenForUpdate(path_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  return true;
}

}  // namespace kw
