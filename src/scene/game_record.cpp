#include "scene/game_record.h"

#include "scene/class_registry.h"
#include "scene/game_file.h"

namespace kw {

int32_t RawInt32(int64_t value) { return int32_t(uint32_t(uint64_t(value))); }

namespace {

TGameRecord MakeRaw(std::string_view bytes) {
  TGameRecord record;
  TRecordCursor in(bytes);
  std::string_view name;
  if (in.ReadString(name)) record.ClassName = std::string(name);
  record.IsRaw = true;
  record.Raw = std::string(bytes);
  return record;
}

TGameRecord Decode(std::string_view bytes, int depth) {
  if (depth > kMaxRecordNesting) return MakeRaw(bytes);
  TRecordCursor in(bytes);
  std::string_view name;
  int32_t count = 0;
  if (!in.ReadString(name) || !in.ReadInt32(count)) return MakeRaw(bytes);
  const TClassInfo* info = FindClassExact(name);
  if (!info || count < 0 || size_t(count) > info->Properties.size()) return MakeRaw(bytes);

  TGameRecord record;
  record.ClassName = std::string(name);
  record.Class = info;
  record.Values.reserve(size_t(count));
  for (int32_t k = 0; k < count; ++k) {
    const TPropType type = info->Properties[size_t(k)].Type;
    if (type == TPropType::String) {
      std::string_view s;
      if (!in.ReadString(s)) return MakeRaw(bytes);
      record.Values.emplace_back(std::string(s));
    } else if (IsRealType(type)) {
      double d = 0;
      if (!in.ReadDouble(d)) return MakeRaw(bytes);
      record.Values.emplace_back(d);
    } else {
      int32_t raw = 0;
      if (!in.ReadInt32(raw)) return MakeRaw(bytes);
      record.Values.emplace_back(type == TPropType::UInt ? int64_t(uint32_t(raw)) : int64_t(raw));
    }
  }
  while (!in.AtEnd()) {
    std::string_view child;
    if (!in.ReadString(child)) return MakeRaw(bytes);
    record.Children.push_back(Decode(child, depth + 1));
  }
  return record;
}

void Encode(const TGameRecord& record, std::string& out) {
  if (record.IsRaw) {
    out += record.Raw;
    return;
  }
  AppendString(out, record.ClassName);
  AppendInt32(out, int32_t(record.Values.size()));
  for (size_t k = 0; k < record.Values.size(); ++k) {
    const TPropType type = record.Class ? record.Class->Properties[k].Type : TPropType::Int;
    const TPropValue& v = record.Values[k];
    if (type == TPropType::String) AppendString(out, PropString(v));
    else if (IsRealType(type)) AppendDouble(out, PropReal(v));
    else AppendInt32(out, RawInt32(PropInt(v)));
  }
  for (const TGameRecord& child : record.Children) {
    std::string bytes;
    Encode(child, bytes);
    AppendString(out, bytes);
  }
}

}  // namespace

TGameRecord DecodeGameRecord(std::string_view bytes) { return Decode(bytes, 1); }

std::string EncodeGameRecord(const TGameRecord& record) {
  std::string out;
  Encode(record, out);
  return out;
}

}  // namespace kw
