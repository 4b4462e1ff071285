// Loading a game file: a generated game of 10,000 elements, 5,000 of them
// with an event script, read from memory into a fresh tree and through
// LoadGame from a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scene/game_file.h"
#include "scene/kw_db.h"

namespace {

using namespace kw;

std::string Record(std::string_view cls, int32_t key, const std::string& id, const std::string& script,
                   const std::vector<std::string>& children) {
  std::string r;
  AppendString(r, cls);
  // Key, Id, X, Y, Vis, then for images: imImage, hxDrawFx, PosHor, PosVert,
  // Scale, Angle, hxColor, hxTrans, MousedNotVis, exVarRS, exInit.
  const bool image = cls == "TKwImage";
  AppendInt32(r, image ? 16 : 5);
  AppendInt32(r, key);
  AppendString(r, id);
  AppendInt32(r, key % 1024);
  AppendInt32(r, key % 768);
  AppendInt32(r, 1);
  if (image) {
    AppendString(r, "images\\pic" + std::to_string(key % 50) + ".png");
    AppendInt32(r, 0x504);
    AppendInt32(r, 1);
    AppendInt32(r, 1);
    AppendDouble(r, 1.0);
    AppendDouble(r, 0.0);
    AppendInt32(r, 0xFFFFFF);
    AppendInt32(r, 255);
    AppendInt32(r, 0);
    AppendString(r, "");
    AppendString(r, script);
  }
  for (const std::string& c : children) AppendString(r, c);
  return r;
}

// 1 root + 40 screens + 9,959 images = 10,000 elements; every other image
// carries an exInit script of a few lines.
std::string GenerateGame() {
  const std::string script =
      "COUNT := 0;\nIF KWDB.CLICKS > 3 THEN\nBEGIN\n  SELF.VIS := FALSE;\n  PLAYSOUND('click');\nEND;\n";
  int32_t key = 2;
  int imageIndex = 0;
  std::vector<std::string> screens;
  const int images = 10000 - 1 - 40;
  for (int s = 0; s < 40; ++s) {
    std::vector<std::string> children;
    const int perScreen = images / 40 + (s < images % 40 ? 1 : 0);
    for (int i = 0; i < perScreen; ++i) {
      // Exactly 5,000 scripts, spread evenly over the images.
      const bool withScript = (imageIndex * 5000) / images != ((imageIndex + 1) * 5000) / images;
      ++imageIndex;
      children.push_back(Record("TKwImage", key, "Image" + std::to_string(key), withScript ? script : "", {}));
      ++key;
    }
    screens.push_back(Record("TKwScreen", key++, "Screen" + std::to_string(s), "", children));
  }
  return Record("TKwDB", 1, "Bench", "", screens);
}

const std::string& Game() {
  static const std::string game = GenerateGame();
  return game;
}

void BM_LoadFromData(benchmark::State& state) {
  const std::string& game = Game();
  for (auto _ : state) {
    TKwDB root;
    root.LoadFromData(game);
    benchmark::DoNotOptimize(root.ChildCount());
  }
  TKwDB check;
  check.LoadFromData(game);
  size_t elements = 1, scripts = 0;
  for (size_t s = 0; s < check.ChildCount(); ++s) {
    const TKwElement* screen = check.Child(s);
    elements += 1 + screen->ChildCount();
    for (size_t i = 0; i < screen->ChildCount(); ++i) scripts += !screen->Child(i)->Script(esInit).Text.empty();
  }
  state.counters["elements"] = double(elements);
  state.counters["scripts"] = double(scripts);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(game.size()));
}
BENCHMARK(BM_LoadFromData)->Unit(benchmark::kMillisecond);

void BM_LoadGameFromFile(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "kwbench-load-game";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "bench.kwf", std::ios::binary) << Game();
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  for (auto _ : state) {
    TKwDB root;
    root.SetGameFileName("bench.kwf");
    root.LoadGame();
    benchmark::DoNotOptimize(root.ChildCount());
  }
  std::filesystem::current_path(old);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadGameFromFile)->Unit(benchmark::kMillisecond);

}  // namespace
