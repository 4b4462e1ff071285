// The text element: a block of text laid out in a box and drawn with a
// bitmap font in a two-colour gradient.
#pragma once

#include "scene/element.h"

namespace kw {

class TKwText : public TKwElement {
 public:
  explicit TKwText(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Text; }

  void SetSizeX(int32_t value) override { SizeX = value; }
  void SetSizeY(int32_t value) override { SizeY = value; }
  int32_t GetSizeX() const override { return SizeX; }
  int32_t GetSizeY() const override { return SizeY; }
  // The box, edges included, in the text's layer; children are never tested.
  TKwElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag) override;

  uint32_t hxDrawFx = 0x504;
  uint32_t Colour1 = 0xFFFFFFFF;  // top of the glyphs
  uint32_t Colour2 = 0;           // bottom of the glyphs
  int32_t SizeX = 100, SizeY = 100;
  std::string Font;
  uint8_t PosHor = phLeft;
  uint8_t PosVert = pvTop;
  std::string TextId;
  TBool8 AutoEnter = 0, EnEnter = 0, AutoScale = 0;
  double Interval = 0;
  std::string Text;
  double Scale = 1;
  uint32_t hxShadColor = 0;
  TBool8 Emboss = 0, Shadow = 0, Uni = 0;
};

}  // namespace kw
