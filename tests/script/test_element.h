// A small element tree for interpreter tests and benchmarks: elements with
// an Id, a class name, integer or string properties, their own variables
// and children, answering the names scripts use to walk a scene (SELF,
// PARENT, NIL, KWDB, CLASS, CHILDCOUNT, child Ids).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "script/script_context.h"
#include "script/var_list.h"

namespace kw::test {

class TTestElement : public TScriptElement {
 public:
  TTestElement(std::string id, std::string className, uint32_t handle, TTestElement* parent)
      : id_(std::move(id)), upperId_(AsciiUpperCase(id_)), class_(std::move(className)), handle_(handle),
        parent_(parent) {}

  std::map<std::string, TValue> props;  // upper-case names
  TVarList vars;
  std::vector<std::unique_ptr<TTestElement>> children;

  bool GetValue(const std::string& name, TValue& value) override {
    int i = vars.IndexOf(name);
    if (i >= 0) { value = vars[i].Value; return true; }
    auto it = props.find(name);
    if (it != props.end()) { value = it->second; return true; }
    for (auto& c : children)
      if (c->upperId_ == name) { value = TValue::Element(c->handle_); return true; }
    if (name == "NIL") { value = TValue::Element(0); return true; }
    if (name == "SELF") { value = TValue::Element(handle_); return true; }
    if (name == "CLASS") { value = TValue::String(AsciiUpperCase(class_)); return true; }
    if (name == "PARENT" && parent_) { value = TValue::Element(parent_->handle_); return true; }
    if (name == "CHILDCOUNT") { value = TValue::Integer(int32_t(children.size())); return true; }
    if (name == "KWDB") {
      const TTestElement* r = this;
      while (r->parent_) r = r->parent_;
      value = TValue::Element(r->handle_);
      return true;
    }
    return false;
  }
  bool SetValue(const std::string& name, const TValue& value) override {
    if (vars.PutExisting(name, value)) return true;
    auto it = props.find(name);
    if (it == props.end()) return false;
    if (it->second.kind == TValueKind::Integer) {
      int32_t v;
      if (!value.ToInteger(v)) return true;
      it->second = TValue::Integer(v);
    } else {
      it->second = TValue::String(value.ToString());
    }
    return true;
  }
  TScriptElement* ScriptParent() const override { return parent_; }
  uint32_t ScriptHandle() const override { return handle_; }
  std::string ScriptId() const override { return id_; }
  std::string ScriptClassName() const override { return class_; }

  TTestElement& Add(std::string id, std::string className, uint32_t handle) {
    children.push_back(std::make_unique<TTestElement>(std::move(id), std::move(className), handle, this));
    return *children.back();
  }

 private:
  std::string id_, upperId_, class_;
  uint32_t handle_;
  TTestElement* parent_;
};

// KWDB > SCREEN1 > { BUTTON1 (X 10, Y 20) > ICON (X 1), BUTTON2 (X 30) },
// handles 1 to 5 in that order. Installs itself as the context's root.
struct TTestTree {
  TTestElement root{"KWDB", "TKwDB", 1, nullptr};
  TTestElement* screen;
  TTestElement* button1;
  TTestElement* icon;
  TTestElement* button2;
  std::vector<TTestElement*> byHandle;

  TTestTree() {
    screen = &root.Add("Screen1", "TKwScreen", 2);
    button1 = &screen->Add("Button1", "TKwImage", 3);
    button1->props["X"] = TValue::Integer(10);
    button1->props["Y"] = TValue::Integer(20);
    icon = &button1->Add("Icon", "TKwImage", 4);
    icon->props["X"] = TValue::Integer(1);
    button2 = &screen->Add("Button2", "TKwImage", 5);
    button2->props["X"] = TValue::Integer(30);
    byHandle = {nullptr, &root, screen, button1, icon, button2};
    TScriptContext& ctx = ScriptContext();
    ctx.Root = &root;
    ctx.ElementByHandle = [this](uint32_t h) -> TScriptElement* {
      return h < byHandle.size() ? byHandle[h] : nullptr;
    };
  }
  ~TTestTree() {
    TScriptContext& ctx = ScriptContext();
    ctx.Root = nullptr;
    ctx.ElementByHandle = nullptr;
    ctx.CurrentElement = nullptr;
  }
  // The element a dotted path of Ids names from the root ("KWDB.SCREEN1").
  TTestElement* Find(const std::string& path) {
    TTestElement* e = &root;
    size_t b = path.find('.');
    while (b != std::string::npos) {
      size_t n = path.find('.', b + 1);
      std::string id = path.substr(b + 1, n == std::string::npos ? std::string::npos : n - b - 1);
      TTestElement* next = nullptr;
      for (auto& c : e->children)
        if (AsciiUpperCase(c->ScriptId()) == id) next = c.get();
      if (!next) return nullptr;
      e = next;
      b = n;
    }
    return e;
  }
};

}  // namespace kw::test
