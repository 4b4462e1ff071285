// Scripts reading and writing the scene through paths, children, properties
// and the computed names of elements.
#include "bridge_fixture.h"

#include "platform/ini.h"
#include "scene/kw_text.h"
#include "support/temp_folder.h"

namespace kw::test {
namespace {

// SCREEN1 holds BUTTON1 (whose exInit leaves COUNT = 3), a sibling SIB, an
// image P with a child named X, and a text T. The root keeps WHO.
constexpr const char* kGame = R"({
  "class": "TKwDB",
  "properties": {"Key": 1, "Id": "Game", "exInit": "WHO := 0; SEEN := 0;",
                 "exMouseIn": "KWDB.WHO := SELF; KWDB.SEEN := PREEXKWE;"},
  "children": [
    {"class": "TKwScreen", "properties": {"Key": 2, "Id": "Screen1", "Vis": true},
     "children": [
       {"class": "TKwImage", "properties": {"Key": 3, "Id": "Button1", "X": 10, "Y": 20, "Vis": true,
                                            "exInit": "COUNT := 3;"}},
       {"class": "TKwImage", "properties": {"Key": 4, "Id": "Sib", "X": 5, "Vis": true}},
       {"class": "TKwImage", "properties": {"Key": 5, "Id": "P", "X": 7, "Vis": true},
        "children": [{"class": "TKwImage", "properties": {"Key": 6, "Id": "X", "Vis": true}},
                     {"class": "TKwImage", "properties": {"Key": 7, "Id": "Second", "Vis": true}}]},
       {"class": "TKwText", "properties": {"Key": 8, "Id": "T", "Vis": true, "Text": "hi", "Scale": 1.5}}
     ]}
  ]
})";

class BridgePaths : public TBridgeTest {
 protected:
  void SetUp() override {
    TBridgeTest::SetUp();
    Load(kGame);
    root->Init();
  }
};

TEST_F(BridgePaths, InitVariablesAreReachedByEveryPathForm) {
  ASSERT_EQ(Var(At("Screen1.Button1").Vars, "COUNT").i, 3);
  struct Case {
    const char* element;
    const char* script;
    bool fails;
  } cases[] = {
      {"Screen1.Sib", "A := .BUTTON1.COUNT;", false},
      {"Screen1", "A := BUTTON1.COUNT;", false},
      {"Screen1.Sib", "A := KWDB.SCREEN1.BUTTON1.COUNT;", false},
      {"Screen1.P.X", "A := ...SCREEN1.BUTTON1.COUNT;", false},
      {"Screen1.Sib", "A := BUTTON1.COUNT;", true},  // BUTTON1 is no child of the sibling
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.element) + ": " + c.script);
    int error = 0;
    TVarList left = Run(At(c.element), c.script, &error);
    if (c.fails) {
      EXPECT_NE(error, 0);
      EXPECT_EQ(left.IndexOf("A"), -1);
    } else {
      EXPECT_EQ(error, 0);
      EXPECT_EQ(Var(left, "A").kind, TValueKind::Integer);
      EXPECT_EQ(Var(left, "A").i, 3);
    }
  }
}

TEST_F(BridgePaths, WritingAnotherElementsVariableNeverCreatesOne) {
  TKwElement& button = At("Screen1.Button1");
  TVarList left = Run(At("Screen1.Sib"), ".BUTTON1.COUNT := 4; .BUTTON1.OTHER := 1;");
  EXPECT_EQ(Var(button.Vars, "COUNT").i, 4);
  EXPECT_EQ(button.Vars.IndexOf("OTHER"), -1);
  // The failed path became a variable of the writing script.
  EXPECT_EQ(Var(left, ".BUTTON1.OTHER").i, 1);
  EXPECT_EQ(left.IndexOf("COUNT"), -1);
}

TEST_F(BridgePaths, PropertiesComeBeforeChildrenAndComputedNames) {
  TVarList left = Run(At("Screen1.P"), "A := X; B := CHILDCOUNT; C := SECOND; D := CHILD2; E := CHILD[1];"
                                       "F := CHILD[3]; G := PARPOS; H := SELF.CLASS; I := x;");
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Integer);  // the property X, not the child X
  EXPECT_EQ(Var(left, "A").i, 7);
  EXPECT_EQ(Var(left, "B").i, 2);
  EXPECT_EQ(Var(left, "C").Handle(), At("Screen1.P.Second").Handle());
  EXPECT_EQ(Var(left, "D").Handle(), At("Screen1.P.Second").Handle());
  EXPECT_EQ(Var(left, "E").Handle(), At("Screen1.P.X").Handle());
  EXPECT_EQ(Var(left, "F").kind, TValueKind::Element);
  EXPECT_EQ(Var(left, "F").i, 0);
  EXPECT_EQ(Var(left, "G").i, 3);
  EXPECT_EQ(Var(left, "H").s, "TKWIMAGE");
  EXPECT_EQ(Var(left, "I").i, 7);  // script text is upper-cased: x is X
}

TEST_F(BridgePaths, ChildlessElementAndTheRoot) {
  TVarList left = Run(At("Screen1.Sib"), "A := CHILD[1]; B := CHILDCOUNT; C := CHILD1; D := CHILD[Q];");
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Element);
  EXPECT_EQ(Var(left, "A").i, 0);
  EXPECT_EQ(Var(left, "B").i, 0);
  EXPECT_EQ(Var(left, "C").i, 0);

  log.clear();
  TVarList onRoot = Run(*root, "A := PARENT; B := PARPOS; C := KWDB; D := SELF.CLASS;");
  EXPECT_EQ(Var(onRoot, "A").kind, TValueKind::Byte);  // not handled on the root
  EXPECT_EQ(Var(onRoot, "A").i, 0);
  EXPECT_EQ(Var(onRoot, "B").kind, TValueKind::Byte);
  EXPECT_EQ(Var(onRoot, "C").Handle(), root->Handle());
  EXPECT_EQ(Var(onRoot, "D").s, "TKWDB");
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0], "Not var PARENT (in Game <TKwDB> Update");
}

TEST_F(BridgePaths, CursorTakesOnlyElementReferences) {
  TKwElement& sib = At("Screen1.Sib");
  TVarList left = Run(sib, "A := CURSOR; CURSOR := SELF; B := CURSOR;");
  EXPECT_EQ(Var(left, "A").kind, TValueKind::Byte);  // no cursor element: not handled
  EXPECT_EQ(Var(left, "B").Handle(), sib.Handle());
  EXPECT_EQ(Shell().CursorElement, &sib);

  left = Run(sib, "CURSOR := 5;");
  EXPECT_EQ(Shell().CursorElement, &sib);
  EXPECT_EQ(Var(left, "CURSOR").i, 5);  // a variable of the script instead

  left = Run(sib, "CURSOR := NIL;");
  EXPECT_EQ(Shell().CursorElement, nullptr);
  EXPECT_EQ(left.IndexOf("CURSOR"), -1);
}

TEST_F(BridgePaths, BooleansKeepTheByteTheyWereGiven) {
  TKwElement& sib = At("Screen1.Sib");
  TVarList left = Run(sib, "VIS := TRUE; A := VIS; IF VIS THEN C := 1; VIS := 1; B := VIS; IF VIS THEN D := 1;"
                           "VIS := FALSE; E := NOWVIS;");
  EXPECT_EQ(Var(left, "A").i, 255);
  EXPECT_EQ(Var(left, "B").i, 1);
  EXPECT_EQ(Var(left, "C").i, 1);
  EXPECT_EQ(Var(left, "D").i, 1);
  EXPECT_EQ(Var(left, "E").kind, TValueKind::Boolean);
  EXPECT_EQ(Var(left, "E").i, 0);
  EXPECT_EQ(sib.Vis, 0);
}

TEST_F(BridgePaths, ComputedPositionsMouseAndWrites) {
  TKwElement& button = At("Screen1.Button1");
  Shell().CursorAt = &button;
  Shell().MsX = 11;
  Shell().MouseIsDown = true;
  TVarList left = Run(button, "A := ABSX; B := MOUSEIN; C := MOUSEINDOWN; D := MSX; E := CURSORATNIL;"
                              "F := CURSORAT; ABSX := 100; G := X; H := NOWVIS;");
  EXPECT_EQ(Var(left, "A").i, 10);
  EXPECT_EQ(Var(left, "B").i, 1);
  EXPECT_EQ(Var(left, "C").i, 1);
  EXPECT_EQ(Var(left, "D").i, 11);
  EXPECT_EQ(Var(left, "E").kind, TValueKind::Byte);
  EXPECT_EQ(Var(left, "E").i, 0);
  EXPECT_EQ(Var(left, "F").Handle(), button.Handle());
  EXPECT_EQ(Var(left, "G").i, 100);  // the screen is at 0
  EXPECT_EQ(Var(left, "H").i, 1);
  EXPECT_EQ(left.IndexOf("ABSX"), -1);
}

TEST_F(BridgePaths, LoadingProgressComesFromThePictureResources) {
  KwImages().ImForLoadCount = 12;
  KwImages().ImForLoadPos = 5;
  TVarList left = Run(At("Screen1.Button1"), "A := IMFORLOADCOUNT; B := IMFORLOADPOS;");
  EXPECT_EQ(Var(left, "A").i, 12);
  EXPECT_EQ(Var(left, "B").i, 5);
}

TEST_F(BridgePaths, PropertyWritesConvertOrStopTheScript) {
  auto& text = static_cast<TKwText&>(At("Screen1.T"));
  struct Case {
    const char* script;
    bool stops;
  } cases[] = {
      {"SCALE := 'abc'; A := 1;", true},     // no number for a real
      {"X := 99999999999.0; A := 1;", true},          // beyond the integer range
      {"SCALE := '2.5'; A := 1;", false},
      {"X := '12'; A := 1;", false},
      {"Y := 'twelve'; A := 1;", false},     // text that is no integer stores 0
      {"TEXT := 42; A := 1;", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    log.clear();
    int error = 0;
    TVarList left = Run(text, c.script, &error);
    EXPECT_EQ(left.IndexOf("A") < 0, c.stops);
    EXPECT_EQ(error != 0, c.stops);
    if (c.stops) {
      ASSERT_FALSE(log.empty());
      EXPECT_NE(log[0].find("Invalid value for property "), std::string::npos) << log[0];
    }
  }
  EXPECT_DOUBLE_EQ(text.Scale, 2.5);
  EXPECT_EQ(text.X(), 12);
  EXPECT_EQ(text.Y(), 0);
  EXPECT_EQ(text.Text, "42");
}

TEST_F(BridgePaths, EventScriptPropertiesArePreparedWhenWritten) {
  TKwElement& sib = At("Screen1.Sib");
  TVarList left = Run(sib, "EXUPDATE := 'KWDB.TAG := KWDB.ID;'; A := EXUPDATE;");
  EXPECT_EQ(Var(left, "A").s, "KWDB.TAG := KWDB.ID;");
  sib.Update();
  EXPECT_EQ(root->Tag, "Game");
}

TEST_F(BridgePaths, TheRootsMouseScriptsSeeTheElementAsSelf) {
  TKwElement& button = At("Screen1.Button1");
  button.MouseIn();
  EXPECT_EQ(Var(root->Vars, "WHO").Handle(), button.Handle());
  EXPECT_EQ(Var(root->Vars, "SEEN").Handle(), 0u);  // raised from outside any script
  EXPECT_EQ(ScriptContext().CurrentElement, nullptr);
  EXPECT_EQ(ScriptContext().PreviousElement, nullptr);
}

TEST_F(BridgePaths, LanguageKeysAreLookedUpOnWrite) {
  TTempFolder folder;
  {
    std::ofstream("" + (folder / "eng.lng").string()) << "[Default]\nHello=Bonjour\n[Menu]\nPlay=Jouer\n";
  }
  root->LanguageTexts = std::make_unique<TMemIniFile>(folder / "eng.lng");
  auto& text = static_cast<TKwText&>(At("Screen1.T"));
  Run(text, "Q := CHAR(34); TEXT := Q + 'Hello' + Q; TAG := Q + ' Menu . Play' + Q; KWDB.TAG := Q + 'Missing' + Q;");
  EXPECT_EQ(text.Text, "Bonjour");
  EXPECT_EQ(text.Tag, "Jouer");
  EXPECT_EQ(root->Tag, "\"Missing\"");
}

TEST_F(BridgePaths, TheRootsOwnNames) {
  TVarList left = Run(*root, "A := VOLMUZ; VOLMUZ := 70; B := VOLMUZ; VOLSND := '30'; FULLSCREEN := TRUE;"
                             "C := FULLSCREEN; D := UNICODE; CHEAT := 'x'; E := CHEAT;");
  EXPECT_EQ(Var(left, "A").i, 50);
  EXPECT_EQ(Var(left, "B").i, 70);
  EXPECT_EQ(root->SoundVolume, 30);
  EXPECT_EQ(Var(left, "C").i, 1);
  EXPECT_TRUE(Shell().FullScreen);
  EXPECT_EQ(Var(left, "D").kind, TValueKind::Boolean);
  EXPECT_EQ(Var(left, "E").s, "x");  // CHEAT cannot be set: the script made a variable
  EXPECT_EQ(root->CheatValue, "");
}

}  // namespace
}  // namespace kw::test
