#include "platform/image_list.h"

#include <string>

namespace kw {

TTexture& TImageList::Add(std::string_view name) {
  items_.push_back(std::make_unique<TTexture>());
  items_.back()->Name = std::string(name);
  return *items_.back();
}

TTexture* TImageList::Find(std::string_view name) const {
  for (const auto& t : items_)
    if (t->Name == name) return t.get();
  return nullptr;
}

int TImageList::IndexOf(const TTexture* texture) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == texture) return int(i);
  return -1;
}

bool TImageList::Remove(const TTexture* texture) {
  int i = IndexOf(texture);
  if (i < 0) return false;
  items_.erase(items_.begin() + i);
  return true;
}

TTexture* TImageList::At(int index) const {
  if (index < 0 || index >= int(items_.size())) return nullptr;
  return items_[size_t(index)].get();
}

}  // namespace kw
