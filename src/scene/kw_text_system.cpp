// The operating-system drawing of a text element in a Unicode game (for
// Uni elements and the element that takes typing): the text rasterised
// white on black with the glyph font's TrueType face at size 30, keyed into
// a texture of the device's image list and drawn scaled to the element's
// font height, centred on the anchor point. Also the width scripts read as
// TEXTSZ, which follows the same drawing.
#include <string>

#include "platform/device.h"
#include "platform/escaped_text.h"
#include "platform/system_text.h"
#include "scene/kw_db.h"
#include "scene/kw_text.h"

namespace kw {

namespace {

// The face is rasterised at this pixel size and scaled to the font's.
constexpr int SystemTextSize = 30;

double Anchor(uint8_t anchor, double box) {
  switch (anchor) {
    case 1: return box / 2;
    case 2: return box;
    default: return 0;
  }
}

}  // namespace

std::string TKwText::SystemTextureName() const { return "kwtext:" + std::to_string(Handle()); }

double TKwText::SystemFactor(const TFont* font) const {
  if (!font || systemBitmap_.Empty()) return 0.0;
  return 1.5 * font->TextHeight("W") / systemBitmap_.Height;
}

void TKwText::DrawBySystem(TDevice& device, TFont& font, double offsetX, double offsetY) {
  TImageList& images = device.Images();
  const std::string name = SystemTextureName();
  const std::u16string text = EscapedToUtf16(Text);
  const std::string& face = GameRoot()->Glyphs.FaceName();
  TTexture* texture = images.Find(name);
  // The same text in the same face gives the same bitmap: the texture made
  // from it last is drawn again instead of rasterising anew (and a text the
  // face cannot draw is not tried again until it changes). A texture the
  // image list no longer holds is made again.
  const bool same = systemDrawn_ && text == systemText_ && face == systemFace_;
  if (!same || (!texture && !systemBitmap_.Empty())) {
    if (texture) images.Remove(texture);
    texture = nullptr;
    systemText_ = text;
    systemFace_ = face;
    systemDrawn_ = true;
    if (!DrawSystemText(face, text, SystemTextSize, systemBitmap_)) systemBitmap_ = TBitmap32();
    if (!systemBitmap_.Empty()) {
      TTexture& made = images.Add(name);
      const int w = systemBitmap_.Width, h = systemBitmap_.Height;
      if (made.LoadFromBitmap(systemBitmap_, w, h, 1, w, h, 1, true)) texture = &made;
      else images.Remove(&made);
    }
  }
  if (!texture) return;
  const double k = SystemFactor(&font);
  const double left = offsetX + rX + Anchor(PosHor, SizeX) - systemBitmap_.Width * k / 2;
  const double top = offsetY + rY + Anchor(PosVert, SizeY) - systemBitmap_.Height * k / 2;
  device.Canvas().DrawScaled(texture, 0, left, top, k, Colour1, 0x504);
}

// Drawn by the operating system: the last bitmap's width at its drawn
// scale (the byte 0 before there is one); otherwise the bitmap font's
// width of Text at Scale, and 0.0 without a font, since nothing is drawn.
TValue TKwText::TextSizeValue() const {
  TFont* font = FoundFont();
  if (DrawnBySystem()) {
    if (systemBitmap_.Empty()) return TValue::Byte(0);
    return TValue::Float(systemBitmap_.Width * SystemFactor(font));
  }
  if (!font) return TValue::Float(0.0);
  // Measured at the element's scale without disturbing the scale the font
  // keeps for other elements' drawing.
  const double kept = font->Scale;
  font->Scale = Scale;
  const double width = font->TextWidth(Text);
  font->Scale = kept;
  return TValue::Float(width);
}

}  // namespace kw
