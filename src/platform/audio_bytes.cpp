#include "platform/audio_bytes.h"

#include <algorithm>
#include <cstring>

namespace kw {

namespace {

int64_t SeekTarget(int64_t offset, int whence, int64_t pos, int64_t size) {
  switch (whence) {
    case SEEK_SET: return offset;
    case SEEK_CUR: return pos + offset;
    case SEEK_END: return size + offset;
    default: return -1;
  }
}

class TMemoryAudioBytes final : public TAudioBytes {
 public:
  TMemoryAudioBytes(const void* data, size_t size, std::string label)
      : data_(static_cast<const uint8_t*>(data)), size_(data ? size : 0), label_(std::move(label)) {}

  size_t Read(void* out, size_t count) override {
    size_t n = std::min<size_t>(count, size_t(size_ - pos_));
    if (n) std::memcpy(out, data_ + pos_, n);
    pos_ += int64_t(n);
    return n;
  }
  bool Seek(int64_t offset, int whence) override {
    int64_t target = SeekTarget(offset, whence, pos_, int64_t(size_));
    if (target < 0 || target > int64_t(size_)) return false;
    pos_ = target;
    return true;
  }
  int64_t Tell() const override { return pos_; }
  int64_t Size() const override { return int64_t(size_); }
  const std::string& Label() const override { return label_; }

 private:
  const uint8_t* data_;
  size_t size_;
  int64_t pos_ = 0;
  std::string label_;
};

class TFileAudioBytes final : public TAudioBytes {
 public:
  TFileAudioBytes(FILE* file, int64_t start, int64_t size, std::string label)
      : file_(file), start_(start), size_(size), label_(std::move(label)) {}
  ~TFileAudioBytes() override { std::fclose(file_); }

  size_t Read(void* out, size_t count) override {
    size_t n = std::min<size_t>(count, size_t(size_ - pos_));
    if (n == 0) return 0;
    if (!positioned_) {
      if (fseeko(file_, start_ + pos_, SEEK_SET) != 0) return 0;
      positioned_ = true;
    }
    size_t got = std::fread(out, 1, n, file_);
    if (got < n) positioned_ = false;
    pos_ += int64_t(got);
    return got;
  }
  bool Seek(int64_t offset, int whence) override {
    int64_t target = SeekTarget(offset, whence, pos_, size_);
    if (target < 0 || target > size_) return false;
    if (target != pos_) positioned_ = false;
    pos_ = target;
    return true;
  }
  int64_t Tell() const override { return pos_; }
  int64_t Size() const override { return size_; }
  const std::string& Label() const override { return label_; }

 private:
  FILE* file_;
  int64_t start_;
  int64_t size_;
  int64_t pos_ = 0;
  bool positioned_ = false;
  std::string label_;
};

}  // namespace

std::unique_ptr<TAudioBytes> MakeMemoryAudioBytes(const void* data, size_t size, std::string label) {
  return std::make_unique<TMemoryAudioBytes>(data, size, std::move(label));
}

std::unique_ptr<TAudioBytes> OpenFileAudioBytes(const std::string& path, uint64_t offset,
                                                uint64_t length) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  if (fseeko(file, 0, SEEK_END) != 0) {
    std::fclose(file);
    return nullptr;
  }
  int64_t fileSize = ftello(file);
  if (fileSize < 0 || int64_t(offset) > fileSize) {
    std::fclose(file);
    return nullptr;
  }
  int64_t size = fileSize - int64_t(offset);
  if (length != 0 && int64_t(length) < size) size = int64_t(length);
  return std::make_unique<TFileAudioBytes>(file, int64_t(offset), size, path);
}

}  // namespace kw
