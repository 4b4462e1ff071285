// Loading a full-frame picture: decoding a 1024 × 768 JPEG, PNG and 24-bit
// BMP, uploading a decoded picture as a texture (one frame, and cut into
// 4 × 3 frames), and the whole RequestImage path from a loose file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "media/kw_im.h"
#include "platform/bmp_decoder.h"
#include "platform/files.h"
#include "platform/jpeg_codec.h"
#include "platform/png_codec.h"
#include "platform/texture.h"

namespace {

using namespace kw;

// A picture with the mix of smooth areas and detail of a game background.
TBitmap32 Background() {
  TBitmap32 p(1024, 768);
  uint32_t noise = 12345;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const uint32_t grain = (noise >> 24) & 15;
      const bool stripe = ((x / 64) + (y / 48)) % 2 == 0;
      p.At(x, y) = ColourRGBA(uint32_t(x / 4) + grain, uint32_t(y / 3) + grain, stripe ? 200 : 60, 0xFF);
    }
  return p;
}

const TBitmap32& Picture() {
  static const TBitmap32 picture = Background();
  return picture;
}

const std::string& JpegBytes() {
  static const std::string bytes = [] {
    std::string s;
    EncodeJpeg(Picture(), 85, s);
    return s;
  }();
  return bytes;
}

const std::string& PngBytes() {
  static const std::string bytes = [] {
    std::string s;
    EncodePng(Picture(), s);
    return s;
  }();
  return bytes;
}

// A 24-bit bottom-up BMP of the picture.
const std::string& BmpBytes() {
  static const std::string bytes = [] {
    const TBitmap32& p = Picture();
    const uint32_t stride = uint32_t(p.Width) * 3, pixels = stride * uint32_t(p.Height);
    std::string s = "BM";
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF); };
    auto put16 = [&](uint32_t v) { s += char(v & 0xFF); s += char(v >> 8); };
    put32(54 + pixels), put32(0), put32(54), put32(40), put32(uint32_t(p.Width)), put32(uint32_t(p.Height));
    put16(1), put16(24), put32(0), put32(pixels), put32(0), put32(0), put32(0), put32(0);
    for (int y = p.Height - 1; y >= 0; --y)
      for (int x = 0; x < p.Width; ++x) {
        const uint32_t c = p.At(x, y);
        s += char(ColourBlue(c)), s += char(ColourGreen(c)), s += char(ColourRed(c));
      }
    return s;
  }();
  return bytes;
}

template <bool (*Decode)(const uint8_t*, size_t, TBitmap32&)>
void DecodeBench(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    TBitmap32 out;
    if (!Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out)) state.SkipWithError("decode");
    benchmark::DoNotOptimize(out.Pixels.data());
  }
  state.SetLabel(std::to_string(bytes.size() / 1024) + " KB file");
}

void BM_DecodeJpeg(benchmark::State& state) { DecodeBench<DecodeJpeg>(state, JpegBytes()); }
void BM_DecodePng(benchmark::State& state) { DecodeBench<DecodePng>(state, PngBytes()); }
void BM_DecodeBmp(benchmark::State& state) { DecodeBench<DecodeBmp>(state, BmpBytes()); }
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmp)->Unit(benchmark::kMillisecond);

// Frames: 1 (the whole picture) or 12 (4 × 3 of 256 × 256).
void BM_UploadTexture(benchmark::State& state) {
  const int columns = int(state.range(0)), rows = int(state.range(1));
  const int fw = 1024 / columns, fh = 768 / rows;
  for (auto _ : state) {
    TTexture texture;
    if (!texture.LoadFromBitmap(Picture(), fw, fh, columns * rows, (fw + 3) & ~1, (fh + 3) & ~1, columns * rows, false))
      state.SkipWithError("upload");
    benchmark::DoNotOptimize(&texture);
  }
}
BENCHMARK(BM_UploadTexture)->Args({1, 1})->Args({4, 3})->Unit(benchmark::kMillisecond);

// The whole request of a picture not loaded yet: find the loose file, read
// it, decode, upload. Each iteration releases the texture so the next one
// loads again.
void RequestBench(benchmark::State& state, const char* name, const std::string& bytes) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kwbench-XXXXXX").string();
  const std::filesystem::path folder = ::mkdtemp(tmpl.data());
  std::ofstream(folder / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  ResetKwImages();
  TKwImages& images = KwImages();
  images.GameFolder = folder;
  for (auto _ : state) {
    TKwIm& entry = images.RequestImage(name, false);
    if (!entry.Texture) state.SkipWithError("request");
    images.ResetUseCounts();
    images.ReleaseUnused();
  }
  ResetKwImages();
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

void BM_RequestImageJpeg(benchmark::State& state) { RequestBench(state, "back.jpg", JpegBytes()); }
void BM_RequestImagePng(benchmark::State& state) { RequestBench(state, "back.png", PngBytes()); }
BENCHMARK(BM_RequestImageJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RequestImagePng)->Unit(benchmark::kMillisecond);

}  // namespace
