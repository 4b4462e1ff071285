// INI text: parsing, lookups and writes on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  kw::TIniText ini(bytes);
  for (const auto& section : ini.SectionNames())
    for (const auto& key : ini.KeyNames(section)) (void)ini.Find(section, key);
  ini.WriteString("Def", "Snd", "100");
  ini.WriteString(bytes.substr(0, 8), bytes.substr(0, 4), bytes);
  kw::ProfileToInt(bytes, 0);
  return 0;
}
