// Writes game-file records byte by byte for tests, including records no
// tool would write (wrong counts, cut-off values, odd Booleans).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/game_file.h"

namespace kw::test {

class TRecordBuilder {
 public:
  // Starts a record with the class name and the property count as stored.
  TRecordBuilder(std::string_view className, int32_t count) {
    AppendString(bytes_, className);
    AppendInt32(bytes_, count);
  }
  TRecordBuilder& Int(int32_t v) { AppendInt32(bytes_, v); return *this; }
  TRecordBuilder& Real(double v) { AppendDouble(bytes_, v); return *this; }
  TRecordBuilder& Str(std::string_view s) { AppendString(bytes_, s); return *this; }
  // The five base properties: Key, Id, X, Y, Vis.
  TRecordBuilder& Base(int32_t key, std::string_view id, int32_t x = 0, int32_t y = 0, int32_t vis = 1) {
    return Int(key).Str(id).Int(x).Int(y).Int(vis);
  }
  TRecordBuilder& Child(const std::string& record) { AppendString(bytes_, record); return *this; }
  TRecordBuilder& Bytes(std::string_view raw) { bytes_.append(raw); return *this; }
  const std::string& Done() const { return bytes_; }
  operator std::string() const { return bytes_; }
  operator std::string_view() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace kw::test
