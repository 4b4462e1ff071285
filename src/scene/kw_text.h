// The text element: a block of text laid out in a box (explicit breaks,
// optional word wrapping), aligned inside it and drawn with a bitmap font
// in a two-colour gradient; in Unicode games with the glyph font, or
// through the operating system's text drawing for elements marked Uni and
// for the element that takes typing.
#pragma once

#include <string>

#include "platform/bitmap32.h"
#include "scene/element.h"

namespace kw {

class TDevice;
class TFont;
class TKwDB;
class TTexture;

class TKwText : public TKwElement {
 public:
  explicit TKwText(TKwElement* parent);
  TKwClass ClassId() const override { return TKwClass::Text; }

  // Writing the box width lays the text out again; the height takes effect
  // at the next render.
  void SetSizeX(int32_t value) override;
  void SetSizeY(int32_t value) override { SizeY = value; }
  int32_t GetSizeX() const override { return SizeX; }
  int32_t GetSizeY() const override { return SizeY; }
  // The box, edges included, in the text's layer; children are never tested.
  TKwElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag) override;
  void Render(int32_t layer, uint32_t tint, double offsetX, double offsetY, bool flag) override;

  // The writes that lay the text out again, each storing its value first.
  // SetText(v) shows v, or the language text of TextId while TextId is set.
  void SetText(std::string value);
  // Looks the font up by name (any letter case) among the device's fonts.
  void SetFont(std::string value);
  // After a write of TextId, Scale, AutoEnter, EnEnter or AutoScale: the
  // current text laid out again with the new setting.
  void LayOutAgain() { LayOut(Text); }

  // The text as the last layout left it: lines ended by the byte 0.
  const std::string& LaidOut() const { return laidOut_; }
  // The font the last write of Font found, as the device holds it now;
  // none when the name was not found or the device has no such font any
  // more (fonts reloaded under other names).
  TFont* FoundFont() const;
  // In a Unicode game, Uni elements and the element that takes typing are
  // drawn by the operating system's text drawing.
  bool DrawnBySystem() const;
  // What scripts read as TEXTSZ: the width of the text as drawn.
  TValue TextSizeValue() const;
  // The bitmap of the last operating-system drawing (empty before one).
  const TBitmap32& SystemBitmap() const { return systemBitmap_; }

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

 private:
  // The game root this element draws for; none in trees without one.
  TKwDB* GameRoot() const;
  TDevice* Device() const;
  bool UnicodeMode() const;
  // Runs the layout with the value `value` (kw_text_layout.cpp).
  void LayOut(std::string value);
  // Text width as layout and render measure it: the bitmap font's at its
  // current scale, or in Unicode mode the glyph font's.
  double TextWidth(const TFont& font, std::string_view text) const;
  // k of the operating-system drawing for the last bitmap (0 without one).
  double SystemFactor(const TFont* font) const;
  void DrawLines(TDevice& device, TFont& font, double offsetX, double offsetY);
  void DrawBySystem(TDevice& device, TFont& font, double offsetX, double offsetY);
  // Name of this element's texture in the device's image list.
  std::string SystemTextureName() const;

  std::string laidOut_;
  bool fontFound_ = false;
  // The operating-system drawing: the bitmap it made last, and the text
  // and face it was made from (a render with the same ones reuses the
  // texture instead of rasterising again).
  TBitmap32 systemBitmap_;
  std::u16string systemText_;
  std::string systemFace_;
  bool systemDrawn_ = false;
};

}  // namespace kw
