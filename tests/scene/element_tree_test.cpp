// The element tree: layer ranges, containment, hit-test order, rounding,
// initialisation and lookups.
#include <gtest/gtest.h>

#include "scene/class_registry.h"
#include "scene/kw_db.h"
#include "scene/kw_image.h"
#include "scene/kw_screen.h"
#include "scene/kw_shape.h"
#include "scene/kw_text.h"
#include "scene/shell_state.h"

namespace kw {
namespace {

TEST(ElementTree, LayerRangesOnlyGrow) {
  TKwDB root;
  auto* screen = static_cast<TKwScreen*>(root.CreateChild("TKwScreen"));
  ASSERT_NE(screen, nullptr);
  auto* a = static_cast<TKwImage*>(screen->CreateChild("TKwImage"));
  auto* b = static_cast<TKwImage*>(screen->CreateChild("TKwImage"));
  a->SetOrder(5);
  EXPECT_EQ(screen->MaxOrder(), 5);
  EXPECT_EQ(root.MaxOrder(), 5);
  b->SetOrder(-2);
  EXPECT_EQ(screen->MinOrder(), -2);
  EXPECT_EQ(root.MinOrder(), -2);
  a->SetOrder(0);
  EXPECT_EQ(a->Order(), 0);
  EXPECT_EQ(a->MaxOrder(), 5) << "a range never shrinks";
  EXPECT_EQ(screen->MaxOrder(), 5);
  EXPECT_EQ(root.MaxOrder(), 5);
  EXPECT_EQ(root.MinOrder(), -2);
}

TEST(ElementTree, RangeWalkStopsWhereNothingChanges) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  TKwElement* outer = screen->CreateChild("TKwShape");
  TKwElement* inner = outer->CreateChild("TKwShape");
  screen->SetOrder(9);  // the screen's own range covers 9 already
  inner->SetOrder(7);
  EXPECT_EQ(outer->MaxOrder(), 7);
  EXPECT_EQ(screen->MaxOrder(), 9);
  EXPECT_EQ(root.MaxOrder(), 9);
  EXPECT_EQ(outer->MinOrder(), 0) << "every range includes layer 0";
}

struct TContainmentCase {
  const char* parent;
  const char* child;
  bool allowed;
};

class Containment : public testing::TestWithParam<TContainmentCase> {};

TEST_P(Containment, FollowsTheRegistry) {
  const TContainmentCase c = GetParam();
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  ASSERT_NE(screen, nullptr);
  TKwElement* anim = screen->CreateChild("TKwAnim");
  TKwElement* key = anim->CreateChild("TKwAnKey");
  TKwElement* parent = nullptr;
  std::string p = c.parent;
  if (p == "TKwDB") parent = &root;
  else if (p == "TKwScreen") parent = screen;
  else if (p == "TKwAnim") parent = anim;
  else if (p == "TKwAnKey") parent = key;
  else parent = screen->CreateChild(c.parent);
  ASSERT_NE(parent, nullptr) << c.parent;
  const size_t before = parent->ChildCount();
  TKwElement* made = parent->CreateChild(c.child);
  EXPECT_EQ(made != nullptr, c.allowed) << c.child << " under " << c.parent;
  EXPECT_EQ(parent->ChildCount(), before + (c.allowed ? 1 : 0));
  if (made) {
    EXPECT_STREQ(made->ClassName(), c.child);
    EXPECT_EQ(made->Parent(), parent);
    EXPECT_EQ(made->Root(), &root);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Containment,
                         testing::Values(TContainmentCase{"TKwText", "TKwText", true},
                                         TContainmentCase{"TKwImage", "TKwScreen", false},
                                         TContainmentCase{"TKwScreen", "tkwimage", false},
                                         TContainmentCase{"TKwScreen", "TKWIMAGE", false},
                                         TContainmentCase{"TKwDB", "TKwScreen", true},
                                         TContainmentCase{"TKwDB", "TKwImage", false},
                                         TContainmentCase{"TKwDB", "TKwAnim", true},
                                         TContainmentCase{"TKwDB", "TKwDB", false},
                                         TContainmentCase{"TKwAnim", "TKwAnKey", true},
                                         TContainmentCase{"TKwAnKey", "TKwImage", true},
                                         TContainmentCase{"TKwAnKey", "TKwShape", false},
                                         TContainmentCase{"TKwText", "TKwImage", false},
                                         TContainmentCase{"TKwShape", "TKwExScreen", true},
                                         TContainmentCase{"TKwScreen", "TKwUnknown", false}));

TEST(ElementTree, LaterOverlappingChildWinsTheHitTest) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  auto* first = static_cast<TKwShape*>(screen->CreateChild("TKwShape"));
  auto* second = static_cast<TKwShape*>(screen->CreateChild("TKwShape"));
  first->rX = 10;
  second->rX = 50;  // boxes 10..110 and 50..150 overlap at 50..110
  EXPECT_EQ(screen->HitTest(0, 60, 20, 0, 0), second);
  EXPECT_EQ(screen->HitTest(0, 20, 20, 0, 0), first);
  EXPECT_EQ(screen->HitTest(0, 200, 20, 0, 0), nullptr);
  EXPECT_EQ(screen->HitTest(1, 60, 20, 0, 0), nullptr) << "layer 1 is outside the range";
}

TEST(ElementTree, HiddenElementHidesItsSubtreeFromTheMouse) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  TKwElement* outer = screen->CreateChild("TKwShape");
  TKwElement* inner = outer->CreateChild("TKwShape");
  EXPECT_EQ(screen->HitTest(0, 5, 5, 0, 0), inner);
  outer->SetVis(0);
  EXPECT_EQ(screen->HitTest(0, 5, 5, 0, 0), nullptr);
  outer->MousedNotVis = 1;
  EXPECT_EQ(screen->HitTest(0, 5, 5, 0, 0), inner) << "MousedNotVis keeps an invisible element testable";
}

TEST(ElementTree, ChildrenAreTestedRelativeToTheParent) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  auto* panel = static_cast<TKwShape*>(screen->CreateChild("TKwShape"));
  panel->rX = 100;
  panel->rY = 100;
  panel->SizeX = panel->SizeY = 10;
  auto* button = static_cast<TKwShape*>(panel->CreateChild("TKwShape"));
  button->rX = 50;
  button->SizeX = button->SizeY = 10;
  EXPECT_EQ(screen->HitTest(0, 155, 105, 0, 0), button);
  EXPECT_EQ(button->GetAbsX(), 150);
  button->SetAbsX(170);
  EXPECT_EQ(button->X(), 70);
}

TEST(ElementTree, ModalScreenCatchesWhatNothingElseTakes) {
  TKwDB root;
  auto* screen = static_cast<TKwScreen*>(root.CreateChild("TKwScreen"));
  TKwElement* shape = screen->CreateChild("TKwShape");
  EXPECT_EQ(screen->HitTest(0, 500, 500, 0, 0), nullptr);
  screen->Modal = 1;
  EXPECT_EQ(screen->HitTest(0, 500, 500, 0, 0), screen);
  EXPECT_EQ(screen->HitTest(0, 5, 5, 0, 0), shape);
}

TEST(ElementTree, PositionsRoundHalfToEven) {
  const struct {
    double r;
    int32_t rounded;
  } cases[] = {{10.5, 10}, {11.5, 12}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.49, 0}, {1e300, INT32_MAX},
               {-1e300, INT32_MIN}};
  TKwDB root;
  TKwElement* e = root.CreateChild("TKwScreen")->CreateChild("TKwShape");
  for (const auto& c : cases) {
    e->rX = c.r;
    e->rY = c.r;
    EXPECT_EQ(e->X(), c.rounded) << c.r;
    EXPECT_EQ(e->Y(), c.rounded) << c.r;
  }
  e->SetX(7);
  EXPECT_EQ(e->rX, 7.0);
}

// A child that counts how often the tree's traversals reach it.
class TCountingImage : public TKwImage {
 public:
  using TKwImage::TKwImage;
  void Init() override {
    ++inits;
    TKwImage::Init();
  }
  void InitPr() override {
    ++initPrs;
    TKwImage::InitPr();
  }
  int inits = 0;
  int initPrs = 0;
};

TEST(ElementTree, InitRunsOnceInitPrAlways) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  auto* image = new TCountingImage(screen);  // owned by the screen
  root.Init();
  root.Init();
  EXPECT_EQ(image->inits, 1) << "the screen's second Init stops at its own flag";
  EXPECT_TRUE(image->Initialised);
  // The base InitPr (the root's own starts the whole tree anew).
  screen->InitPr();
  screen->InitPr();
  EXPECT_EQ(image->initPrs, 2);
  EXPECT_TRUE(screen->Initialised) << "InitPr neither reads nor clears the flag";
}

TEST(ElementTree, ScreenWithoutAutoInitKeepsItsSubtreeUninitialised) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  screen->AutoInit = 0;
  auto* image = new TCountingImage(screen);
  root.Init();
  EXPECT_TRUE(screen->Initialised);
  EXPECT_EQ(image->inits, 0);
  root.Init();
  EXPECT_EQ(image->inits, 0);
  screen->InitPr();
  EXPECT_EQ(image->initPrs, 1);
}

// A shape that records the traversals that reach it, in one shared log.
class TTracingShape : public TKwShape {
 public:
  TTracingShape(TKwElement* parent, std::string name, std::vector<std::string>& log)
      : TKwShape(parent), name_(std::move(name)), log_(log) {}
  void Render(int32_t layer, uint32_t tint, double ox, double oy, bool flag) override {
    log_.push_back(name_ + "@" + std::to_string(int(ox)) + "," + std::to_string(int(oy)));
    TKwShape::Render(layer, tint, ox, oy, flag);
  }
  void Process() override {
    log_.push_back(name_);
    TKwShape::Process();
  }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

TEST(ElementTree, RenderWalksVisibleChildrenInOrderWithOffsets) {
  std::vector<std::string> log;
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  screen->rX = 1000;  // a screen's children are offset by its position
  auto* a = new TTracingShape(screen, "a", log);
  a->rX = 10;
  a->rY = 20;
  auto* inner = new TTracingShape(a, "inner", log);
  inner->SetOrder(3);
  auto* b = new TTracingShape(screen, "b", log);
  new TTracingShape(b, "b.child", log);
  auto* hidden = new TTracingShape(screen, "hidden", log);
  hidden->SetVis(0);
  screen->Render(0, 0xFFFFFFFF, 0, 0, false);
  EXPECT_EQ(log, (std::vector<std::string>{"a@1000,0", "inner@1010,20", "b@1000,0", "b.child@1000,0"}));
  log.clear();
  screen->Render(3, 0xFFFFFFFF, 0, 0, false);
  EXPECT_EQ(log, (std::vector<std::string>{"a@1000,0", "inner@1010,20", "b@1000,0"}))
      << "b's range 0..0 stops its walk in layer 3";
  log.clear();
  screen->Render(4, 0xFFFFFFFF, 0, 0, false);
  EXPECT_TRUE(log.empty()) << "outside the screen's range nothing is walked";
  EXPECT_TRUE(b->Loaded) << "rendering acquires resources first";
}

TEST(ElementTree, ProcessSkipsHiddenSubtreesUnlessMousedNotVis) {
  std::vector<std::string> log;
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  auto* a = new TTracingShape(screen, "a", log);
  new TTracingShape(a, "a.child", log);
  new TTracingShape(screen, "b", log);
  a->SetVis(0);
  screen->Process();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"})) << "a hidden shape is reached but does not go on";
  log.clear();
  a->MousedNotVis = 1;
  screen->Process();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "a.child", "b"}));
  log.clear();
  screen->SetVis(0);  // screens are processed while invisible: MousedNotVis is set for them
  screen->Process();
  EXPECT_EQ(log.size(), 3u);
}

TEST(ElementTree, FindByKeyIsDepthFirstAndSetsTheHint) {
  TKwDB root;
  root.Key = 1;
  TKwElement* s1 = root.CreateChild("TKwScreen");
  s1->Key = 2;
  TKwElement* img = s1->CreateChild("TKwImage");
  img->Key = 3;
  TKwElement* s2 = root.CreateChild("TKwScreen");
  s2->Key = 3;  // same key later in the tree: the first in depth order wins
  TKwElement* hint = nullptr;
  EXPECT_EQ(root.FindByKey(3, hint), img);
  EXPECT_EQ(hint, s2) << "found inside child 0 with a none hint: the hint is child 1";
  TKwElement* keep = &root;
  EXPECT_EQ(root.FindByKey(2, keep), s1);
  EXPECT_EQ(keep, &root) << "a hint that is set stays";
  hint = nullptr;
  EXPECT_EQ(root.FindByKey(3 + 100, hint), nullptr);
  EXPECT_EQ(hint, nullptr);
  EXPECT_EQ(root.FindByKey(1), &root);
}

TEST(ElementTree, FindChildByIdIgnoresAsciiCase) {
  TKwDB root;
  TKwElement* a = root.CreateChild("TKwScreen");
  a->Id = "Menu";
  TKwElement* b = root.CreateChild("TKwScreen");
  b->Id = "MENU";
  EXPECT_EQ(root.FindChildById("mEnU"), a);
  EXPECT_EQ(root.FindChildById("Room"), nullptr);
}

TEST(ElementTree, HandlesAreStableAndNeverReused) {
  uint32_t oldHandle = 0;
  {
    TKwDB root;
    TKwElement* screen = root.CreateChild("TKwScreen");
    oldHandle = screen->Handle();
    EXPECT_NE(oldHandle, 0u);
    EXPECT_NE(root.Handle(), oldHandle);
    EXPECT_EQ(ElementFromHandle(oldHandle), screen);
    screen->MoveToEnd();
    EXPECT_EQ(ElementFromHandle(oldHandle), screen);
  }
  EXPECT_EQ(ElementFromHandle(oldHandle), nullptr);
  EXPECT_EQ(ElementFromHandle(0), nullptr);
  TKwDB again;
  EXPECT_GT(again.Handle(), oldHandle);
}

TEST(ElementTree, DestroyingTheTreeClearsShellReferences) {
  ResetShellState();
  {
    TKwDB root;
    TKwElement* screen = root.CreateChild("TKwScreen");
    Shell().CurrentScreen = screen;
    Shell().CursorAt = screen->CreateChild("TKwImage");
  }
  EXPECT_EQ(Shell().CurrentScreen, nullptr);
  EXPECT_EQ(Shell().CursorAt, nullptr);
}

TEST(ElementTree, ClearLoadedReachesEveryDescendant) {
  TKwDB root;
  TKwElement* screen = root.CreateChild("TKwScreen");
  TKwElement* image = screen->CreateChild("TKwImage");
  root.LoadResources();
  EXPECT_TRUE(root.Loaded && screen->Loaded && image->Loaded);
  root.ClearLoaded();
  EXPECT_FALSE(root.Loaded || screen->Loaded || image->Loaded);
}

TEST(ElementTree, MoveToEndKeepsTheOthersInOrder) {
  TKwDB root;
  TKwElement* a = root.CreateChild("TKwScreen");
  TKwElement* b = root.CreateChild("TKwScreen");
  TKwElement* c = root.CreateChild("TKwScreen");
  a->MoveToEnd();
  ASSERT_EQ(root.ChildCount(), 3u);
  EXPECT_EQ(root.Child(0), b);
  EXPECT_EQ(root.Child(1), c);
  EXPECT_EQ(root.Child(2), a);
  EXPECT_EQ(a->IndexInParent(), 2);
}

}  // namespace
}  // namespace kw
