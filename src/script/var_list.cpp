#include "script/var_list.h"

#include "script/script_context.h"

namespace kw {

bool IsIdentChar(unsigned char c) {
  return c == '.' || (c >= '0' && c <= '9') || c == '@' || (c >= 'A' && c <= 'Z') || c == '_' ||
         (c >= 'a' && c <= 'z') || c == 168 || c == 184 || c >= 192;
}

bool IsValidVarName(std::string_view name) {
  if (name.empty()) return false;
  unsigned char first = static_cast<unsigned char>(name[0]);
  if (!IsIdentChar(first) || (first >= '0' && first <= '9')) return false;
  size_t i = 1;
  for (; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == '[') break;
    if (!IsIdentChar(c)) return false;
  }
  if (i == name.size()) return true;
  // The index part: digits, "-", "," and a closing "]" as the last byte.
  if (name.back() != ']' || name.size() - i < 2) return false;
  for (size_t j = i + 1; j + 1 < name.size(); ++j) {
    char c = name[j];
    if (!((c >= '0' && c <= '9') || c == '-' || c == ',')) return false;
  }
  return true;
}

// "Add var A.B (in Button1 <TKwImage> Init": the pieces joined as they are,
// with no closing parenthesis.
static void Diagnostic(const char* what, std::string_view name) {
  TScriptContext& ctx = ScriptContext();
  if (!ctx.OnLogLine && !(ctx.SaveErr && ctx.SaveErr())) return;
  std::string line = what;
  line += name;
  line += " (in ";
  line += DescribeElement(ctx.CurrentElement);
  line += ' ';
  line += ctx.EventName;
  WriteErrorLogLine(line);
}

uint64_t TVarList::NextStamp(uint64_t stamp, std::string_view name) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
  uint64_t z = stamp ^ (h + 0x9E3779B97F4A7C15ull + (stamp << 6) + (stamp >> 2));
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void TVarList::Restamp() {
  stamp_ = kEmptyStamp;
  for (const TVar& r : records_) stamp_ = NextStamp(stamp_, r.Name);
}

void TVarList::Clear() {
  records_.clear();
  arrayBases_.clear();
  stamp_ = kEmptyStamp;
}

int TVarList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].Name == name) return int(i);
  return -1;
}

bool TVarList::Find(std::string_view name, TVar& record) const {
  record.Name.assign(name);
  int i = IndexOf(name);
  if (i < 0) return false;
  record.Value = records_[size_t(i)].Value;
  return true;
}

void TVarList::NoteName(const std::string& name) {
  size_t b = name.find('[');
  if (b != std::string::npos) arrayBases_.insert(name.substr(0, b));
}

void TVarList::Append(TVar record) {
  NoteName(record.Name);
  stamp_ = NextStamp(stamp_, record.Name);
  records_.push_back(std::move(record));
}

void TVarList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  bool bracket = records_[size_t(index)].Name.find('[') != std::string::npos;
  records_.erase(records_.begin() + index);
  Restamp();
  if (bracket) {
    arrayBases_.clear();
    for (const TVar& r : records_) NoteName(r.Name);
  }
}

bool TVarList::HasArrayNamedSlow(std::string_view base) const { return arrayBases_.count(std::string(base)) != 0; }

void TVarList::AssignFrom(const TVarList& other) {
  records_ = other.records_;
  arrayBases_ = other.arrayBases_;
  stamp_ = other.stamp_;
}

bool TVarList::AddMissing(const TVar& record) {
  if (IndexOf(record.Name) >= 0) return true;
  if (!IsValidVarName(record.Name)) return false;
  Append(record);
  return true;
}

bool TVarList::Add(const TVar& record) {
  if (IndexOf(record.Name) >= 0) return true;
  if (!IsValidVarName(record.Name)) return false;
  if (record.Name.find('.') != std::string::npos) Diagnostic("Add var ", record.Name);
  Append(record);
  return true;
}

bool TVarList::Put(const TVar& record) { return Put(record.Name, record.Value); }

bool TVarList::PutSlow(std::string_view name, const TValue& value, TVarHint* hint) {
  TVarHint localHint;
  int i = IndexOf(name, hint ? *hint : localHint);
  if (i >= 0) {
    records_[size_t(i)].Value = value;
    return true;
  }
  if (WritePath(ScriptContext().CurrentElement, name, value, *this)) return true;
  // Add, knowing the name is not in the table.
  if (!IsValidVarName(name)) return false;
  if (name.find('.') != std::string_view::npos) Diagnostic("Add var ", name);
  Append(TVar{std::string(name), value});
  if (hint) *hint = {Count() - 1, stamp_};
  return true;
}

bool TVarList::PutExisting(std::string_view name, const TValue& value) {
  int i = IndexOf(name);
  if (i < 0) return false;
  records_[size_t(i)].Value = value;
  return true;
}

bool TVarList::Get(std::string_view name, TVar& record) const {
  record.Name.assign(name);
  return Get(name, record.Value);
}

bool TVarList::GetSlow(std::string_view name, TValue& value, TVarHint* hint) const {
  TVarHint localHint;
  int i = IndexOf(name, hint ? *hint : localHint);
  if (i >= 0) {
    value = records_[size_t(i)].Value;
    return true;
  }
  return ReadPath(ScriptContext().CurrentElement, name, value, *this);
}

void TVarList::CopyTo(TVarList& other) const {
  for (const TVar& r : records_) other.AddMissing(r);
}

// Paths, read left to right:
//   leading "."s      each moves to the parent of the current element
//   "@" handle "."    the element of that handle becomes current
//   segment "."       each moves to the element the segment names
//   last segment      the value read or written on the element reached
// Walks the part before the last segment; false when the path fails.
static bool WalkPath(TScriptElement*& cur, std::string_view& name, const TVarList& vars,
                     bool& handleOnly, TValue& handleValue) {
  TScriptContext& ctx = ScriptContext();
  handleOnly = false;
  while (!name.empty() && name[0] == '.') {
    name.remove_prefix(1);
    if (!cur) return false;
    cur = cur->ScriptParent();
  }
  if (name.empty()) return false;
  if (name[0] == '@') {
    size_t dot = name.find('.');
    if (dot != std::string_view::npos) {
      std::string_view digits = name.substr(1, dot - 1);
      if (digits.empty() || digits.size() > 10) return false;
      uint64_t handle = 0;
      for (char c : digits) {
        if (c < '0' || c > '9') return false;
        handle = handle * 10 + uint64_t(c - '0');
      }
      if (handle == 0 || handle > 0xFFFFFFFFu) return false;
      TScriptElement* e = ctx.FindElement(uint32_t(handle));
      if (!e) return false;
      cur = e;
      name.remove_prefix(dot + 1);
      if (name.empty()) {
        handleOnly = true;
        handleValue = TValue::Element(uint32_t(handle));
        return true;
      }
    }
  }
  std::string segment;
  TValue v;
  for (size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.')) {
    if (dot == 0) return false;
    segment.assign(name.substr(0, dot));
    name.remove_prefix(dot + 1);
    if (!cur) return false;
    if (!cur->GetValue(segment, v)) {
      int i = vars.IndexOf(segment);
      if (i >= 0) {
        v = vars[i].Value;
      } else if (segment == "KWDB" && ctx.Root) {
        v = TValue::Element(ctx.Root->ScriptHandle());
      } else {
        return false;
      }
    }
    if (v.kind != TValueKind::Element) return false;
    cur = ctx.FindElement(v.Handle());
  }
  return true;
}

bool ReadPath(TScriptElement* start, std::string_view name, TValue& value, const TVarList& vars) {
  std::string_view full = name;
  TScriptElement* cur = start;
  bool handleOnly;
  TValue handleValue;
  if (!WalkPath(cur, name, vars, handleOnly, handleValue)) return false;
  if (handleOnly) {
    value = handleValue;
    return true;
  }
  std::string last(name);
  if (cur && cur->GetValue(last, value)) return true;
  if (ScriptContext().StrictPaths) return false;
  value = TValue::Byte(0);
  Diagnostic(cur ? "Not var " : "Not var NIL ", full);
  return true;
}

bool WritePath(TScriptElement* start, std::string_view name, const TValue& value, const TVarList& vars) {
  if (!name.empty() && name[0] != '.' && name[0] != '@' && name.find('.') == std::string_view::npos)
    return start && start->SetValue(std::string(name), value);  // a plain name: a value of the element
  TScriptElement* cur = start;
  bool handleOnly;
  TValue handleValue;
  if (!WalkPath(cur, name, vars, handleOnly, handleValue)) return false;
  if (handleOnly || !cur) return false;
  return cur->SetValue(std::string(name), value);
}

}  // namespace kw
