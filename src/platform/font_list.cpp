#include "platform/font_list.h"

#include <algorithm>
#include <cmath>

#include "platform/canvas.h"
#include "platform/codepage.h"

namespace kw {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Colour at t (0 top, 1 bottom) between two colour words.
uint32_t Shade(uint32_t top, uint32_t bottom, double t) {
  t = std::clamp(t, 0.0, 1.0);
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    double a = (top >> sh) & 0xFF, b = (bottom >> sh) & 0xFF;
    out |= uint32_t(std::lround(a + (b - a) * t)) << sh;
  }
  return out;
}

constexpr size_t CodeLength = 10;

}  // namespace

TColourCode ParseColourCode(std::string_view text, size_t i, uint32_t& colour) {
  if (i + CodeLength >= text.size()) return TColourCode::None;  // a character must follow
  TColourCode kind;
  if (text[i] == '#' && text[i + 1] == '$') kind = TColourCode::Top;
  else if (text[i] == '&' && text[i + 1] == '$') kind = TColourCode::Bottom;
  else if (text[i] == '0' && text[i + 1] == 'x') kind = TColourCode::Both;
  else return TColourCode::None;
  uint32_t value = 0;
  for (size_t k = i + 2; k < i + CodeLength; ++k) {
    int d = HexDigit(text[k]);
    if (d < 0) return TColourCode::None;
    value = value << 4 | uint32_t(d);
  }
  colour = value;
  return kind;
}

TFont::TFont(TBitmapFont font) : font_(std::move(font)) {
  std::vector<TPatternRect> rects(256);
  for (size_t i = 0; i < 256; ++i) {
    const TGlyph& g = font_.Glyphs[i];
    rects[i] = {g.X, g.Y, g.W, g.H};
  }
  glyphs_.Name = font_.Name;
  glyphs_.LoadPatterns(font_.Atlas, rects);
}

double TFont::TextWidth(std::string_view text) const {
  double sum = 0;
  uint32_t colour;
  for (size_t i = 0; i < text.size(); ++i) {
    if (ParseColourCode(text, i, colour) != TColourCode::None) {
      i += CodeLength - 1;
      continue;
    }
    sum += font_.Glyphs[uint8_t(text[i])].Advance;
  }
  return sum * Scale;
}

double TFont::TextHeight(std::string_view text) const { return text.empty() ? 0.0 : font_.CellHeight * Scale; }

void TFont::DrawGlyph(TCanvas& canvas, int code, double x, double y, uint32_t top, uint32_t bottom,
                      uint32_t effect) const {
  const TGlyph& g = font_.Glyphs[size_t(code)];
  const double w = g.W * Scale, h = g.H * Scale;
  canvas.Map(&glyphs_, {{{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}}, {top, top, bottom, bottom}, code, 0,
             0, 0, 0, effect);
}

void TFont::TextOut(TCanvas& canvas, std::string_view text, double x, double y, uint32_t top, uint32_t bottom,
                    uint32_t effect) const {
  double pen = x;
  const double cell = font_.CellHeight > 0 ? font_.CellHeight : 1;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t colour;
    switch (ParseColourCode(text, i, colour)) {
      case TColourCode::Top: top = colour; i += CodeLength - 1; continue;
      case TColourCode::Bottom: bottom = colour; i += CodeLength - 1; continue;
      case TColourCode::Both: top = bottom = colour; i += CodeLength - 1; continue;
      case TColourCode::None: break;
    }
    const int code = uint8_t(text[i]);
    const TGlyph& g = font_.Glyphs[size_t(code)];
    if (g.W > 0 && g.H > 0 && !glyphs_.Empty()) {
      const double gx = pen + g.OffsetX * Scale, gy = y + g.OffsetY * Scale;
      // The gradient runs over the whole cell, so glyphs of one line share it.
      const uint32_t ct = Shade(top, bottom, g.OffsetY / cell);
      const uint32_t cb = Shade(top, bottom, (g.OffsetY + g.H) / cell);
      if (Effects & FontShadow) {
        const uint32_t shadow = (ShadowColour & 0xFFFFFF) | 0x80000000u;
        DrawGlyph(canvas, code, gx + 2 * Scale, gy + 2 * Scale, shadow, shadow, effect);
      }
      if (Effects & FontEmboss) {
        DrawGlyph(canvas, code, gx - 1, gy - 1, ct, cb, effect);
        DrawGlyph(canvas, code, gx, gy, 0xCC000000u, 0xCC000000u, effect);
      } else {
        DrawGlyph(canvas, code, gx, gy, ct, cb, effect);
      }
    }
    pen += g.Advance * Scale;
  }
}

TFont& TFontList::Add(TBitmapFont font) {
  fonts_.push_back(std::make_unique<TFont>(std::move(font)));
  return *fonts_.back();
}

TFont* TFontList::Find(std::string_view name) const {
  const std::string key = UpperCase1251(name);
  for (const auto& f : fonts_)
    if (UpperCase1251(f->Name()) == key) return f.get();
  return nullptr;
}

}  // namespace kw
