// A game-file record as it stands in the file, decoded without building
// elements: the class name, the stored property values by the class's
// property table, and the child records. This is what the tools dump and
// build, so that dump then build gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/property.h"

namespace kw {

struct TClassInfo;

struct TGameRecord {
  std::string ClassName;
  // Set when the record can be decoded: its class is known, its property
  // count lies within the class's, every value and child record is whole.
  const TClassInfo* Class = nullptr;
  // The stored values of properties 0 .. Values.size()-1. Integers are the
  // raw 32-bit field (sign-extended; as unsigned for "u"), not cut to the
  // type's width, so nothing of the file is lost.
  std::vector<TPropValue> Values;
  std::vector<TGameRecord> Children;
  // A record that cannot be decoded is kept as its bytes, whole.
  bool IsRaw = false;
  std::string Raw;
};

// Decodes a record; never fails (an undecodable record becomes raw).
// Nesting deeper than kMaxRecordNesting is kept raw too.
TGameRecord DecodeGameRecord(std::string_view bytes);
// The record's bytes: the same bytes it was decoded from.
std::string EncodeGameRecord(const TGameRecord& record);

// The raw 32-bit field of an integer value: low 32 bits of the number.
int32_t RawInt32(int64_t value);

}  // namespace kw
