// Keyframe animations: TKwAnim (its children are the keys), TKwAnKey (a key
// holding the posed image elements) and TKwExAnim (shows another
// animation's frames at a place of its own).
#pragma once

#include "scene/element.h"

namespace kw {

class TKwAnim : public TKwElement {
 public:
  explicit TKwAnim(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Anim; }

  void SetSizeX(int32_t value) override { SizeX = value; }
  void SetSizeY(int32_t value) override { SizeY = value; }
  int32_t GetSizeX() const override { return SizeX; }
  int32_t GetSizeY() const override { return SizeY; }
  // An animation never catches the pointer, nor do its children.
  TKwElement* HitTest(int32_t, int32_t, int32_t, int32_t, uint8_t) override { return nullptr; }

  std::string ImBack;
  int32_t SizeX = 0, SizeY = 0;
  uint32_t hxDrawFx = 1;
  int32_t Agro = 0;
  TBool8 Modal = 0;
  int32_t Pos = 0;
  TBool8 Morph = 0, Rep = 0, ShowAn = 0, Active = 0;
  TEventScript exStop, exStart, exAnim;
  long double Angle = 0;
  TBool8 Interpol = 0;
};

class TKwAnKey : public TKwElement {
 public:
  explicit TKwAnKey(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::AnKey; }

  // A key's size is its animation's.
  int32_t GetSizeX() const override { return Parent() ? Parent()->GetSizeX() : 0; }
  int32_t GetSizeY() const override { return Parent() ? Parent()->GetSizeY() : 0; }

  uint16_t Count = 0;  // frames from this key to the next, minus one
  TBool8 Morph = 0;
};

class TKwExAnim : public TKwElement {
 public:
  explicit TKwExAnim(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::ExAnim; }

  uint8_t PosHor = phLeft;
  uint8_t PosVert = pvTop;
  int32_t obAnim = 0;  // Key of the animation shown
  int32_t Pos = 0;
  TBool8 Rep = 0, Active = 0;
};

}  // namespace kw
