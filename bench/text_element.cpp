// The text element: laying out a wrapped paragraph, drawing it with a
// bitmap font, and the operating-system drawing of a Unicode game's Uni
// text, with an unchanged text (the texture is reused) and with a text
// that changes at every render (rasterised and keyed anew each time).
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/device.h"
#include "platform/escaped_text.h"
#include "scene/kw_db.h"
#include "scene/kw_screen.h"
#include "scene/kw_text.h"

namespace {

using namespace kw;

// 8 × 16 solid glyphs advancing 9, a space advancing 4, cell height 16.
TBitmapFont BlockFont() {
  TBitmapFont f;
  f.Name = "Block";
  f.CellHeight = 16;
  f.Atlas = TBitmap32(8, 16, 0xFFFFFFFF);
  for (auto& g : f.Glyphs) g = {0, 0, 8, 16, 0, 0, 9};
  f.Glyphs[' '] = {0, 0, 0, 0, 0, 0, 4};
  return f;
}

std::string Paragraph(int words) {
  const char* const pool[] = {"the", "quick", "brown", "fox", "jumps", "over", "a", "lazy", "dog"};
  std::string s;
  for (int i = 0; i < words; ++i) s += std::string(i ? " " : "") + pool[i % 9];
  return s;
}

struct TScene {
  TDevice device;
  std::unique_ptr<TKwDB> root = std::make_unique<TKwDB>();
  TKwText* text = nullptr;
  TScene() {
    device.Fonts().Add(BlockFont());
    root->Device = &device;
    auto* screen = new TKwScreen(root.get());
    text = new TKwText(screen);
    text->SetFont("Block");
    text->Colour2 = 0xFF808080;
    text->SetSizeX(400);
    text->SizeY = 700;
    text->EnEnter = 1;
    text->AutoEnter = 1;
    text->LayOutAgain();
    text->rX = 100.5;
    text->rY = 20;
  }
};

// 300 words wrapped at 400 pixels (about 40 lines).
void TextLayoutParagraph(benchmark::State& state) {
  TScene scene;
  const std::string text = Paragraph(300);
  for (auto _ : state) {
    scene.text->SetText(text);
    benchmark::DoNotOptimize(scene.text->LaidOut().data());
  }
}
BENCHMARK(TextLayoutParagraph)->Unit(benchmark::kMicrosecond);

// The same paragraph drawn, filtered (its position is not whole).
void TextRenderParagraph(benchmark::State& state) {
  TScene scene;
  scene.text->SetText(Paragraph(300));
  for (auto _ : state) {
    scene.text->Render(0, 0xFFFFFFFF, 0, 0, false);
    benchmark::DoNotOptimize(scene.device.Frame().Pixels.data());
  }
}
BENCHMARK(TextRenderParagraph)->Unit(benchmark::kMicrosecond);

// A Uni text of a Unicode game (about 24 characters, Latin and Cyrillic)
// through the system face; arg 0 keeps the text, arg 1 changes it at
// every render as typing does.
void TextRenderSystem(benchmark::State& state) {
  TScene scene;
  scene.root->UnicodeMode = true;
  scene.text->Uni = 1;
  std::string a = "Hello, ", b = "Hello! ";
  for (uint32_t c : {0x416u, 0x438u, 0x437u, 0x43Du, 0x44Cu}) {
    AppendEscape(a, c);
    AppendEscape(b, c);
  }
  a += " and more text";
  b += " and more text";
  scene.text->SetText(a);
  bool flip = false;
  for (auto _ : state) {
    if (state.range(0)) scene.text->SetText((flip = !flip) ? b : a);
    scene.text->Render(0, 0xFFFFFFFF, 0, 0, false);
    benchmark::DoNotOptimize(scene.device.Frame().Pixels.data());
  }
  if (scene.text->SystemBitmap().Empty()) state.SkipWithError("no system face");
}
BENCHMARK(TextRenderSystem)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
