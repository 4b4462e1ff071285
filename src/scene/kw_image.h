// The image element: one pattern of a picture resource, anchored at the
// element's position, scaled, turned, tinted and faded.
#pragma once

#include "scene/element.h"

namespace kw {

class TKwImage : public TKwElement {
 public:
  explicit TKwImage(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Image; }

  // Scale and Angle are kept as thousandths: writing stores
  // Round(value * 1000) with halves to even, reading gives it / 1000.
  double Scale() const { return scaleMilli_ / 1000.0; }
  double Angle() const { return angleMilli_ / 1000.0; }
  void SetScale(double value);
  void SetAngle(double value);
  int32_t ScaleMilli() const { return scaleMilli_; }
  int32_t AngleMilli() const { return angleMilli_; }

  std::string imImage;
  uint32_t hxDrawFx = 0x504;
  uint8_t PosHor = phLeft;
  uint8_t PosVert = pvTop;
  uint32_t Colour = 0xFFFFFFFF;  // colour word: hxTrans << 24 | hxColor
  int32_t Anim = 0;
  long double ScaleX = 1.0L;
  long double ScaleY = 1.0L;
  TBool8 Interpol = 1;
  TBool8 InterpolSc = 1;
  std::string TextId;

 private:
  int32_t scaleMilli_ = 1000;
  int32_t angleMilli_ = 0;
};

// Round(value * 1000), halves to even; raises EPropertyValue when the result
// does not fit 32 bits (or the value is not a number).
int32_t ToThousandths(double value);

}  // namespace kw
