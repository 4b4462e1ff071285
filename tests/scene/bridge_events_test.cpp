// Event runs: Init and InitPr filling Vars, exSetScreen joining the root's
// variables, nesting through the interpreter pool, and a failing script
// stopping only itself.
#include "bridge_fixture.h"

namespace kw::test {
namespace {

constexpr const char* kGame = R"({
  "class": "TKwDB",
  "properties": {"Key": 1, "Id": "Game", "exInit": "KEEP := 1;",
                 "exSetScreen": "KEEP := 2; NEWONE := 3;"},
  "children": [
    {"class": "TKwScreen", "properties": {"Key": 2, "Id": "S", "Vis": true},
     "children": [
       {"class": "TKwImage", "properties": {"Key": 3, "Id": "A", "Vis": true,
         "exInit": "KWDB.TAG := KWDB.TAG + 'a'; LOCAL := 5; X := 'bad' + 1.5; AFTER := 1;"}},
       {"class": "TKwImage", "properties": {"Key": 4, "Id": "B", "Vis": true,
         "exInit": "TEXT := 1; SCALE := 'x'; NEVER := 1;",
         "exUpdate": "KWDB.TAG := KWDB.TAG + 'u'; RAISE();"}},
       {"class": "TKwImage", "properties": {"Key": 5, "Id": "C", "Vis": true,
         "exInit": "KWDB.TAG := KWDB.TAG + 'c'; MINE := PARPOS;"}}
     ]}
  ]
})";

class BridgeEvents : public TBridgeTest {
 protected:
  void SetUp() override {
    TBridgeTest::SetUp();
    Load(kGame);
  }
};

TEST_F(BridgeEvents, InitRunsOnceAndInitPrEveryTimeEachWithFreshVars) {
  root->Init();
  root->Init();
  EXPECT_EQ(root->Tag, "ac");
  EXPECT_EQ(Var(At("S.C").Vars, "MINE").i, 3);
  EXPECT_EQ(Var(root->Vars, "KEEP").i, 1);

  At("S.C").Vars.Append({"STALE", TValue::Integer(1)});
  root->InitPr();
  root->InitPr();
  EXPECT_EQ(root->Tag, "acacac");
  EXPECT_EQ(At("S.C").Vars.IndexOf("STALE"), -1);
  EXPECT_EQ(Var(At("S.C").Vars, "MINE").i, 3);
}

TEST_F(BridgeEvents, AFailingScriptStopsOnlyItself) {
  root->Init();
  TKwElement& a = At("S.A");
  // A's script stopped at its failing expression, keeping what came before.
  EXPECT_EQ(Var(a.Vars, "LOCAL").i, 5);
  EXPECT_EQ(a.Vars.IndexOf("AFTER"), -1);
  // B wrote an unknown name (a variable) then a bad real: stopped there.
  TKwElement& b = At("S.B");
  EXPECT_EQ(Var(b.Vars, "TEXT").i, 1);
  EXPECT_EQ(b.Vars.IndexOf("NEVER"), -1);
  // C, after both, ran whole.
  EXPECT_EQ(Var(At("S.C").Vars, "MINE").i, 3);
  bool logged = false;
  for (const std::string& line : log)
    if (line.find("Invalid value for property Scale: x") == 0 && line.find("B <TKwImage>) Init") != std::string::npos)
      logged = true;
  EXPECT_TRUE(logged);
}

TEST_F(BridgeEvents, SetScreenJoinsTheRootsVariables) {
  root->Init();
  root->RunSetScreen();
  // KEEP is the root's own: the script wrote it through the root, while
  // the new variable joined the root's table after the run.
  EXPECT_EQ(Var(root->Vars, "KEEP").i, 2);
  EXPECT_EQ(Var(root->Vars, "NEWONE").i, 3);
}

TEST_F(BridgeEvents, NestedEventsUseTheNextInterpreterUntilThePoolEnds) {
  std::vector<int> depths;
  std::vector<uint32_t> previous;
  InterpreterPool().ForEach([&](TPasCalc& calc) {
    calc.RegisterFunction("RAISE", [&](TPasCalc&, TVarList&, TVar&) {
      depths.push_back(InterpreterPool().ScriptDepth());
      TScriptElement* prev = ScriptContext().PreviousElement;
      previous.push_back(prev ? prev->ScriptHandle() : 0);
      static_cast<TKwElement*>(ScriptContext().CurrentElement)->Update();
      return true;
    });
  });
  TKwElement& b = At("S.B");
  b.Update();
  // Levels 2 to 10 ran; the tenth nested event was refused and logged.
  EXPECT_EQ(root->Tag, std::string(TInterpreterPool::kSize - 1, 'u'));
  ASSERT_EQ(depths.size(), size_t(TInterpreterPool::kSize - 1));
  EXPECT_EQ(depths.front(), 2);
  EXPECT_EQ(depths.back(), TInterpreterPool::kSize);
  EXPECT_EQ(previous.front(), 0u);
  EXPECT_EQ(previous.back(), b.Handle());
  EXPECT_EQ(InterpreterPool().ScriptDepth(), 1);
  EXPECT_EQ(ScriptContext().CurrentElement, nullptr);
  bool refused = false;
  for (const std::string& line : log) refused |= line.find("event refused") != std::string::npos;
  EXPECT_TRUE(refused);
}

}  // namespace
}  // namespace kw::test
