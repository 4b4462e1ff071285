// The element: a node of the one scene tree whose root is the game database
// (TKwDB). TKwElement holds an element's identity (Key, Id), position,
// visibility and layer, its event scripts and its ordered children, and the
// traversals the frame loop and input handlers drive: drawing by layer, the
// per-tick process event, hit-testing, initialisation and the acquisition of
// pictures.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/property.h"

namespace kw {

struct TClassInfo;

// The element classes, in the order of the class registry.
enum class TKwClass : uint8_t {
  DB, Screen, Image, ExScreen, Anim, AnKey, ExAnim, Effect, ImList, Shape, Text
};

// Anchors and shape kinds, stored as the ordinal byte the file gave.
enum TKwPosHor : uint8_t { phLeft = 0, phCenter = 1, phRight = 2 };
enum TKwPosVert : uint8_t { pvTop = 0, pvCenter = 1, pvBottom = 2 };
enum TKwShapeType : uint8_t { stBox = 0, stCircle = 1 };

// An event script: the text as the game file (or a script) gave it, which is
// what reading the property returns, and its prepared token string, which is
// what runs.
struct TEventScript {
  std::string Text;
  std::string Prepared;
  void Set(std::string text);
  bool Empty() const { return Prepared.empty() && Text.empty(); }
};

// The twelve event scripts every element keeps, in their fixed order.
enum TBaseScript : uint8_t {
  esMouseMove, esInit, esMouseUp, esVarRS, esMouseOut, esMouseIn,
  esAfterLoad, esMouseDown, esUpdate, esProcess, esShow, esRender,
  esCount
};

// Booleans are kept as the byte written to them, as the game's own format
// does: TRUE from a script is stored as 255 and reads back as 255.
using TBool8 = uint8_t;

// Rounding of real positions to pixels: to the nearest integer, halves to
// even (2.5 gives 2, 3.5 gives 4), clamped to the int32 range; NaN gives 0.
int32_t RoundHalfEven(double value);

class TKwElement {
 public:
  // With a parent the element is appended to the parent's children (which
  // own it), made visible and hit-testable; without one it is a root.
  explicit TKwElement(TKwElement* parent);
  virtual ~TKwElement();
  TKwElement(const TKwElement&) = delete;
  TKwElement& operator=(const TKwElement&) = delete;

  virtual TKwClass ClassId() const = 0;
  const TClassInfo& ClassInfo() const;
  const char* ClassName() const;
  TPropTable Properties() const;

  // A nonzero 32-bit number that names this element for its whole life
  // (script element references); never reused within a run.
  uint32_t Handle() const { return handle_; }

  TKwElement* Root() const { return root_; }
  TKwElement* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<TKwElement>>& Children() const { return children_; }
  size_t ChildCount() const { return children_.size(); }
  TKwElement* Child(size_t index) const { return children_[index].get(); }
  // Position among the parent's children counting from 0; -1 on the root.
  int IndexInParent() const;
  // Moves this element to the end of its parent's child list.
  void MoveToEnd();

  // --- Virtual operations, with the behaviour of the base.
  virtual void SetVis(TBool8 value) { Vis = value; }
  virtual void SetX(int32_t value) { rX = value; }
  virtual void SetY(int32_t value) { rY = value; }
  virtual void SetSizeX(int32_t) {}
  virtual void SetSizeY(int32_t) {}
  virtual int32_t GetSizeX() const { return 0; }
  virtual int32_t GetSizeY() const { return 0; }
  virtual int32_t GetAbsX() const;
  virtual int32_t GetAbsY() const;
  // (x, y) relative to this element's parent origin. Returns the element
  // hit in `layer`, or none; the base never returns itself.
  virtual TKwElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t hitParam, uint8_t hitFlag);
  virtual void SetPos(int32_t x, int32_t y) { rX = x; rY = y; }
  // Reads this element's record of the game file, creating its children.
  virtual void LoadFromData(std::string_view record);
  virtual void Render(int32_t layer, uint32_t tint, double offsetX, double offsetY, bool flag);
  virtual void Process();
  virtual void Show();
  virtual void MouseIn();
  virtual void MouseOut();
  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void Update();
  virtual void Init();
  virtual void InitPr();
  virtual void AfterLoad();
  virtual void LoadResources();

  // --- Tree operations.
  // Creates a child of the named class (exact, case-sensitive name) when the
  // class may be a child of this element's class; none otherwise.
  TKwElement* CreateChild(std::string_view className);
  // Depth-first search by Key. When found inside child i, the hint is still
  // none and child i is not the last, the hint becomes child i + 1.
  TKwElement* FindByKey(int32_t key, TKwElement*& hint);
  TKwElement* FindByKey(int32_t key);
  // The first direct child whose Id equals `name` without regard to ASCII case.
  TKwElement* FindChildById(std::string_view name) const;
  void ClearLoaded();
  void SetAbsX(int32_t value);
  void SetAbsY(int32_t value);

  // --- Layers. Ranges only grow: a subtree's range always covers its
  // children's and includes layer 0.
  int32_t Order() const { return order_; }
  void SetOrder(int32_t value);
  int32_t MinOrder() const { return minOrder_; }
  int32_t MaxOrder() const { return maxOrder_; }

  int32_t X() const { return RoundHalfEven(rX); }
  int32_t Y() const { return RoundHalfEven(rY); }

  // --- Event scripts.
  TEventScript& Script(TBaseScript which) { return scripts_[which]; }
  const TEventScript& Script(TBaseScript which) const { return scripts_[which]; }
  // Sets EventName and runs the script on this element (nothing when empty).
  void RunScript(const char* eventName, const TEventScript& script);

  // --- Fields, in the base's declared order.
  bool Loaded = false;
  TBool8 MousedNotVis = 0;
  TBool8 MousedVis = 0;
  TBool8 NoMsKwDB = 0;
  TBool8 MsKeep = 0;
  TBool8 NotSave = 0;
  TBool8 AutoInit = 1;
  bool Initialised = false;
  bool Needed = false;
  std::string Id;
  std::string Tag;
  int32_t Key = 0;
  double rX = 0.0;
  double rY = 0.0;
  TBool8 Vis = 0;

 protected:
  // The root makes itself its own root.
  void MakeRoot() { root_ = this; }

 private:
  std::array<TEventScript, esCount> scripts_;
  int32_t order_ = 0;
  int32_t maxOrder_ = 0;
  int32_t minOrder_ = 0;
  TKwElement* root_ = nullptr;
  TKwElement* parent_ = nullptr;
  std::vector<std::unique_ptr<TKwElement>> children_;
  uint32_t handle_ = 0;
};

// The live element a handle names, or none (0, unknown, or destroyed).
TKwElement* ElementFromHandle(uint32_t handle);

// True when the element is exactly of the class (not a descendant kind:
// every kind derives directly from the base).
inline bool IsClass(const TKwElement* e, TKwClass c) { return e && e->ClassId() == c; }

}  // namespace kw
