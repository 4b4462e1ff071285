// Screens: TKwScreen, the top of the elements shown together, and
// TKwExScreen, an element that embeds a screen by its key.
#pragma once

#include "scene/element.h"

namespace kw {

class TKwScreen : public TKwElement {
 public:
  explicit TKwScreen(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Screen; }

  void SetSizeX(int32_t value) override { SizeX = value; }
  void SetSizeY(int32_t value) override { SizeY = value; }
  int32_t GetSizeX() const override { return SizeX; }
  int32_t GetSizeY() const override { return SizeY; }
  // The base test with the screen's Agro as hit parameter; a modal screen
  // catches the pointer in its own layer where nothing on it is hit.
  TKwElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag) override;

  std::string ImBack;  // background picture name
  int32_t SizeX = 0, SizeY = 0;
  uint32_t hxDrawFx = 1;
  int32_t Agro = 0;
  TBool8 Modal = 0;
  TBool8 AllwaysLoad = 0;
};

class TKwExScreen : public TKwElement {
 public:
  explicit TKwExScreen(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::ExScreen; }

  uint8_t PosHor = phLeft;
  uint8_t PosVert = pvTop;
  int32_t obScreen = 0;  // Key of the embedded screen
  TBool8 Modal = 0;
  TBool8 Processing = 1;
};

}  // namespace kw
