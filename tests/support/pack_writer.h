// Builds resource packs byte by byte for tests: well-formed ones from a list
// of entries, and damaged ones field by field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kw::test {

// Little-endian byte builder for hand-made packs.
class TPackBytes {
 public:
  TPackBytes& U32(uint32_t value);
  TPackBytes& I32(int32_t value) { return U32(uint32_t(value)); }
  TPackBytes& Raw(std::string_view bytes);
  // A directory record: name length, name, offset, size.
  TPackBytes& Record(std::string_view name, uint32_t offset, int32_t size);
  uint32_t Size() const { return uint32_t(bytes_.size()); }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

using TPackEntries = std::vector<std::pair<std::string, std::string>>;

// A well-formed pack: the entries' data in order, then the directory, then the
// trailer with the directory's offset.
std::string BuildPack(const TPackEntries& entries);

}  // namespace kw::test
