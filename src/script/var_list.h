// Variables: one named value (TVar) and the ordered table of them
// (TVarList), with the rule by which a name that is not a variable is
// resolved through the element tree (ReadPath, WritePath).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "script/script_element.h"
#include "script/script_value.h"

namespace kw {

// Where a name was last found: valid while the table keeps the same names
// in the same places (its stamp), so repeated lookups skip the search.
struct TVarHint {
  int index = -1;
  uint64_t stamp = 0;
};

struct TVar {
  std::string Name;
  TValue Value;
};

// The valid-name rule: the first byte is an identifier character and not a
// digit; the others are identifier characters up to an optional "[" after
// which only digits, "-", "," and a final "]" may follow.
bool IsValidVarName(std::string_view name);
// Identifier characters: ".", digits, "@", ASCII letters, "_", and the
// Windows-1251 letters 168, 184, 192-255.
bool IsIdentChar(unsigned char c);

class TVarList {
 public:
  void Clear();
  int Count() const { return int(records_.size()); }
  TVar& operator[](int i) { return records_[size_t(i)]; }
  const TVar& operator[](int i) const { return records_[size_t(i)]; }

  int IndexOf(std::string_view name) const;
  // As IndexOf, trying the position in `hint` first and leaving the found
  // position there. Records' names must not be changed through operator[].
  int IndexOf(std::string_view name, TVarHint& hint) const {
    if (HintHolds(hint, name)) return hint.index;
    int i = IndexOf(name);
    if (i >= 0) hint = {i, stamp_};
    return i;
  }
  bool Find(std::string_view name, TVar& record) const;
  // Appends a copy unless the name exists (true) or is not valid (false);
  // a name with "." writes the "Add var" diagnostic.
  bool Add(const TVar& record);
  // As Add, without the diagnostic.
  bool AddMissing(const TVar& record);
  // Assignment: replaces an existing record, else writes the element value
  // the name reaches from CurrentElement, else adds a variable.
  bool Put(const TVar& record);
  bool Put(std::string_view name, const TValue& value, TVarHint* hint = nullptr) {
    if (hint && HintHolds(*hint, name)) {
      records_[size_t(hint->index)].Value = value;
      return true;
    }
    return PutSlow(name, value, hint);
  }
  bool PutSlow(std::string_view name, const TValue& value, TVarHint* hint);
  bool PutExisting(std::string_view name, const TValue& value);
  // Reading: an existing record, else the name read as a path from
  // CurrentElement (ReadPath).
  bool Get(std::string_view name, TVar& record) const;
  bool Get(std::string_view name, TValue& value, TVarHint* hint = nullptr) const {
    if (hint && HintHolds(*hint, name)) {
      value = records_[size_t(hint->index)].Value;
      return true;
    }
    return GetSlow(name, value, hint);
  }
  bool GetSlow(std::string_view name, TValue& value, TVarHint* hint) const;
  void CopyTo(TVarList& other) const;

  // Appends without any check (argument tables hold many "VAR" records).
  void Append(TVar record);
  void Delete(int index);
  // True when some variable's name is `base` followed by "[".
  bool HasArrayNamed(std::string_view base) const {
    return !arrayBases_.empty() && HasArrayNamedSlow(base);
  }

  void Swap(TVarList& other) noexcept {
    records_.swap(other.records_);
    arrayBases_.swap(other.arrayBases_);
    std::swap(stamp_, other.stamp_);
  }
  // Copies `other` into this table, reusing this table's storage.
  void AssignFrom(const TVarList& other);

 private:
  void NoteName(const std::string& name);
  bool HasArrayNamedSlow(std::string_view base) const;
  std::vector<TVar> records_;
  std::unordered_set<std::string> arrayBases_;
  bool HintHolds(const TVarHint& hint, std::string_view name) const {
    return hint.stamp == stamp_ && hint.index >= 0 && size_t(hint.index) < records_.size() &&
           records_[size_t(hint.index)].Name.size() == name.size();
  }
  void Restamp();
  // A 64-bit digest of the names in order: tables that hold the same names
  // in the same places share it, so a hint stays good across procedure
  // calls that rebuild the same layout.
  static constexpr uint64_t kEmptyStamp = 0x6A09E667F3BCC908ull;
  static uint64_t NextStamp(uint64_t stamp, std::string_view name);
  uint64_t stamp_ = kEmptyStamp;
};

// The read side of a path from `start` (see the grammar in var_list.cpp).
// False when the path fails; with StrictPaths off an unresolved last
// segment reads as the byte 0 and succeeds, writing a diagnostic.
bool ReadPath(TScriptElement* start, std::string_view name, TValue& value, const TVarList& vars);
// The write side: true when an element stored the value.
bool WritePath(TScriptElement* start, std::string_view name, const TValue& value, const TVarList& vars);

}  // namespace kw
