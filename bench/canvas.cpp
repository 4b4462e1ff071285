// The canvas against pixman on the same inputs, and one frame of a busy
// game scene.
#include <benchmark/benchmark.h>

#include <cmath>

#include "canvas_scene.h"
#include "platform/canvas.h"
#include "platform/font_list.h"

#if KW_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace kw {
namespace {

using namespace kw::bench;

constexpr int FrameW = 1024, FrameH = 768;

// Pixel-exact fixtures, built once.
struct TInputs {
  TBitmap32 Opaque = OpaquePicture(FrameW, FrameH);
  TBitmap32 Varying = VaryingAlphaPicture(FrameW, FrameH);
  TBitmap32 Sprite256 = SpritePicture(256, 256);
  TBitmap32 Sprite128 = SpritePicture(128, 128);
  TBitmap32 Sprite64 = SpritePicture(64, 64);
  TBitmap32 Sprite32 = SpritePicture(32, 32);
  TTexture OpaqueT = Texture(Opaque), VaryingT = Texture(Varying), Sprite256T = Texture(Sprite256),
           Sprite128T = Texture(Sprite128), Sprite64T = Texture(Sprite64), Sprite32T = Texture(Sprite32);
  std::vector<std::pair<int, int>> Places2000;
  TInputs() {
    TRandom r(1);
    for (int i = 0; i < 2000; ++i) Places2000.push_back({r.Below(FrameW + 64) - 64, r.Below(FrameH + 64) - 64});
  }
};

const TInputs& Inputs() {
  static const TInputs inputs;
  return inputs;
}

// Twelve places for the turned sprites, spread over the frame.
TPointF TurnedCentre(int i) { return {150.0 + (i % 4) * 240, 150.0 + (i / 4) * 230}; }
constexpr double TurnAngle = 30 * M_PI / 180, TurnScale = 1.5;

void Kw_OpaqueCopy(benchmark::State& state) {
  TBitmap32 frame(FrameW, FrameH, 0);
  TCanvas canvas(frame);
  for (auto _ : state) {
    canvas.Draw(&Inputs().OpaqueT, 0, 0, 0, 0xFFFFFFFF, 0x1);
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}

void Kw_Blend504(benchmark::State& state) {
  TBitmap32 frame = Inputs().Opaque;
  TCanvas canvas(frame);
  for (auto _ : state) {
    canvas.Draw(&Inputs().VaryingT, 0, 0, 0, 0xFFFFFFFF, 0x504);
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}

void Kw_TurnedScaledBilinear(benchmark::State& state) {
  TBitmap32 frame = Inputs().Opaque;
  TCanvas canvas(frame);
  canvas.SetAntialias(true);
  for (auto _ : state) {
    for (int i = 0; i < 12; ++i) {
      const TPointF c = TurnedCentre(i);
      canvas.DrawRotated(&Inputs().Sprite256T, 0, c.X, c.Y, TurnAngle, TurnScale, 0xFFFFFFFF, 0x504);
    }
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}

void Kw_Additive2000(benchmark::State& state) {
  TBitmap32 frame(FrameW, FrameH, 0xFF000000);
  TCanvas canvas(frame);
  for (auto _ : state) {
    for (auto [x, y] : Inputs().Places2000) canvas.Draw(&Inputs().Sprite64T, 0, x, y, 0xFFFFFFFF, 0x104);
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}

void Kw_Tinted504(benchmark::State& state) {
  TBitmap32 frame = Inputs().Opaque;
  TCanvas canvas(frame);
  for (auto _ : state) {
    canvas.Draw(&Inputs().VaryingT, 0, 0, 0, 0xC040C0FF, 0x504);
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}

// One frame of a busy scene: a full-screen background, 60 alpha-blended
// 128 × 128 sprites, 20 sprites turned 30° and scaled 1.5 with filtering,
// 2000 additive 32 × 32 particles and 20 lines of text.
void SceneFrame(benchmark::State& state, bool turnedParticles) {
  const TInputs& in = Inputs();
  TBitmap32 frame(FrameW, FrameH, 0);
  TCanvas canvas(frame);
  TFont font(BenchFont());
  const char* line = "The quick brown fox jumps over the lazy dog, 0123456789!";
  TRandom r(2);
  std::vector<TPointF> sprites, turned, particles;
  for (int i = 0; i < 60; ++i) sprites.push_back({double(r.Below(FrameW - 64)), double(r.Below(FrameH - 64))});
  for (int i = 0; i < 20; ++i) turned.push_back({double(r.Below(FrameW)), double(r.Below(FrameH))});
  for (int i = 0; i < 2000; ++i) particles.push_back({double(r.Below(FrameW)), double(r.Below(FrameH))});
  for (auto _ : state) {
    canvas.SetAntialias(false);
    canvas.Draw(&in.OpaqueT, 0, 0, 0, 0xFFFFFFFF, 0x1);
    for (const TPointF& p : sprites) canvas.Draw(&in.Sprite128T, 0, p.X, p.Y, 0xFFFFFFFF, 0x504);
    canvas.SetAntialias(true);
    for (const TPointF& p : turned)
      canvas.DrawRotated(&in.Sprite128T, 0, p.X, p.Y, TurnAngle, TurnScale, 0xFFFFFFFF, 0x504);
    for (size_t i = 0; i < particles.size(); ++i) {
      const TPointF& p = particles[i];
      if (turnedParticles)
        canvas.DrawRotated(&in.Sprite32T, 0, p.X + 0.3, p.Y + 0.6, double(i) * 0.01, 0.5 + double(i % 7) * 0.1,
                           0xFFFFC080, 0x104);
      else
        canvas.DrawRotated(&in.Sprite32T, 0, p.X, p.Y, 0, 1, 0xFFFFFFFF, 0x104);
    }
    canvas.SetAntialias(false);
    for (int l = 0; l < 20; ++l) font.TextOut(canvas, line, 20, 20 + l * 36, 0xFFFFFFFF, 0xFF4080FF, 0x504);
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}

void Kw_SceneFrame(benchmark::State& state) { SceneFrame(state, false); }
// The same with every particle turned and scaled by its own amount
// (filtered, tinted), as particle systems draw them.
void Kw_SceneFrameTurnedParticles(benchmark::State& state) { SceneFrame(state, true); }

BENCHMARK(Kw_OpaqueCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(Kw_Blend504)->Unit(benchmark::kMicrosecond);
BENCHMARK(Kw_TurnedScaledBilinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(Kw_Additive2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Kw_Tinted504)->Unit(benchmark::kMicrosecond);
BENCHMARK(Kw_SceneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(Kw_SceneFrameTurnedParticles)->Unit(benchmark::kMicrosecond);

#if KW_HAVE_PIXMAN

// pixman works on premultiplied pixels; the inputs are premultiplied copies
// of the same pictures (the byte order a8b8g8r8 is the canvas's).
struct TPixmanImage {
  TBitmap32 Pixels;
  pixman_image_t* Image = nullptr;
  explicit TPixmanImage(const TBitmap32& p, bool premultiply = true) : Pixels(p) {
    if (premultiply)
      for (auto& c : Pixels.Pixels) {
        const uint32_t a = ColourAlpha(c);
        c = ColourRGBA(ColourRed(c) * a / 255, ColourGreen(c) * a / 255, ColourBlue(c) * a / 255, a);
      }
    Image = pixman_image_create_bits(PIXMAN_a8b8g8r8, p.Width, p.Height, Pixels.Pixels.data(), p.Width * 4);
  }
  ~TPixmanImage() { pixman_image_unref(Image); }
};

void Pixman_OpaqueCopy(benchmark::State& state) {
  TPixmanImage src(Inputs().Opaque), dst(TBitmap32(FrameW, FrameH, 0));
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, src.Image, nullptr, dst.Image, 0, 0, 0, 0, 0, 0, FrameW, FrameH);
    benchmark::DoNotOptimize(dst.Pixels.Pixels.data());
  }
}

void Pixman_Blend504(benchmark::State& state) {
  TPixmanImage src(Inputs().Varying), dst(Inputs().Opaque);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src.Image, nullptr, dst.Image, 0, 0, 0, 0, 0, 0, FrameW, FrameH);
    benchmark::DoNotOptimize(dst.Pixels.Pixels.data());
  }
}

void Pixman_TurnedScaledBilinear(benchmark::State& state) {
  TPixmanImage src(Inputs().Sprite256), dst(Inputs().Opaque);
  pixman_image_set_filter(src.Image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  // Destination to source: undo the turn and the scale about the centre.
  const double c = std::cos(TurnAngle), s = std::sin(TurnAngle), half = 128 * TurnScale;
  const int extent = int(std::ceil(half * (c + s)));
  for (auto _ : state) {
    for (int i = 0; i < 12; ++i) {
      const TPointF p = TurnedCentre(i);
      pixman_f_transform f;
      pixman_f_transform_init_identity(&f);
      pixman_f_transform_translate(&f, nullptr, -p.X, -p.Y);
      pixman_f_transform_rotate(&f, nullptr, c, -s);
      pixman_f_transform_scale(&f, nullptr, 1 / TurnScale, 1 / TurnScale);
      pixman_f_transform_translate(&f, nullptr, 128, 128);
      pixman_transform t;
      pixman_transform_from_pixman_f_transform(&t, &f);
      pixman_image_set_transform(src.Image, &t);
      const int x0 = int(p.X) - extent, y0 = int(p.Y) - extent;
      pixman_image_composite32(PIXMAN_OP_OVER, src.Image, nullptr, dst.Image, x0, y0, 0, 0, x0, y0, 2 * extent,
                               2 * extent);
    }
    benchmark::DoNotOptimize(dst.Pixels.Pixels.data());
  }
}

void Pixman_Additive2000(benchmark::State& state) {
  TPixmanImage src(Inputs().Sprite64), dst(TBitmap32(FrameW, FrameH, 0xFF000000));
  for (auto _ : state) {
    for (auto [x, y] : Inputs().Places2000)
      pixman_image_composite32(PIXMAN_OP_ADD, src.Image, nullptr, dst.Image, 0, 0, 0, 0, x, y, 64, 64);
    benchmark::DoNotOptimize(dst.Pixels.Pixels.data());
  }
}

void Pixman_Tinted504(benchmark::State& state) {
  TPixmanImage src(Inputs().Varying), dst(Inputs().Opaque);
  // The tint as a solid component-alpha mask: colour and opacity per channel.
  const pixman_color_t tint = {0xFFFF, 0xC0C0, 0x4040, 0xC0C0};
  pixman_image_t* mask = pixman_image_create_solid_fill(&tint);
  pixman_image_set_component_alpha(mask, 1);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src.Image, mask, dst.Image, 0, 0, 0, 0, 0, 0, FrameW, FrameH);
    benchmark::DoNotOptimize(dst.Pixels.Pixels.data());
  }
  pixman_image_unref(mask);
}

BENCHMARK(Pixman_OpaqueCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pixman_Blend504)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pixman_TurnedScaledBilinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pixman_Additive2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pixman_Tinted504)->Unit(benchmark::kMicrosecond);

#endif

}  // namespace
}  // namespace kw
