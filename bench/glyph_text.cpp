// Text drawing of Unicode games: a line of the operating-system text drawing
// (done again at every render of a Uni text element) and a glyph-font line.
#include <benchmark/benchmark.h>

#include "media/glyph_font.h"
#include "platform/canvas.h"
#include "platform/escaped_text.h"
#include "platform/system_text.h"
#include "platform/texture.h"

namespace {

// A line of 24 characters, Latin and Cyrillic, at the text element's size.
void SystemTextLine(benchmark::State& state) {
  const std::u16string text = u"Hello, \u0416\u0438\u0437\u043d\u044c and more text!!";
  kw::TBitmap32 out;
  for (auto _ : state) {
    if (!kw::DrawSystemText("", text, 30, out)) state.SkipWithError("no system face");
    benchmark::DoNotOptimize(out.Pixels.data());
  }
}
BENCHMARK(SystemTextLine)->Unit(benchmark::kMicrosecond);

// 24 glyphs of 32 × 32 picture pixels drawn at k = 0.75 into the frame.
void GlyphFontLine(benchmark::State& state) {
  kw::TGlyphFont font;
  std::string table = "24\r\n";
  std::string line;
  for (int i = 0; i < 24; ++i) {
    table += std::to_string(4100 + i) + " 40\r\n";  // hexadecimal 0x4100 + i
    kw::AppendEscape(line, uint32_t(0x4100 + ((i / 10) << 4) + i % 10));
  }
  table += "Face\r\n";
  font.ReadTable(table);
  kw::TTexture picture;
  picture.LoadFromBitmap(kw::TBitmap32(32 * 24, 32, 0xFFFFFFFF), 32, 32, 24, 32, 32, 24, false);
  kw::TBitmap32 frame(1024, 768, 0xFF000000);
  kw::TCanvas canvas(frame);
  for (auto _ : state) {
    font.DrawLine(canvas, &picture, line, 100.25, 200.5, 0xFFFFFFFF, 0x504, 0.75);
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}
BENCHMARK(GlyphFontLine)->Unit(benchmark::kMicrosecond);

}  // namespace
