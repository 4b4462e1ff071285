// The picture table and its release policies. Loading itself is in
// kw_im_load.cpp.
#include "media/kw_im.h"

#include <algorithm>
#include <vector>

#include "platform/codepage.h"
#include "platform/log.h"

namespace kw {

TKwImages& KwImages() {
  // Never destroyed: elements destroyed late at exit may still look at it.
  static TKwImages* state = new TKwImages;
  return *state;
}

void ResetKwImages() { KwImages().Reset(); }

void TKwImages::Reset() {
  ImageList.clear();
  index_.clear();
  ProcessTick = 0;
  TotalTextureBytes = 0;
  LoadNow = true;
  ImForLoadCount = 0;
  ImForLoadPos = 0;
  MaxMem = 0;
  AlwaysLoadIm = false;
  Store = nullptr;
  GameFolder.clear();
  UserFolder.clear();
  OnLoadProgress = nullptr;
  ownImages_.Clear();
  images_ = &ownImages_;
}

void TKwImages::Release(TKwIm& entry) {
  if (!entry.Texture) return;
  images_->Remove(entry.Texture);
  entry.Texture = nullptr;
}

void TKwImages::ReleaseAll() {
  for (TKwIm& entry : ImageList) Release(entry);
  TotalTextureBytes = 0;
}

void TKwImages::ConnectImages(TImageList& images) {
  if (&images == images_) return;
  ReleaseAll();
  images_ = &images;
}

void TKwImages::DisconnectImages() { ConnectImages(ownImages_); }

TKwIm* TKwImages::Find(std::string_view upperName) {
  const auto it = index_.find(std::string(upperName));
  return it == index_.end() ? nullptr : it->second;
}

TKwIm& TKwImages::RequestImage(std::string_view name, bool locked) {
  std::string upper = AsciiUpperCase(name);
  TKwIm* entry = Find(upper);
  if (!entry) {
    TKwIm& added = ImageList.emplace_back();
    added.Name = upper;
    added.Locked = locked;
    index_.emplace(upper, &added);
    entry = &added;
  }
  // "*" first, then "#": "*#A.BMP" gets both conversions, "#*A.BMP" only
  // the grey one (and looks for a file named "*A.BMP").
  std::string requested(name);
  const bool silhouette = !requested.empty() && requested[0] == '*';
  if (silhouette) requested.erase(0, 1), upper.erase(0, 1);
  const bool grey = !requested.empty() && requested[0] == '#';
  if (grey) requested.erase(0, 1), upper.erase(0, 1);

  ++entry->UseCount;
  if (entry->Texture || entry->Failed) return *entry;
  if (!LoadNow && !locked) {
    // Registered for the loading pass; counted once per scene.
    if (entry->UseCount == 1) ++ImForLoadCount;
    return *entry;
  }
  Load(*entry, requested, upper, silhouette, grey);
  return *entry;
}

TTexture* TKwImages::TextureOf(TKwIm& entry) {
  if (AlwaysLoadIm && !entry.Texture && !entry.Failed) RequestImage(entry.Name, entry.Locked);
  entry.LastUse = ProcessTick;
  return entry.Texture;
}

void TKwImages::ResetUseCounts() {
  for (TKwIm& entry : ImageList) entry.UseCount = 0;
}

void TKwImages::ReleaseUnused() {
  for (TKwIm& entry : ImageList) {
    if (entry.UseCount != 0 || entry.Locked || !entry.Texture) continue;
    Release(entry);
    // Keeping the total true here means the next load does not find the
    // budget exceeded by pictures already gone, and so does not release
    // pictures of the new scene for nothing.
    TotalTextureBytes -= std::min<uint64_t>(TotalTextureBytes, uint64_t(std::max(entry.MemSize, 0)));
  }
}

void TKwImages::EnforceBudget() {
  // The candidates in list order, then stably by LastUse: releasing them in
  // this order is releasing every picture of the oldest tick in list order,
  // then those of the next oldest tick, and so on.
  std::vector<TKwIm*> candidates;
  int64_t sum = 0;
  for (size_t i = 1; i < ImageList.size(); ++i) {
    TKwIm& entry = ImageList[i];
    if (!entry.Texture || entry.Locked) continue;
    candidates.push_back(&entry);
    sum += std::max(entry.MemSize, 0);
  }
  if (candidates.empty()) return;
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const TKwIm* a, const TKwIm* b) { return a->LastUse < b->LastUse; });
  for (TKwIm* entry : candidates) {
    Release(*entry);
    sum -= std::max(entry->MemSize, 0);
    KwLog("picture %s released for the memory budget", entry->Name.c_str());
    if (int64_t(MaxMem) > sum) break;
  }
  // What is left of the unlocked pictures is the total from now on.
  TotalTextureBytes = uint64_t(std::max<int64_t>(sum, 0));
}

void TKwImages::ReloadAllImages() {
  TotalTextureBytes = 0;
  const uint32_t tick = ProcessTick;
  // By index: a progress hook may request new pictures while this runs,
  // and those are loaded fresh already.
  const size_t count = ImageList.size();
  for (size_t i = 0; i < count; ++i) {
    TKwIm& entry = ImageList[i];
    if (!entry.Texture) continue;
    Release(entry);
    ProcessTick = entry.LastUse;
    RequestImage(entry.Name, false);
  }
  ProcessTick = tick;
}

}  // namespace kw
