// The image list: a grid of image elements that live elsewhere in the tree.
#pragma once

#include "scene/element.h"

namespace kw {

class TKwImList : public TKwElement {
 public:
  explicit TKwImList(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::ImList; }

  void SetSizeX(int32_t value) override { SizeX = value; RecomputeCells(); }
  void SetSizeY(int32_t value) override { SizeY = value; RecomputeCells(); }
  int32_t GetSizeX() const override { return SizeX; }
  int32_t GetSizeY() const override { return SizeY; }

  // Cell size from the grid: 0 without rows or columns, never negative.
  void RecomputeCells();

  int32_t RowCount = 0, ColCount = 0, Space = 0;
  int32_t SizeX = 0, SizeY = 0;
  int32_t ElWidth = 0, ElHeight = 0;  // derived; writes have no effect
  int32_t ScrollRow = 0;              // always 0: the grid shows the list from its start
  double Scale = 0;                   // hover zoom
};

}  // namespace kw
