#include "scene/element.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/codepage.h"
#include "scene/class_registry.h"
#include "scene/run_event.h"
#include "scene/shell_state.h"

namespace kw {

namespace {

// Live elements by handle - 1. Handles count up and are never reused, so a
// stale reference held by a script finds none rather than another element.
std::vector<TKwElement*>& HandleTable() {
  static auto* table = new std::vector<TKwElement*>;  // never destroyed: see Shell()
  return *table;
}

}  // namespace

TKwElement* ElementFromHandle(uint32_t handle) {
  auto& table = HandleTable();
  if (handle == 0 || handle > table.size()) return nullptr;
  return table[handle - 1];
}

int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return int32_t(std::nearbyint(value));  // the default rounding mode: ties to even
}

void TEventScript::Set(std::string text) {
  Prepared = PrepareEventScript(text);
  Text = std::move(text);
}

TKwElement::TKwElement(TKwElement* parent) {
  auto& table = HandleTable();
  if (table.size() < std::numeric_limits<uint32_t>::max()) {
    table.push_back(this);
    handle_ = uint32_t(table.size());
  }
  if (parent) {
    root_ = parent->root_;
    parent_ = parent;
    try {
      parent->children_.emplace_back(this);
    } catch (...) {
      if (handle_ != 0) table[handle_ - 1] = nullptr;
      throw;
    }
    // Only the base behaviour here: a kind's own SetVis runs once the kind
    // is constructed, and a fresh element has nothing for it to show.
    Vis = 1;
    MousedVis = 1;
  }
}

TKwElement::~TKwElement() {
  // Children go first, deepest first, so that no element outlives its root.
  while (!children_.empty()) children_.pop_back();
  ForgetElementReferences(this);
  if (handle_ != 0) HandleTable()[handle_ - 1] = nullptr;
}

const TClassInfo& TKwElement::ClassInfo() const { return ClassInfoOf(ClassId()); }
const char* TKwElement::ClassName() const { return ClassInfo().Name; }
TPropTable TKwElement::Properties() const { return ClassInfo().Properties; }

int TKwElement::IndexInParent() const {
  if (!parent_) return -1;
  const auto& siblings = parent_->children_;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return int(i);
  return -1;
}

void TKwElement::MoveToEnd() {
  if (!parent_) return;
  auto& siblings = parent_->children_;
  auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& p) { return p.get() == this; });
  if (it != siblings.end()) std::rotate(it, it + 1, siblings.end());
}

int32_t TKwElement::GetAbsX() const { return parent_ ? X() + parent_->GetAbsX() : X(); }
int32_t TKwElement::GetAbsY() const { return parent_ ? Y() + parent_->GetAbsY() : Y(); }

TKwElement* TKwElement::HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag) {
  if (Vis ? !MousedVis : !MousedNotVis) return nullptr;
  if (layer < minOrder_ || layer > maxOrder_) return nullptr;
  const int32_t cx = x - X(), cy = y - Y();
  for (size_t i = children_.size(); i-- > 0;)
    if (TKwElement* hit = children_[i]->HitTest(layer, cx, cy, hitParam, hitFlag)) return hit;
  return nullptr;
}

void TKwElement::Render(int32_t layer, uint32_t tint, double offsetX, double offsetY, bool) {
  if (!Loaded) LoadResources();
  if (layer < minOrder_ || layer > maxOrder_) return;
  for (size_t i = 0; i < children_.size(); ++i) {
    TKwElement* child = children_[i].get();
    if (child->Vis) child->Render(layer, tint, offsetX + rX, offsetY + rY, false);
  }
}

void TKwElement::Process() {
  if (!Vis && !MousedNotVis) return;
  RunScript("Process", scripts_[esProcess]);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Process();
}

void TKwElement::Show() {
  RunScript("Show", scripts_[esShow]);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Show();
}

void TKwElement::MouseIn() {
  RunScript("ms_In", scripts_[esMouseIn]);
  if (root_) RunScript("ms_In", root_->scripts_[esMouseIn]);
}

void TKwElement::MouseOut() {
  RunScript("ms_Out", scripts_[esMouseOut]);
  if (root_) RunScript("ms_Out", root_->scripts_[esMouseOut]);
}

void TKwElement::MouseDown() { RunScript("ms_Down", scripts_[esMouseDown]); }
void TKwElement::MouseUp() { RunScript("ms_Up", scripts_[esMouseUp]); }
void TKwElement::MouseMove() { RunScript("ms_Move", scripts_[esMouseMove]); }
void TKwElement::Update() { RunScript("Update", scripts_[esUpdate]); }

void TKwElement::Init() {
  if (Initialised) return;
  Initialised = true;
  if (ClassId() == TKwClass::Screen && !AutoInit) return;
  RunScript("Init", scripts_[esInit]);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Init();
}

void TKwElement::InitPr() {
  RunScript("InitPr", scripts_[esInit]);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->InitPr();
}

void TKwElement::AfterLoad() {
  RunScript("Load", scripts_[esAfterLoad]);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->AfterLoad();
}

void TKwElement::LoadResources() {
  if (Loaded) return;
  // Writing a picture or font property back with its own value acquires it.
  for (const TPropInfo& prop : Properties()) {
    if (prop.Type != TPropType::String) continue;
    const std::string upper = AsciiUpperCase(prop.Name);
    if (upper.rfind("IM", 0) == 0 || upper == "FONT") prop.Set(*this, prop.Get(*this));
  }
  Loaded = true;
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->LoadResources();
}

TKwElement* TKwElement::CreateChild(std::string_view className) {
  bool allowed = false;
  for (const TClassInfo& info : ClassRegistry())
    if (info.Name == className && MayBeChildOf(info, ClassId())) allowed = true;
  if (!allowed) return nullptr;
  // Construction by the upper-case names; the root is never made this way.
  const std::string upper = AsciiUpperCase(className);
  for (const TClassInfo& info : ClassRegistry())
    if (info.Id != TKwClass::DB && upper == info.UpperName) return info.Construct(this);
  return nullptr;
}

TKwElement* TKwElement::FindByKey(int32_t key, TKwElement*& hint) {
  if (Key == key) return this;
  for (size_t i = 0; i < children_.size(); ++i) {
    if (TKwElement* found = children_[i]->FindByKey(key, hint)) {
      if (!hint && i + 1 < children_.size()) hint = children_[i + 1].get();
      return found;
    }
  }
  return nullptr;
}

TKwElement* TKwElement::FindByKey(int32_t key) {
  TKwElement* hint = this;  // anything but none: the hint is left alone
  return FindByKey(key, hint);
}

TKwElement* TKwElement::FindChildById(std::string_view name) const {
  for (const auto& child : children_)
    if (AsciiEqualNoCase(child->Id, name)) return child.get();
  return nullptr;
}

void TKwElement::ClearLoaded() {
  Loaded = false;
  for (const auto& child : children_) child->ClearLoaded();
}

void TKwElement::SetAbsX(int32_t value) { SetX(parent_ ? value - parent_->GetAbsX() : value); }
void TKwElement::SetAbsY(int32_t value) { SetY(parent_ ? value - parent_->GetAbsY() : value); }

void TKwElement::SetOrder(int32_t value) {
  order_ = value;
  maxOrder_ = std::max(maxOrder_, value);
  minOrder_ = std::min(minOrder_, value);
  for (TKwElement* e = this; e->parent_ && e != root_;) {
    TKwElement* p = e->parent_;
    bool changed = false;
    if (p->maxOrder_ < e->maxOrder_) p->maxOrder_ = e->maxOrder_, changed = true;
    if (e->minOrder_ < p->minOrder_) p->minOrder_ = e->minOrder_, changed = true;
    if (!changed) break;
    e = p;
  }
}

void TKwElement::RunScript(const char* eventName, const TEventScript& script) {
  if (script.Empty()) return;
  Shell().EventName = eventName;
  RunEvent(*this, script.Prepared);
}

}  // namespace kw
