// The shape element: a filled rectangle or ellipse sector of a given size,
// optionally clipping its children to its box.
#pragma once

#include "scene/element.h"

namespace kw {

class TKwShape : public TKwElement {
 public:
  explicit TKwShape(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Shape; }

  void SetSizeX(int32_t value) override { SizeX = value; }
  void SetSizeY(int32_t value) override { SizeY = value; }
  int32_t GetSizeX() const override { return SizeX; }
  int32_t GetSizeY() const override { return SizeY; }
  // The box from (Round(rX), Round(rY)) of SizeX x SizeY, edges included,
  // catches the pointer in the shape's layer; with Crop, children count only
  // inside it. Neither the ellipse nor the opacity plays a part.
  TKwElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag) override;

  uint32_t hxDrawFx = 0x504;
  uint32_t Colour = 0xFFFFFFFF;
  int32_t SizeX = 100, SizeY = 100;
  TBool8 Crop = 0;
  uint8_t ShapeType = stBox;
  double Par1 = 0, Par2 = 0, Par3 = 0;

 private:
  bool InBox(int32_t x, int32_t y) const;
};

}  // namespace kw
