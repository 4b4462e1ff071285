#include "script/func_list.h"

namespace kw {

int TFuncList::IndexOf(std::string_view upperName) const {
  auto it = index_.find(std::string(upperName));
  return it == index_.end() ? -1 : it->second;
}

void TFuncList::Set(const std::string& upperName, TScriptFunction entry) {
  int i = IndexOf(upperName);
  if (i >= 0) {
    if (entry) {
      funcs_[size_t(i)].Callback = std::move(entry);
      return;
    }
    funcs_.erase(funcs_.begin() + i);
    index_.clear();
    for (size_t j = 0; j < funcs_.size(); ++j) index_[funcs_[j].Name] = int(j);
    ++version_;
    return;
  }
  index_[upperName] = int(funcs_.size());
  funcs_.push_back(TFunc{upperName, std::move(entry)});
  ++version_;
}

static uint64_t NameHash(std::string_view name) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
  return h * 0x9E3779B97F4A7C15ull + 1;
}

void TProcList::Clear() {
  procs_.clear();
  signature_ = 0;
}

int TProcList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < procs_.size(); ++i)
    if (procs_[i]->Name == name) return int(i);
  return -1;
}

bool TProcList::Find(std::string_view name, TProcedure& record) const {
  int i = IndexOf(name);
  if (i < 0) return false;
  record = *procs_[size_t(i)];
  return true;
}

bool TProcList::Add(const TProcedure& record) {
  if (IndexOf(record.Name) >= 0) return false;
  procs_.push_back(std::make_shared<TProcedure>(record));
  TProcedure& p = *procs_.back();
  if (p.ParamList.empty() && !p.Params.empty()) {
    size_t b = 0;
    while (b <= p.Params.size()) {
      size_t e = p.Params.find("\r\n", b);
      if (e == std::string::npos) e = p.Params.size();
      p.ParamList.push_back(p.Params.substr(b, e - b));
      b = e + 2;
    }
  }
  signature_ += NameHash(record.Name);  // order-independent, names are unique
  return true;
}

}  // namespace kw
