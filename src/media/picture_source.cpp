#include "media/picture_source.h"

#include "media/kw_store.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kw {

bool TPictureSource::ReadLoose(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes) const {
  bytes.clear();
  const auto file = ResolveGamePath(name, gameFolder_);
  std::error_code error;
  if (!file || !std::filesystem::is_regular_file(*file, error)) return false;
  if (!ReadWholeFile(*file, bytes, maxBytes)) {
    KwLog("picture %s: cannot read %s", name.c_str(), file->string().c_str());
    return false;
  }
  return true;
}

bool TPictureSource::ReadPack(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes) const {
  bytes.clear();
  if (!store_) return false;
  const int index = store_->IndexOf(name);
  if (index < 0 || uint64_t(store_->Entries()[size_t(index)].Size) > maxBytes) return false;
  try {
    return store_->ReadEntry(name, bytes);
  } catch (const EKwStoreError&) {
    // A damaged entry is as good as none; the store has logged it.
    bytes.clear();
    return false;
  }
}

bool TPictureSource::Locate(const std::string& requested, const std::string& upper, std::vector<uint8_t>& bytes) {
  if (ReadLoose(requested, bytes, kMaxPictureBytes)) {
    fromPack_ = false;
    name_ = requested;
    return true;
  }
  if (ReadPack(upper, bytes, kMaxPictureBytes)) {
    fromPack_ = true;
    name_ = upper;
    return true;
  }
  return false;
}

bool TPictureSource::ReadCompanion(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes) const {
  return fromPack_ ? ReadPack(name, bytes, maxBytes) : ReadLoose(name, bytes, maxBytes);
}

}  // namespace kw
