// Replays fuzz inputs without libFuzzer: every file named on the command
// line, or found in a folder named there, is fed once to the target. Missing
// folders are skipped, so a target without seeds still runs (and passes).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void RunFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv) {
  int count = 0;
  // The empty input is always worth one run.
  LLVMFuzzerTestOneInput(nullptr, 0);
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    std::error_code ec;
    if (std::filesystem::is_directory(arg, ec)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, ec))
        if (entry.is_regular_file()) { RunFile(entry.path()); ++count; }
    } else if (std::filesystem::is_regular_file(arg, ec)) {
      RunFile(arg);
      ++count;
    }
  }
  std::printf("replayed %d inputs\n", count);
  return 0;
}
