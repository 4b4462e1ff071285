// Writes the seed pictures of the picture-decoder fuzz targets into
// FOLDER/bmp, FOLDER/tga and FOLDER/jpeg: one small picture of each kind the
// decoders take, made by the tests' own picture writers.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/picture_files.h"

namespace {

namespace fs = std::filesystem;
using kw::TBitmap32;
namespace test = kw::test;

bool Write(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out);
}

std::string Indexed(int bits, bool rle, bool topDown) {
  const int w = 13, h = 5;
  std::vector<uint32_t> palette;
  for (int i = 0; i < (1 << bits); ++i) palette.push_back(kw::ColourRGBA(uint32_t(i * 9), uint32_t(i * 3), 200, 0xFF));
  std::vector<uint8_t> indices;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) indices.push_back(uint8_t((x / 3 + y) % (1 << bits)));
  return test::IndexedBmpFile(w, h, bits, palette, indices, topDown, rle);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_picture_seeds FOLDER\n");
    return 2;
  }
  const fs::path folder(argv[1]);
  const TBitmap32 picture = test::PatternPicture(11, 7, 0xC0);
  bool ok = true;
  ok &= Write(folder / "bmp/indexed1.bmp", Indexed(1, false, false));
  ok &= Write(folder / "bmp/indexed4.bmp", Indexed(4, false, true));
  ok &= Write(folder / "bmp/indexed8.bmp", Indexed(8, false, false));
  ok &= Write(folder / "bmp/rle8.bmp", Indexed(8, true, false));
  for (int bits : {16, 24, 32}) ok &= Write(folder / ("bmp/direct" + std::to_string(bits) + ".bmp"), test::BmpFile(picture, bits));
  ok &= Write(folder / "bmp/topdown32.bmp", test::BmpFile(picture, 32, true));

  ok &= Write(folder / "tga/grey8.tga", test::TgaFile(picture, {8}));
  ok &= Write(folder / "tga/rle24.tga", test::TgaFile(picture, {24, true}));
  ok &= Write(folder / "tga/rle32_topdown.tga", test::TgaFile(picture, {32, true, true}));
  ok &= Write(folder / "tga/raw32_mirrored.tga", test::TgaFile(picture, {32, false, false, true, 0}));

  ok &= Write(folder / "jpeg/baseline.jpg", test::JpegFile(picture, {80}));
  ok &= Write(folder / "jpeg/progressive.jpg", test::JpegFile(picture, {80, false, true}));
  ok &= Write(folder / "jpeg/grey.jpg", test::JpegFile(picture, {80, true}));
  return ok ? 0 : 1;
}
