// The resource pack reader. Every field is read explicitly as little-endian
// bytes and checked against the bytes that remain in the file before it is
// used, so a damaged pack raises EKwStoreError instead of reading memory or
// allocating what the file cannot hold.
#include "media/kw_store.h"

#include <cstdio>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kw {

namespace {

// The smallest directory record: name length, a one-byte name, offset, size.
constexpr uint64_t kMinRecordBytes = 4 + 1 + 4 + 4;

uint32_t LittleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Reads the directory part of the file field by field, tracking the position
// itself so that every check is against the file size taken once at the start.
class TDirectoryReader {
 public:
  TDirectoryReader(std::ifstream& stream, uint64_t size, const std::string& fileName)
      : stream_(stream), size_(size), fileName_(fileName) {}

  uint64_t Remaining() const { return size_ - pos_; }
  uint64_t Position() const { return pos_; }

  void Seek(uint64_t pos, const char* field) {
    if (pos > size_) Fail(field, "lies outside the file");
    stream_.clear();
    stream_.seekg(std::streamoff(pos));
    if (!stream_) Fail(field, "cannot be reached");
    pos_ = pos;
  }

  void ReadBytes(void* out, uint64_t count, const char* field) {
    if (count > Remaining()) Fail(field, "runs past the end of the file");
    stream_.read(static_cast<char*>(out), std::streamsize(count));
    if (uint64_t(stream_.gcount()) != count) Fail(field, "could not be read");
    pos_ += count;
  }

  uint32_t ReadU32(const char* field) {
    uint8_t bytes[4];
    ReadBytes(bytes, 4, field);
    return LittleEndian32(bytes);
  }
  int32_t ReadI32(const char* field) { return int32_t(ReadU32(field)); }

  [[noreturn]] void Fail(const char* field, const char* problem) const {
    char message[512];
    std::snprintf(message, sizeof message, "pack %s: %s at offset %llu %s", fileName_.c_str(), field,
                  static_cast<unsigned long long>(pos_), problem);
    KwLog("%s", message);
    throw EKwStoreError(message);
  }

 private:
  std::ifstream& stream_;
  uint64_t size_;
  const std::string& fileName_;
  uint64_t pos_ = 0;
};

}  // namespace

namespace {

// Opens the file and takes its size once; none when either fails.
std::unique_ptr<std::ifstream> OpenPackStream(const std::filesystem::path& path,
                                              const std::string& fileName, uint64_t& size) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    KwLog("pack %s: not a file", fileName.c_str());
    return nullptr;
  }
  auto stream = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*stream) {
    KwLog("pack %s: cannot be opened", fileName.c_str());
    return nullptr;
  }
  stream->seekg(0, std::ios::end);
  const std::streamoff end = stream->tellg();
  if (!*stream || end < 0) {
    KwLog("pack %s: size cannot be taken", fileName.c_str());
    return nullptr;
  }
  stream->seekg(0);
  size = uint64_t(end);
  return stream;
}

}  // namespace

void TKwStore::Open(const std::string& fileName) {
  // Entries of an earlier pack must never be read against a new file.
  stream_.reset();
  entries_.clear();
  streamSize_ = 0;
  dirOffset_ = 0;
  fileName_ = fileName;

  // A game ships without a pack as often as with one: no message then.
  const auto path = ResolveGamePath(fileName);
  if (!path) {
    KwLog("pack %s: not found, working from loose files", fileName.c_str());
    return;
  }
  stream_ = OpenPackStream(*path, fileName_, streamSize_);
}

void TKwStore::OpenPath(const std::filesystem::path& path) {
  stream_.reset();
  entries_.clear();
  streamSize_ = 0;
  dirOffset_ = 0;
  fileName_ = path.string();
  stream_ = OpenPackStream(path, fileName_, streamSize_);
}

bool TKwStore::ReadDirectory() {
  if (!stream_) return true;
  // On any failure below nothing of the directory stays in use.
  entries_.clear();
  dirOffset_ = 0;

  TDirectoryReader reader(*stream_, streamSize_, fileName_);
  if (streamSize_ < 4) reader.Fail("trailer", "is missing (the file is shorter than 4 bytes)");
  reader.Seek(streamSize_ - 4, "trailer");
  const int32_t dirOffset = reader.ReadI32("trailer");
  if (dirOffset < 0 || uint64_t(dirOffset) > streamSize_ - 4) {
    reader.Seek(streamSize_ - 4, "trailer");
    reader.Fail("directory offset", "lies outside the file");
  }
  reader.Seek(uint64_t(dirOffset), "directory offset");

  const int32_t count = reader.ReadI32("directory count");
  if (count < 0) reader.Fail("directory count", "is negative");
  // Guard the allocation: each record needs at least kMinRecordBytes.
  if (uint64_t(count) > reader.Remaining() / kMinRecordBytes)
    reader.Fail("directory count", "is more than the file can hold");

  std::vector<TRecordInfo> entries;
  entries.reserve(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    TRecordInfo record;
    const int32_t nameLength = reader.ReadI32("name length");
    if (nameLength <= 0) reader.Fail("name length", "is not positive");
    if (uint64_t(nameLength) > reader.Remaining()) reader.Fail("name", "runs past the end of the file");
    record.Name.resize(size_t(nameLength));
    reader.ReadBytes(record.Name.data(), uint64_t(nameLength), "name");
    record.Offset = reader.ReadU32("entry offset");
    record.Size = reader.ReadI32("entry size");
    if (record.Size < 0) reader.Fail("entry size", "is negative");
    entries.push_back(std::move(record));
  }

  entries_ = std::move(entries);
  dirOffset_ = dirOffset;
  return true;
}

int TKwStore::IndexOf(std::string_view name) const {
  if (!stream_) return -1;
  const std::string wanted = AsciiUpperCase(name);
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Name == wanted) return int(i);
  return -1;
}

bool TKwStore::ReadEntry(std::string_view name, std::vector<uint8_t>& out) {
  out.clear();
  const int index = IndexOf(name);
  if (index < 0) return false;
  return ReadEntryAt(size_t(index), out);
}

bool TKwStore::ReadEntryAt(size_t index, std::vector<uint8_t>& out) {
  out.clear();
  if (!stream_ || index >= entries_.size()) return false;
  const TRecordInfo& record = entries_[index];
  const uint64_t size = uint64_t(uint32_t(record.Size));
  const uint64_t end = uint64_t(record.Offset) + size;
  if (end > streamSize_) {
    char message[512];
    std::snprintf(message, sizeof message,
                  "pack %s: entry %s (offset %u, size %d) runs past the end of the file (%llu bytes)",
                  fileName_.c_str(), record.Name.c_str(), record.Offset, record.Size,
                  static_cast<unsigned long long>(streamSize_));
    KwLog("%s", message);
    throw EKwStoreError(message);
  }
  if (size == 0) return true;

  std::vector<uint8_t> bytes(size);
  stream_->clear();
  stream_->seekg(std::streamoff(record.Offset));
  stream_->read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
  if (!*stream_ || uint64_t(stream_->gcount()) != size) {
    // The file shrank under us or the disk failed: the same fault as a bad size.
    stream_->clear();
    char message[512];
    std::snprintf(message, sizeof message, "pack %s: entry %s could not be read whole",
                  fileName_.c_str(), record.Name.c_str());
    KwLog("%s", message);
    throw EKwStoreError(message);
  }
  out = std::move(bytes);
  return true;
}

bool TKwStore::ExtractTo(std::string_view name, std::ostream& stream) {
  std::vector<uint8_t> bytes;
  if (!ReadEntry(name, bytes)) return false;
  if (!bytes.empty()) stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(stream);
}

}  // namespace kw
