#include "scene/game_file.h"

#include <bit>
#include <cstring>
#include <exception>

#include "platform/log.h"
#include "scene/element.h"

namespace kw {

bool TRecordCursor::ReadInt32(int32_t& out) {
  if (Remaining() < 4) return false;
  const auto* p = reinterpret_cast<const uint8_t*>(data_.data() + pos_);
  out = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
  pos_ += 4;
  return true;
}

bool TRecordCursor::ReadDouble(double& out) {
  if (Remaining() < 8) return false;
  const auto* p = reinterpret_cast<const uint8_t*>(data_.data() + pos_);
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  out = std::bit_cast<double>(bits);
  pos_ += 8;
  return true;
}

bool TRecordCursor::ReadString(std::string_view& out) {
  const size_t start = pos_;
  int32_t count = 0;
  if (!ReadInt32(count)) return false;
  if (count < 0 || size_t(count) > Remaining()) {
    pos_ = start;
    return false;
  }
  out = data_.substr(pos_, size_t(count));
  pos_ += size_t(count);
  return true;
}

std::string_view ChildClassName(std::string_view record) {
  if (record.empty()) return {};
  const size_t length = uint8_t(record[0]);
  if (record.size() <= 4) return {};
  return record.substr(4, length);
}

void AppendInt32(std::string& out, int32_t value) {
  const uint32_t v = uint32_t(value);
  const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  out.append(bytes, 4);
}

void AppendDouble(std::string& out, double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) out.push_back(char(bits >> (8 * i)));
}

void AppendString(std::string& out, std::string_view bytes) {
  AppendInt32(out, int32_t(bytes.size()));
  out.append(bytes);
}

namespace {

// Nesting depth of the record being read, to stop hostile files from
// exhausting the stack. The reader runs on the one game thread.
int gNesting = 0;

struct TNestingGuard {
  TNestingGuard() { ++gNesting; }
  ~TNestingGuard() { --gNesting; }
};

// Reads property `type` from the cursor into `value`; false at the end.
bool ReadValue(TRecordCursor& in, TPropType type, TPropValue& value) {
  if (type == TPropType::String) {
    std::string_view bytes;
    if (!in.ReadString(bytes)) return false;
    value = std::string(bytes);
  } else if (IsRealType(type)) {
    double d = 0;
    if (!in.ReadDouble(d)) return false;
    value = d;
  } else {
    int32_t raw = 0;
    if (!in.ReadInt32(raw)) return false;
    value = NormaliseInteger(type, raw);
  }
  return true;
}

}  // namespace

void TKwElement::LoadFromData(std::string_view record) {
  TNestingGuard guard;
  if (gNesting > kMaxRecordNesting) {
    KwLog("game file: %s record nested deeper than %d levels skipped", ClassName(), kMaxRecordNesting);
    return;
  }
  TRecordCursor in(record);
  const TPropTable props = Properties();
  size_t k = 0;
  try {
    std::string_view className;
    int32_t count = 0;
    if (!in.ReadString(className) || !in.ReadInt32(count)) {
      KwLog("game file: %s record ends in its header", ClassName());
      return;
    }
    const size_t wanted = count < 0 ? 0 : std::min(size_t(count), props.size());
    TPropValue value;
    for (; k < wanted; ++k) {
      if (!ReadValue(in, props[k].Type, value)) {
        KwLog("game file: %s \"%s\": record ends in property %s", ClassName(), Id.c_str(), props[k].Name);
        return;
      }
      props[k].Set(*this, value);
    }
    k = props.size();  // past the values: errors now belong to child records
    while (!in.AtEnd()) {
      std::string_view child;
      if (!in.ReadString(child)) {
        KwLog("game file: %s \"%s\": child record runs past the end", ClassName(), Id.c_str());
        return;
      }
      if (TKwElement* element = CreateChild(ChildClassName(child))) element->LoadFromData(child);
    }
  } catch (const std::exception& error) {
    // A setter rejected a value, or memory ran out: what was read stays.
    KwLog("game file: %s \"%s\": reading stopped at %s: %s", ClassName(), Id.c_str(),
          k < props.size() ? props[k].Name : "a child record", error.what());
  }
}

}  // namespace kw
