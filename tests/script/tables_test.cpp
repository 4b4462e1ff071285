// The variable table, paths through elements and the function table.
#include <gtest/gtest.h>

#include "script/pascalc.h"
#include "test_element.h"

namespace kw {
namespace {

class PathTest : public testing::Test {
 protected:
  void SetUp() override {
    ScriptContext().OnLogLine = [this](const std::string& l) { log.push_back(l); };
    ScriptContext().EventName = "Init";
  }
  void TearDown() override {
    ScriptContext().OnLogLine = nullptr;
    ScriptContext().StrictPaths = false;
  }
  test::TTestTree tree;
  TVarList vars;
  std::vector<std::string> log;
};

TEST_F(PathTest, ReadsThroughParentsHandlesSegmentsVariablesAndRoot) {
  vars.Append(TVar{"B", TValue::Element(5)});
  const struct { test::TTestElement* start; const char* path; bool ok; int32_t x; TValueKind kind; } cases[] = {
      {tree.icon, ".X", true, 10, TValueKind::Integer},
      {tree.icon, "..BUTTON2.X", true, 30, TValueKind::Integer},
      {tree.icon, "KWDB.SCREEN1.BUTTON1.ICON.X", true, 1, TValueKind::Integer},
      {tree.icon, "B.X", true, 30, TValueKind::Integer},              // a variable holding an element
      {tree.icon, "@3.Y", true, 20, TValueKind::Integer},
      {tree.icon, "@4.", true, 4, TValueKind::Element},
      {tree.icon, "@99.X", false, 0, TValueKind::Empty},             // no such handle
      {tree.icon, "@3X.Y", false, 0, TValueKind::Empty},             // not a number
      {tree.icon, "NOPE.X", false, 0, TValueKind::Empty},
      {tree.icon, "A..X", false, 0, TValueKind::Empty},              // empty segment
      {&tree.root, "..X", false, 0, TValueKind::Empty},              // beyond the root
      {&tree.root, ".X", true, 0, TValueKind::Byte},                 // no element: the byte 0
      {tree.button1, "Q", true, 0, TValueKind::Byte},
      {tree.button1, "ICON", true, 4, TValueKind::Element},
      {nullptr, "X", true, 0, TValueKind::Byte},
  };
  for (const auto& c : cases) {
    TValue v;
    bool ok = ReadPath(c.start, c.path, v, vars);
    EXPECT_EQ(ok, c.ok) << c.path;
    if (!ok || !c.ok) continue;
    EXPECT_EQ(v.kind, c.kind) << c.path;
    int32_t x = -1;
    v.ToInteger(x);
    EXPECT_EQ(x, c.x) << c.path;
  }
}

TEST_F(PathTest, UnresolvedLastSegmentLogsOrFailsWhenStrict) {
  ScriptContext().CurrentElement = tree.button1;
  TValue v;
  EXPECT_TRUE(ReadPath(tree.button1, "Q", v, vars));
  EXPECT_TRUE(ReadPath(&tree.root, ".Q", v, vars));
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "Not var Q (in Button1 <TKwImage> Init");
  EXPECT_EQ(log[1], "Not var NIL .Q (in Button1 <TKwImage> Init");
  ScriptContext().StrictPaths = true;
  EXPECT_FALSE(ReadPath(tree.button1, "Q", v, vars));
  EXPECT_EQ(log.size(), 2u);
  ScriptContext().CurrentElement = nullptr;
}

TEST_F(PathTest, WritesOnlyWhatElementsHave) {
  EXPECT_TRUE(WritePath(tree.icon, "..BUTTON2.X", TValue::Integer(7), vars));
  EXPECT_EQ(tree.button2->props["X"].i, 7);
  EXPECT_FALSE(WritePath(tree.icon, "..BUTTON2.OTHER", TValue::Integer(1), vars));
  EXPECT_FALSE(WritePath(tree.icon, "@3.", TValue::Integer(1), vars));
  EXPECT_FALSE(WritePath(nullptr, "X", TValue::Integer(1), vars));
  EXPECT_FALSE(WritePath(&tree.root, ".X", TValue::Integer(1), vars));
  tree.button1->vars.Append(TVar{"COUNT", TValue::Integer(3)});
  EXPECT_TRUE(WritePath(tree.button2, ".BUTTON1.COUNT", TValue::Integer(4), vars));
  EXPECT_EQ(tree.button1->vars[0].Value.i, 4);
}

TEST_F(PathTest, PutPrefersVariablesThenElementValuesThenAdds) {
  ScriptContext().CurrentElement = tree.button1;
  EXPECT_TRUE(vars.Put(TVar{"X", TValue::Integer(5)}));
  EXPECT_EQ(vars.Count(), 0);
  EXPECT_EQ(tree.button1->props["X"].i, 5);
  EXPECT_TRUE(vars.Put(TVar{"COUNT", TValue::Integer(5)}));
  EXPECT_TRUE(vars.Put(TVar{"A.B", TValue::Integer(1)}));
  EXPECT_FALSE(vars.Put(TVar{"2X", TValue::Integer(1)}));
  ASSERT_EQ(vars.Count(), 2);
  EXPECT_EQ(vars[1].Name, "A.B");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "Add var A.B (in Button1 <TKwImage> Init");
  EXPECT_TRUE(vars.AddMissing(TVar{"C.D", TValue::Integer(1)}));
  EXPECT_EQ(log.size(), 1u);
  // Add of an existing name changes nothing and answers true.
  EXPECT_TRUE(vars.Add(TVar{"COUNT", TValue::Integer(9)}));
  EXPECT_EQ(vars[0].Value.i, 5);
  TVar found;
  found.Value = TValue::Integer(77);
  EXPECT_FALSE(vars.Find("NONE", found));
  EXPECT_EQ(found.Name, "NONE");
  EXPECT_EQ(found.Value.i, 77);
  EXPECT_FALSE(vars.PutExisting("NONE", TValue::Integer(1)));
  TVarList other;
  other.Append(TVar{"COUNT", TValue::Integer(1)});
  vars.CopyTo(other);
  ASSERT_EQ(other.Count(), 3);
  EXPECT_EQ(other[0].Value.i, 1);
  EXPECT_EQ(other[2].Name, "C.D");
  ScriptContext().CurrentElement = nullptr;
}

TEST(FunctionTable, RegisterReplacesRemovesAndRefuses) {
  TPasCalc calc;
  auto one = [](TPasCalc&, TVarList&, TVar& r) { r.Value = TValue::Integer(1); return true; };
  auto two = [](TPasCalc&, TVarList&, TVar& r) { r.Value = TValue::Integer(2); return true; };
  EXPECT_TRUE(calc.RegisterFunction(" Min ", one));
  ASSERT_EQ(calc.Funcs.IndexOf("MIN"), 0);
  EXPECT_TRUE(calc.RegisterFunction("min", two));
  EXPECT_EQ(calc.Funcs.Count(), 1);
  TVarList args;
  TVar result;
  calc.Funcs[0].Callback(calc, args, result);
  EXPECT_EQ(result.Value.i, 2);
  EXPECT_TRUE(calc.RegisterFunction("MIN", nullptr));
  EXPECT_EQ(calc.Funcs.IndexOf("MIN"), -1);
  EXPECT_FALSE(calc.RegisterFunction("2X", one));
  EXPECT_FALSE(calc.RegisterFunction("A B", one));
  EXPECT_EQ(calc.Funcs.Count(), 0);
}

TEST(FunctionTable, ReplacedNamesReparseCachedExpressions) {
  // "F" reads as a variable until a function of that name exists.
  TPasCalc calc;
  std::string tokens;
  calc.Prepare("X := F", tokens);
  EXPECT_TRUE(calc.Run(tokens));
  EXPECT_EQ(calc.Vars[0].Value.kind, TValueKind::Byte);
  calc.RegisterFunction("F", [](TPasCalc&, TVarList&, TVar& r) { r.Value = TValue::Integer(5); return true; });
  calc.Vars.Clear();
  EXPECT_TRUE(calc.Run(tokens));
  EXPECT_EQ(calc.Vars[0].Value.i, 5);
}

}  // namespace
}  // namespace kw
