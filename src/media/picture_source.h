// Where a picture comes from: the loose file at the name as requested (in
// the game folder, through the game-path resolver), else the resource pack
// entry under the upper-cased name. The place the picture was found is
// then the one place its frame file and its mask partner are read from.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kw {

class TKwStore;

class TPictureSource {
 public:
  // Loose picture files larger than this are not read.
  static constexpr uint64_t kMaxPictureBytes = uint64_t(512) << 20;

  TPictureSource(const std::filesystem::path& gameFolder, TKwStore* store)
      : gameFolder_(gameFolder), store_(store) {}

  // Finds and reads the picture; false when it is found nowhere (or cannot
  // be read from where it was found).
  bool Locate(const std::string& requested, const std::string& upper, std::vector<uint8_t>& bytes);
  bool FromPack() const { return fromPack_; }
  // The name the picture was found under: as requested for a loose file,
  // upper-cased for a pack entry. Companion names derive from it.
  const std::string& Name() const { return name_; }

  // A companion file (frame file, mask partner) from the same place; false
  // when it is not there or cannot be read.
  bool ReadCompanion(const std::string& name, std::vector<uint8_t>& bytes,
                     uint64_t maxBytes = kMaxPictureBytes) const;

 private:
  bool ReadLoose(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes) const;
  bool ReadPack(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes) const;

  std::filesystem::path gameFolder_;
  TKwStore* store_;
  bool fromPack_ = false;
  std::string name_;
};

}  // namespace kw
