// The record file of saved progress: opened for reading and writing when
// the game names it, kept open for the run. A save replaces its whole
// content through a temporary file renamed over it, so a crash never leaves
// half a save; the file is never truncated in place.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kw {

class TRecordFile {
 public:
  // Opens the file for reading and writing, creating it (empty) when it is
  // missing; an existing file keeps its content. None when it can be
  // neither opened nor created.
  static std::unique_ptr<TRecordFile> Open(const std::filesystem::path& file);
  ~TRecordFile();
  TRecordFile(const TRecordFile&) = delete;
  TRecordFile& operator=(const TRecordFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The whole content, from the start; false when it cannot be read.
  bool ReadAll(std::string& out) const;
  // Replaces the whole content at once (the old content stays when this
  // fails); false on failure.
  bool Replace(std::string_view bytes);

 private:
  TRecordFile(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace kw
