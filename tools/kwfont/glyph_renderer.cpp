#include "glyph_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H
#include FT_SYNTHESIS_H

#include <algorithm>

#include "platform/codepage.h"

namespace kw::kwfont {

struct TGlyphRenderer::TFreeType {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  FT_Stroker stroker = nullptr;
  ~TFreeType() {
    if (stroker) FT_Stroker_Done(stroker);
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

namespace {

bool IsEmptyCode(uint8_t code) { return code < 0x20 || code == 0x7F || code == 0x98; }

// Copies a FreeType bitmap (grey or one-bit) into a glyph image.
void CopyBitmap(const FT_Bitmap& bitmap, TGlyphImage& out) {
  out.Width = int(bitmap.width);
  out.Height = int(bitmap.rows);
  out.Coverage.assign(size_t(out.Width) * size_t(out.Height), 0);
  for (int y = 0; y < out.Height; ++y) {
    const uint8_t* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
    for (int x = 0; x < out.Width; ++x) {
      uint8_t value = 0;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
        value = uint8_t(row[x] * 255 / levels);
      } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        value = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      }
      out.Coverage[size_t(y) * size_t(out.Width) + size_t(x)] = value;
    }
  }
}

int CeilPixels(FT_Pos value26_6) { return int((value26_6 + 63) >> 6); }

}  // namespace

TGlyphRenderer::TGlyphRenderer() : ft_(std::make_unique<TFreeType>()) {}
TGlyphRenderer::~TGlyphRenderer() = default;

bool TGlyphRenderer::Open(const TFontRequest& request, std::string& problem) {
  request_ = request;
  if (FT_Init_FreeType(&ft_->library) != 0) {
    problem = "FreeType cannot start";
    return false;
  }
  if (FT_New_Face(ft_->library, request.TtfFile.c_str(), 0, &ft_->face) != 0) {
    problem = "cannot read font file " + request.TtfFile;
    return false;
  }
  FT_Select_Charmap(ft_->face, FT_ENCODING_UNICODE);
  if (FT_Set_Pixel_Sizes(ft_->face, 0, FT_UInt(request.PixelSize)) != 0) {
    problem = "the font has no size " + std::to_string(request.PixelSize);
    return false;
  }
  const FT_Size_Metrics& metrics = ft_->face->size->metrics;
  ascent_ = CeilPixels(metrics.ascender);
  descent_ = CeilPixels(-metrics.descender);
  if (request.Style == TFontStyle::Bold) {
    // FreeType's emboldening grows each glyph by about size/24 upward and sideways.
    ascent_ += (request.PixelSize + 23) / 24;
  } else if (request.Style == TFontStyle::Outline) {
    strokePixels_ = request.OutlinePixels > 0 ? request.OutlinePixels : std::max(1, request.PixelSize / 12);
    if (FT_Stroker_New(ft_->library, &ft_->stroker) != 0) {
      problem = "FreeType cannot make a stroker";
      return false;
    }
    // The stroke is centred on the outline: half its width on each side.
    FT_Stroker_Set(ft_->stroker, FT_Fixed(strokePixels_) * 32, FT_STROKER_LINECAP_ROUND,
                   FT_STROKER_LINEJOIN_ROUND, 0);
    const int half = (strokePixels_ + 1) / 2;
    ascent_ += half;
    descent_ += half;
  }
  return true;
}

TGlyphImage TGlyphRenderer::Render(uint8_t code) {
  TGlyphImage image;
  if (IsEmptyCode(code)) return image;
  // A character the face lacks draws as the face's own missing-glyph box.
  const FT_UInt index = FT_Get_Char_Index(ft_->face, FT_ULong(UnicodeFromCp1251(code)));
  if (FT_Load_Glyph(ft_->face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return image;
  FT_GlyphSlot slot = ft_->face->glyph;

  if (request_.Style == TFontStyle::Outline && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    image.Advance = int((slot->advance.x + 32) >> 6) + strokePixels_;
    FT_Glyph glyph = nullptr;
    if (FT_Get_Glyph(slot, &glyph) != 0) return image;
    if (FT_Glyph_Stroke(&glyph, ft_->stroker, 1) == 0 &&
        FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
      const auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
      CopyBitmap(bitmapGlyph->bitmap, image);
      // Shift right by half a stroke so the left edge does not hang before the pen.
      image.Left = bitmapGlyph->left + (strokePixels_ + 1) / 2;
      image.Top = bitmapGlyph->top;
    }
    FT_Done_Glyph(glyph);
    return image;
  }

  if (request_.Style == TFontStyle::Bold) FT_GlyphSlot_Embolden(slot);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return image;
  image.Advance = int((slot->advance.x + 32) >> 6);
  CopyBitmap(slot->bitmap, image);
  image.Left = slot->bitmap_left;
  image.Top = slot->bitmap_top;
  return image;
}

}  // namespace kw::kwfont
