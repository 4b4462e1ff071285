// kwdump GAME.kwf: prints a game file's element tree as JSON (see
// src/scene/tree_json.h for the form); kwbuild turns it back into the same
// bytes.
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/files.h"
#include "scene/game_record.h"
#include "scene/tree_json.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::fprintf(stderr, "usage: kwdump GAME.kwf\n");
    return argc == 2 ? 0 : 2;
  }
  std::string bytes;
  if (!kw::ReadWholeFile(argv[1], bytes)) {
    std::fprintf(stderr, "kwdump: cannot read %s\n", argv[1]);
    return 1;
  }
  const kw::TGameRecord root = kw::DecodeGameRecord(bytes);
  std::cout << kw::GameRecordToJson(root).dump(2) << "\n";
  return 0;
}
