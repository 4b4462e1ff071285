// Variables: one named value (TVar) and the ordered table of them
// (TVarList), with the rule by which a name that is not a variable is
// resolved through the element tree (ReadPath, WritePath).
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "script/script_element.h"
#include "script/script_value.h"

namespace kw {

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
  // position there (names are unique, so a matching name is the record).
  int IndexOf(std::string_view name, int& hint) const {
    if (hint >= 0 && hint < int(records_.size()) && records_[size_t(hint)].Name == name) return hint;
    int i = IndexOf(name);
    if (i >= 0) hint = i;
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
  bool Put(std::string_view name, const TValue& value, int* hint = nullptr);
  bool PutExisting(std::string_view name, const TValue& value);
  // Reading: an existing record, else the name read as a path from
  // CurrentElement (ReadPath).
  bool Get(std::string_view name, TVar& record) const;
  bool Get(std::string_view name, TValue& value, int* hint = nullptr) const;
  void CopyTo(TVarList& other) const;

  // Appends without any check (argument tables hold many "VAR" records).
  void Append(TVar record);
  void Delete(int index);
  // True when some variable's name is `base` followed by "[".
  bool HasArrayNamed(std::string_view base) const;

  void Swap(TVarList& other) noexcept {
    records_.swap(other.records_);
    arrayBases_.swap(other.arrayBases_);
  }
  // Copies `other` into this table, reusing this table's storage.
  void AssignFrom(const TVarList& other);

 private:
  void NoteName(const std::string& name);
  std::vector<TVar> records_;
  std::unordered_set<std::string> arrayBases_;
};

// The read side of a path from `start` (see the grammar in var_list.cpp).
// False when the path fails; with StrictPaths off an unresolved last
// segment reads as the byte 0 and succeeds, writing a diagnostic.
bool ReadPath(TScriptElement* start, std::string_view name, TValue& value, const TVarList& vars);
// The write side: true when an element stored the value.
bool WritePath(TScriptElement* start, std::string_view name, const TValue& value, const TVarList& vars);

}  // namespace kw
