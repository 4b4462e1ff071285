// kwscript: prepares and runs a script text as an event script and prints
// the variables left in the interpreter and the first error.
//
//   kwscript [--exec] [--game GAME.kwf --as PATH] [--log] FILE
//
// FILE "-" reads stdin. Without --exec the text is prepared (Prepare) and
// run (Run) as an event script; with --exec it runs through PrepareAndRun,
// so it can declare and call its own procedures. Output: one line per
// variable, NAME TAB KIND TAB VALUE, then "error" TAB CODE TAB MESSAGE TAB
// EXCERPT when an error was recorded. --log copies error-log lines to
// stderr. Exit status: 0 no error, 1 an error was recorded, 2 usage or file
// errors.
//
// With --game the game file is loaded as the player loads it (from its own
// folder, with every built-in registered), the tree is initialised (the
// root's Init; --no-init skips it), PATH is resolved from the root as a
// script path is (KWDB.SCREEN1.BUTTON1, KWDB.SCREEN1.CHILD2) and the
// script runs as that element's event.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <iostream>
#include <iterator>
#include <string>

#include "media/kw_im.h"
#include "platform/codepage.h"
#include "platform/device.h"
#include "platform/files.h"
#include "scene/kw_db.h"
#include "scene/scripting.h"
#include "scene/shell_state.h"
#include "script/var_list.h"
#include "script/interpreter_pool.h"
#include "script/script_context.h"
#include "script/script_report.h"

namespace {

// Stands in for the game's root while no game is loaded: an element with
// no properties, no children and no variables, the only live handle (1).
class TEmptyRootStandIn : public kw::TScriptElement {
 public:
  bool GetValue(const std::string& name, kw::TValue& value) override {
    if (name == "NIL") { value = kw::TValue::Element(0); return true; }
    if (name == "SELF" || name == "KWDB") { value = kw::TValue::Element(kHandle); return true; }
    if (name == "CLASS") { value = kw::TValue::String("TKWDB"); return true; }
    if (name == "CHILDCOUNT") { value = kw::TValue::Integer(0); return true; }
    return false;
  }
  bool SetValue(const std::string&, const kw::TValue&) override { return false; }
  kw::TScriptElement* ScriptParent() const override { return nullptr; }
  uint32_t ScriptHandle() const override { return kHandle; }
  std::string ScriptId() const override { return "KWDB"; }
  std::string ScriptClassName() const override { return "TKwDB"; }
  static constexpr uint32_t kHandle = 1;
};

int Usage() {
  std::fprintf(stderr, "usage: kwscript [--exec] [--game GAME.kwf --as PATH [--no-init]] [--log] FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool exec = false, log = false, noInit = false;
  std::string game, as, file;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--exec") exec = true;
    else if (a == "--log") log = true;
    else if (a == "--no-init") noInit = true;
    else if (a == "--game" && i + 1 < argc) game = argv[++i];
    else if (a == "--as" && i + 1 < argc) as = argv[++i];
    else if (a == "--help" || a == "-h") return Usage();
    else if (!a.empty() && a[0] == '-' && a != "-") return Usage();
    else if (file.empty()) file = a;
    else return Usage();
  }
  if (file.empty() || game.empty() != as.empty()) return Usage();
  std::string text;
  if (file == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else if (!kw::ReadWholeFile(file, text)) {
    std::fprintf(stderr, "kwscript: cannot read %s\n", file.c_str());
    return 2;
  }

  TEmptyRootStandIn standIn;
  kw::TScriptContext& ctx = kw::ScriptContext();
  if (log) ctx.OnLogLine = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
  kw::TScriptElement* self = &standIn;
  // The game draws into a device of its own, never shown: its fonts archive
  // loads into it, so texts measure as they do in the player.
  kw::TDevice device;
  std::unique_ptr<kw::TKwDB> gameRoot;
  if (!game.empty()) {
    const std::filesystem::path gamePath(game);
    if (!std::filesystem::is_regular_file(gamePath)) {
      std::fprintf(stderr, "kwscript: no game file at %s\n", game.c_str());
      return 2;
    }
    kw::StartScripting(0, nullptr);
    if (gamePath.has_parent_path()) kw::SetCurrentFolder(gamePath.parent_path());
    gameRoot = std::make_unique<kw::TKwDB>();  // connects itself as the scripts' root
    gameRoot->SetGameFileName(gamePath.filename().string());
    gameRoot->Device = &device;
    kw::KwImages().LoadNow = false;
    gameRoot->LoadGame();
    kw::KwImages().LoadNow = true;
    if (!noInit) gameRoot->Init();
    kw::TValue target;
    ctx.StrictPaths = true;
    const bool found = kw::ReadPath(gameRoot.get(), kw::AsciiUpperCase(as), target, kw::TVarList());
    ctx.StrictPaths = false;
    self = found ? ctx.FindElement(target.Handle()) : nullptr;
    if (!self) {
      std::fprintf(stderr, "kwscript: %s names no element of the game\n", as.c_str());
      return 2;
    }
  } else {
    ctx.Root = &standIn;
    ctx.ElementByHandle = [&standIn](uint32_t h) -> kw::TScriptElement* {
      return h == TEmptyRootStandIn::kHandle ? &standIn : nullptr;
    };
  }
  ctx.EventName = "Init";

  kw::TInterpreterPool& pool = kw::InterpreterPool();
  std::string tokens;
  if (!exec) pool.CurrentInterpreter().Prepare(text, tokens);  // prepared as the game file's scripts are

  kw::TEventLevel level(pool);
  kw::TPasCalc& calc = pool.CurrentInterpreter();
  calc.Vars.Clear();
  ctx.PreviousElement = ctx.CurrentElement;
  ctx.CurrentElement = self;
  if (exec) calc.PrepareAndRun(text);
  else calc.Run(tokens);
  ctx.CurrentElement = nullptr;

  std::string out = kw::FormatVariables(calc.Vars) + kw::FormatError(calc);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return calc.ErrorCode() ? 1 : 0;
}
