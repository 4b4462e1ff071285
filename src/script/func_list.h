// The built-in function table (TFuncList) and the table of procedures a
// script declares (TProcList), with the entry through which every built-in
// function is called.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/var_list.h"

namespace kw {

class TPasCalc;

// A built-in function: the calling interpreter, the argument table (one
// record per argument in call order, named "VAR" when the argument is an
// existing variable of the caller, "VALUE" otherwise) and the result record
// (its value starts empty). Answers true for success. After a successful
// call the value of every "VAR" argument record is copied back into the
// variable it named. Throwing (any std::exception) fails the call and adds
// the exception's text to the error message.
using TScriptFunction = std::function<bool(TPasCalc& calc, TVarList& args, TVar& result)>;

// What a built-in throws to fail with a message of its own.
struct TScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TFunc {
  std::string Name;  // upper case in the ASCII letters
  TScriptFunction Callback;
};

class TFuncList {
 public:
  int IndexOf(std::string_view upperName) const;
  int Count() const { return int(funcs_.size()); }
  const TFunc& operator[](int i) const { return funcs_[size_t(i)]; }
  // Replaces or removes (empty entry) an existing function, else appends.
  void Set(const std::string& upperName, TScriptFunction entry);
  // Changes whenever a name joins or leaves the table.
  uint64_t Version() const { return version_; }

 private:
  std::vector<TFunc> funcs_;
  std::unordered_map<std::string, int> index_;
  uint64_t version_ = 1;
};

struct TProcedure {
  std::string Name;
  std::string Body;    // token string of the statement after the heading
  std::string Params;  // formal parameter names, CR LF between them
  bool IsFunction = false;
  std::vector<std::string> ParamList;  // Params split, kept with it
  // The body's parsed form, made when it first runs.
  mutable std::shared_ptr<struct TCompiledText> CompiledBody;
};

class TProcList {
 public:
  void Clear();
  int IndexOf(std::string_view name) const;
  int IndexOf(std::string_view name, int& hint) const {
    if (hint >= 0 && hint < int(procs_.size()) && procs_[size_t(hint)]->Name == name) return hint;
    int i = IndexOf(name);
    if (i >= 0) hint = i;
    return i;
  }
  bool Find(std::string_view name, TProcedure& record) const;
  bool Add(const TProcedure& record);
  int Count() const { return int(procs_.size()); }
  const TProcedure& operator[](int i) const { return *procs_[size_t(i)]; }
  // The record, kept alive while a call runs even if the table is emptied.
  std::shared_ptr<const TProcedure> Shared(int i) const { return procs_[size_t(i)]; }
  // A number that changes whenever the set of names changes (and only
  // then), so cached parses that depend on it can be checked cheaply.
  uint64_t Signature() const { return signature_; }

 private:
  std::vector<std::shared_ptr<TProcedure>> procs_;
  uint64_t signature_ = 0;
};

}  // namespace kw
