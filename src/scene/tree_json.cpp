#include "scene/tree_json.h"

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "platform/codepage.h"
#include "platform/files.h"
#include "scene/class_registry.h"
#include "scene/kw_db.h"

namespace kw {

using json = nlohmann::json;
using ojson = nlohmann::ordered_json;

std::string JsonTextFromCp1251(std::string_view bytes) {
  std::u16string wide;
  wide.reserve(bytes.size());
  for (char c : bytes) {
    const uint8_t b = uint8_t(c);
    wide.push_back(Cp1251HasCharacter(b) ? UnicodeFromCp1251(b) : char16_t(b));
  }
  return Utf8FromUtf16(wide);
}

bool Cp1251FromJsonText(std::string_view utf8, std::string& out) {
  out.clear();
  if (!IsValidUtf8(utf8)) return false;
  const std::u16string wide = Utf16FromUtf8(utf8);
  out.reserve(wide.size());
  for (char16_t ch : wide) {
    if (ch < 0x100 && !Cp1251HasCharacter(uint8_t(ch))) {
      out.push_back(char(ch));  // the byte without a character, kept as itself
      continue;
    }
    const auto byte = Cp1251FromUnicode(ch);
    if (!byte) return false;
    out.push_back(char(*byte));
  }
  return true;
}

namespace {

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    out.push_back(digits[uint8_t(c) >> 4]);
    out.push_back(digits[uint8_t(c) & 15]);
  }
  return out;
}

bool Unhex(std::string_view text, std::string& out) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() % 2) return false;
  out.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = nibble(text[i]), lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(char(hi << 4 | lo));
  }
  return true;
}

ojson ValueToJson(TPropType type, const TPropValue& value) {
  if (type == TPropType::String) return JsonTextFromCp1251(PropString(value));
  if (IsRealType(type)) {
    const double d = PropReal(value);
    if (std::isfinite(d)) return d;
    char text[32];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, std::bit_cast<uint64_t>(d));
    return text;
  }
  const int64_t i = PropInt(value);
  if (type == TPropType::Bool && (i == 0 || i == 1)) return i == 1;
  return i;
}

// Where an element stands, for error messages: class "Id" at a tree path.
std::string Describe(const json& element, const std::string& path) {
  std::string text = path + " ";
  if (element.is_object() && element.contains("class") && element["class"].is_string())
    text += element["class"].get<std::string>();
  else
    text += "element";
  if (element.is_object() && element.contains("properties") && element["properties"].is_object()) {
    const json& props = element["properties"];
    if (props.contains("Id") && props["Id"].is_string()) text += " \"" + props["Id"].get<std::string>() + "\"";
  }
  return text;
}

// The value a fresh element of the class has in property k: read once from
// a scratch tree holding one element of every class (children of a parent,
// as the game file makes them).
TPropValue InitialValue(const TClassInfo& info, size_t k) {
  static const std::vector<std::vector<TPropValue>> initial = [] {
    static TKwDB scratchRoot;
    std::vector<std::vector<TPropValue>> values;
    for (const TClassInfo& c : ClassRegistry()) {
      TKwElement* fresh = c.Id == TKwClass::DB ? &scratchRoot : c.Construct(&scratchRoot);
      std::vector<TPropValue> row;
      for (const TPropInfo& prop : c.Properties) row.push_back(prop.Get(*fresh));
      values.push_back(std::move(row));
    }
    return values;
  }();
  return initial[size_t(info.Id)][k];
}

bool ReadStringValue(const json& v, const std::filesystem::path& baseFolder, std::string& out, std::string& why) {
  if (v.is_string()) {
    if (!Cp1251FromJsonText(v.get_ref<const std::string&>(), out)) {
      why = "text holds a character that Windows-1251 lacks";
      return false;
    }
    return true;
  }
  if (v.is_object() && v.size() == 1 && v.contains("file") && v["file"].is_string()) {
    const std::filesystem::path file = baseFolder / v["file"].get<std::string>();
    std::string bytes;
    if (!ReadWholeFile(file, bytes)) {
      why = "cannot read " + file.string();
      return false;
    }
    if (IsValidUtf8(bytes)) {
      if (!Cp1251FromJsonText(bytes, out)) {
        why = file.string() + " holds a character that Windows-1251 lacks";
        return false;
      }
    } else {
      out = std::move(bytes);
    }
    return true;
  }
  why = "expected a string or {\"file\": path}";
  return false;
}

bool ReadValue(const json& v, TPropType type, const std::filesystem::path& baseFolder, TPropValue& out,
               std::string& why) {
  if (type == TPropType::String) {
    std::string s;
    if (!ReadStringValue(v, baseFolder, s, why)) return false;
    out = std::move(s);
    return true;
  }
  if (IsRealType(type)) {
    if (v.is_number()) {
      out = v.get<double>();
      return true;
    }
    if (v.is_string()) {
      const std::string& s = v.get_ref<const std::string&>();
      std::string bytes;
      if (s.size() == 18 && s.rfind("0x", 0) == 0 && Unhex(s.substr(2), bytes)) {
        uint64_t bits = 0;
        for (char c : bytes) bits = bits << 8 | uint8_t(c);
        out = std::bit_cast<double>(bits);
        return true;
      }
    }
    why = "expected a number";
    return false;
  }
  if (v.is_boolean()) {
    out = int64_t(v.get<bool>() ? 1 : 0);
    return true;
  }
  if (v.is_number_integer()) {
    const int64_t i = v.is_number_unsigned() ? int64_t(std::min<uint64_t>(v.get<uint64_t>(), UINT64_MAX >> 1))
                                             : v.get<int64_t>();
    if (i < INT32_MIN || i > int64_t(UINT32_MAX)) {
      why = "integer does not fit 32 bits";
      return false;
    }
    out = i;
    return true;
  }
  why = "expected an integer";
  return false;
}

bool FromJson(const json& element, const std::filesystem::path& baseFolder, const std::string& path,
              TGameRecord& out, std::string& error) {
  if (!element.is_object() || !element.contains("class") || !element["class"].is_string()) {
    error = path + ": an element must be an object with a \"class\" string";
    return false;
  }
  out = TGameRecord{};
  out.ClassName = element["class"].get<std::string>();
  std::string className;
  if (!Cp1251FromJsonText(out.ClassName, className)) className = out.ClassName;
  out.ClassName = className;

  if (element.contains("raw")) {
    if (!element["raw"].is_string() || !Unhex(element["raw"].get<std::string>(), out.Raw)) {
      error = Describe(element, path) + ": \"raw\" must be a string of hex digits";
      return false;
    }
    out.IsRaw = true;
    return true;
  }
  const TClassInfo* info = FindClassExact(out.ClassName);
  if (!info) {
    error = Describe(element, path) + ": unknown class \"" + out.ClassName + "\"";
    return false;
  }
  out.Class = info;
  for (auto it = element.begin(); it != element.end(); ++it) {
    if (it.key() != "class" && it.key() != "properties" && it.key() != "children") {
      error = Describe(element, path) + ": unknown member \"" + it.key() + "\"";
      return false;
    }
  }

  // Which properties the object names, and the last one of them.
  const TPropTable props = info->Properties;
  std::vector<const json*> given(props.size(), nullptr);
  size_t count = 0;
  if (element.contains("properties")) {
    const json& named = element["properties"];
    if (!named.is_object()) {
      error = Describe(element, path) + ": \"properties\" must be an object";
      return false;
    }
    for (auto it = named.begin(); it != named.end(); ++it) {
      int k = -1;
      for (size_t i = 0; i < props.size(); ++i)
        if (it.key() == props[i].Name) k = int(i);
      if (k < 0) {
        error = Describe(element, path) + ": unknown property \"" + it.key() + "\" of " + info->Name;
        return false;
      }
      given[size_t(k)] = &it.value();
      count = std::max(count, size_t(k) + 1);
    }
  }
  out.Values.reserve(count);
  for (size_t k = 0; k < count; ++k) {
    if (!given[k]) {
      out.Values.push_back(InitialValue(*info, k));
      continue;
    }
    TPropValue value;
    std::string why;
    if (!ReadValue(*given[k], props[k].Type, baseFolder, value, why)) {
      error = Describe(element, path) + ": property \"" + props[k].Name + "\": " + why;
      return false;
    }
    out.Values.push_back(std::move(value));
  }

  if (element.contains("children")) {
    const json& children = element["children"];
    if (!children.is_array()) {
      error = Describe(element, path) + ": \"children\" must be an array";
      return false;
    }
    out.Children.resize(children.size());
    for (size_t i = 0; i < children.size(); ++i) {
      const std::string childPath = path + "/" + std::to_string(i);
      if (!FromJson(children[i], baseFolder, childPath, out.Children[i], error)) return false;
    }
  }
  return true;
}

}  // namespace

ojson GameRecordToJson(const TGameRecord& record) {
  ojson element;
  element["class"] = JsonTextFromCp1251(record.ClassName);
  if (record.IsRaw || !record.Class) {
    element["raw"] = Hex(record.Raw);
    return element;
  }
  ojson props = ojson::object();
  for (size_t k = 0; k < record.Values.size(); ++k) {
    const TPropInfo& prop = record.Class->Properties[k];
    props[prop.Name] = ValueToJson(prop.Type, record.Values[k]);
  }
  element["properties"] = std::move(props);
  ojson children = ojson::array();
  for (const TGameRecord& child : record.Children) children.push_back(GameRecordToJson(child));
  element["children"] = std::move(children);
  return element;
}

bool GameRecordFromJson(const json& element, const std::filesystem::path& baseFolder, TGameRecord& out,
                        std::string& error) {
  return FromJson(element, baseFolder, "/", out, error);
}

}  // namespace kw
