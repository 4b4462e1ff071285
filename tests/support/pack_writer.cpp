#include "support/pack_writer.h"

namespace kw::test {

TPackBytes& TPackBytes::U32(uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(char((value >> (8 * i)) & 0xFF));
  return *this;
}

TPackBytes& TPackBytes::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

TPackBytes& TPackBytes::Record(std::string_view name, uint32_t offset, int32_t size) {
  I32(int32_t(name.size()));
  Raw(name);
  U32(offset);
  return I32(size);
}

std::string BuildPack(const TPackEntries& entries) {
  TPackBytes pack;
  std::vector<uint32_t> offsets;
  for (const auto& [name, data] : entries) {
    offsets.push_back(pack.Size());
    pack.Raw(data);
  }
  const uint32_t dirOffset = pack.Size();
  pack.I32(int32_t(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i)
    pack.Record(entries[i].first, offsets[i], int32_t(entries[i].second.size()));
  pack.U32(dirOffset);
  return pack.Bytes();
}

}  // namespace kw::test
