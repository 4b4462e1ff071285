// kwbuild FILE.json GAME.kwf: writes a game file from its JSON form (see
// src/scene/tree_json.h). Event scripts may be inline or {"file": path},
// read relative to the JSON file.
#include <cstdio>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/files.h"
#include "scene/game_record.h"
#include "scene/tree_json.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kwbuild FILE.json GAME.kwf\n");
    return 2;
  }
  const std::filesystem::path source = argv[1];
  std::string text;
  if (!kw::ReadWholeFile(source, text)) {
    std::fprintf(stderr, "kwbuild: cannot read %s\n", argv[1]);
    return 1;
  }
  nlohmann::json tree;
  try {
    tree = nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& error) {
    std::fprintf(stderr, "kwbuild: %s: %s\n", argv[1], error.what());
    return 1;
  }
  kw::TGameRecord root;
  std::string error;
  if (!kw::GameRecordFromJson(tree, source.parent_path(), root, error)) {
    std::fprintf(stderr, "kwbuild: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  if (!kw::WriteFileAtomically(argv[2], kw::EncodeGameRecord(root))) {
    std::fprintf(stderr, "kwbuild: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
