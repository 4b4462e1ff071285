// The resource pack (".kst"): a read-only archive beside the game file whose
// entries are looked up by upper-cased name. Layout and failure rules are in
// docs/formats.md.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

struct TRecordInfo {
  std::string Name;
  uint32_t Offset = 0;
  int32_t Size = 0;
};

// Raised out of ReadDirectory and ReadEntry for a malformed pack.
class EKwStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TKwStore {
 public:
  // Releases any open pack, records the name and opens the file read-only
  // (through the game-folder resolver); a failure leaves the store without a
  // stream, and every lookup then fails quietly.
  void Open(const std::string& fileName);
  // As Open for a path on the host as it stands (tools, tests): no game-folder
  // resolution, so absolute paths work.
  void OpenPath(const std::filesystem::path& path);
  // True at once without a stream; otherwise reads the directory or raises
  // EKwStoreError, keeping no partial directory.
  bool ReadDirectory();
  // Index of the first entry whose name equals the ASCII-upper-cased name;
  // -1 when absent or without a stream.
  int IndexOf(std::string_view name) const;
  // The entry's bytes; false without a stream or entry. Raises EKwStoreError
  // when the entry runs past the end of the file.
  bool ReadEntry(std::string_view name, std::vector<uint8_t>& out);
  // As ReadEntry for the entry at a directory index (tools and the fonts
  // archive walk every entry, whatever the case of its name); false for an
  // index outside the directory.
  bool ReadEntryAt(size_t index, std::vector<uint8_t>& out);
  // ReadEntry, then the bytes written to `stream`; false when not found.
  bool ExtractTo(std::string_view name, std::ostream& stream);

  bool HasStream() const { return stream_ != nullptr; }
  const std::string& FileName() const { return fileName_; }
  const std::vector<TRecordInfo>& Entries() const { return entries_; }

 private:
  std::string fileName_;
  std::unique_ptr<std::ifstream> stream_;
  uint64_t streamSize_ = 0;
  int32_t dirOffset_ = 0;
  std::vector<TRecordInfo> entries_;
};

}  // namespace kw
