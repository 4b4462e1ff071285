// The game file (".kwf"): one element record, the root's, holding the whole
// tree. All numbers are little-endian.
//
//   record   = string className, int32 count, count values, child*
//   child    = string (its bytes are one complete record)
//   string   = int32 byteCount, then the bytes
//   values   = the class's properties 0 .. count-1, each by its type code
//              (i, u, i8, i16, b, e: int32; d, dx: double; s: string)
//
// The reader never reads past the end of a record; an error in one record
// ends that element's reading and keeps what was read (docs/game-file.md).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kw {

// Deepest nesting of element records the reader follows; deeper child
// records are skipped whole. Real games nest a handful of levels.
constexpr int kMaxRecordNesting = 256;

// A bounds-checked little-endian reader over one record.
class TRecordCursor {
 public:
  explicit TRecordCursor(std::string_view data) : data_(data) {}
  bool ReadInt32(int32_t& out);
  bool ReadDouble(double& out);
  // A counted string; false (nothing consumed) when the count is negative or
  // runs past the end.
  bool ReadString(std::string_view& out);
  size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  size_t Position() const { return pos_; }

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

// The class name of a child record as its parent finds it without decoding
// it: byte 0 is the name's length L, and the name is the L bytes from byte 4
// (cut at the end of the record).
std::string_view ChildClassName(std::string_view record);

// Little-endian writers for the same encodings.
void AppendInt32(std::string& out, int32_t value);
void AppendDouble(std::string& out, double value);
void AppendString(std::string& out, std::string_view bytes);

}  // namespace kw
