// kwpack: the command line of the resource-pack tool.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kwpack.h"

namespace {

constexpr const char* kUsage =
    "usage: kwpack list PACK\n"
    "       kwpack extract PACK [ENTRY...] [-C DIR]\n"
    "       kwpack create PACK DIR\n"
    "\n"
    "list     prints size, offset and name of every entry, in directory order\n"
    "extract  writes the named entries (all when none is named) below DIR\n"
    "         (default: the current folder); \"\\\" in names becomes a folder,\n"
    "         names that would leave DIR are refused\n"
    "create   packs every file below DIR, names upper-cased with \"\\\" between\n"
    "         folders, in sorted order\n"
    "\n"
    "Names are shown and taken as UTF-8 and stored as Windows-1251.\n"
    "Exit status: 0 success, 1 errors, 2 wrong usage.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "kwpack: %s\n", problem);
  std::fputs(kUsage, stderr);
  return kw::kwpack::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kw::kwpack;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (args.size() < 2) return Usage(args.empty() ? nullptr : "missing PACK");
  const std::string& command = args[0];
  const fs::path pack = args[1];

  if (command == "list") {
    if (args.size() != 2) return Usage("list takes only PACK");
    return ListPack(pack);
  }
  if (command == "create") {
    if (args.size() != 3) return Usage("create takes PACK and DIR");
    return CreatePack(pack, args[2]);
  }
  if (command == "extract") {
    fs::path folder = ".";
    std::vector<std::string> entries;
    for (size_t i = 2; i < args.size(); ++i) {
      if (args[i] == "-C") {
        if (i + 1 >= args.size()) return Usage("-C needs a folder");
        folder = args[++i];
      } else {
        entries.push_back(args[i]);
      }
    }
    return ExtractPack(pack, entries, folder);
  }
  return Usage(("unknown command " + command).c_str());
}
