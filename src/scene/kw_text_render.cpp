// Drawing a text element: the block of lines aligned in the box, each line
// with the bitmap font (gradient, shadow, emboss) or, in Unicode games,
// with the glyph font.
#include <cmath>

#include "media/glyph_font.h"
#include "platform/device.h"
#include "scene/colour_word.h"
#include "scene/kw_db.h"
#include "scene/kw_text.h"
#include "scene/kw_text_layout.h"

namespace kw {

namespace {

// Opacities of 5 and below draw nothing.
constexpr uint32_t MinOpacity = 5;

bool Whole(double v) { return std::floor(v) == v; }

double AlignOffset(uint8_t anchor, double box, double size) {
  switch (anchor) {
    case 1: return (box - size) / 2;  // centre
    case 2: return box - size;        // right or bottom
    default: return 0;                // left or top
  }
}

}  // namespace

void TKwText::Render(int32_t layer, uint32_t tint, double offsetX, double offsetY, bool flag) {
  if (!Loaded) LoadResources();  // the font is looked up again before drawing
  TDevice* device = Device();
  TFont* font = FoundFont();
  if (layer == Order() && device && font && !laidOut_.empty() && ColourOpacity(Colour1) > MinOpacity &&
      ColourOpacity(Colour2) > MinOpacity) {
    if (DrawnBySystem()) DrawBySystem(*device, *font, offsetX, offsetY);
    else DrawLines(*device, *font, offsetX, offsetY);
  }
  TKwElement::Render(layer, tint, offsetX, offsetY, flag);
}

void TKwText::DrawLines(TDevice& device, TFont& font, double offsetX, double offsetY) {
  TCanvas& canvas = device.Canvas();
  const bool unicode = UnicodeMode();
  font.Scale = Scale;
  const std::vector<std::string_view> lines = LaidOutLines(laidOut_);
  const double lineHeight = font.TextHeight(laidOut_);
  const double n = lines.empty() ? 1.0 : double(lines.size());
  const double block = n * lineHeight + (n - 1) * Interval;
  const double top = AlignOffset(PosVert, SizeY, block);

  const TKwDB* root = GameRoot();
  const TTexture* picture = unicode ? root->GlyphPicture() : nullptr;
  const double k = unicode ? GlyphFactor(&font, picture) : 0.0;
  double y = 0;
  for (std::string_view line : lines) {
    const double h = font.TextHeight(line);
    const double w = TextWidth(font, line);
    const double x = offsetX + rX + AlignOffset(PosHor, SizeX, w);
    const double lineY = offsetY + rY + top + y;
    canvas.SetAntialias(Scale != 1 || !(Whole(x) && Whole(lineY)));
    font.ShadowColour = hxShadColor;
    font.Effects = (Shadow ? FontShadow : 0) | (Emboss ? FontEmboss : 0);
    if (unicode) root->Glyphs.DrawLine(canvas, picture, line, x, lineY, Colour1, hxDrawFx, k);
    else font.TextOut(canvas, line, x, lineY, Colour1, Colour2, hxDrawFx);
    y += h + Interval;
  }
}

}  // namespace kw
