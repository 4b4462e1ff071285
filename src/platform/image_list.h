// The canvas's list of textures. The list owns them; callers keep plain
// pointers, valid until Remove or Clear.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/texture.h"

namespace kw {

class TImageList {
 public:
  // Adds an empty texture and returns it (fill it with LoadFromBitmap).
  TTexture& Add(std::string_view name = {});
  // The first texture of that name (exact comparison); nullptr when none.
  TTexture* Find(std::string_view name) const;
  // Index of a texture in the list, -1 when it is not held.
  int IndexOf(const TTexture* texture) const;
  bool Contains(const TTexture* texture) const { return IndexOf(texture) >= 0; }
  // Removes and frees the texture; false when the list does not hold it.
  bool Remove(const TTexture* texture);
  void Clear() { items_.clear(); }
  int Count() const { return int(items_.size()); }
  TTexture* At(int index) const;

 private:
  std::vector<std::unique_ptr<TTexture>> items_;
};

}  // namespace kw
