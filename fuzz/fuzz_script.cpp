// Arbitrary bytes as a script: prepared and run as an event script, then
// run again through PrepareAndRun (procedures callable), with a step
// budget so that endless loops end. Nothing may crash, hang in the lexer
// or the statement reader, or exhaust the stack.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/pascalc.h"
#include "script/script_context.h"

namespace {

// A root with a few values, so paths reach an element.
class TFuzzRoot : public kw::TScriptElement {
 public:
  bool GetValue(const std::string& name, kw::TValue& value) override {
    if (name == "SELF" || name == "KWDB") { value = kw::TValue::Element(1); return true; }
    if (name == "X") { value = kw::TValue::Integer(x_); return true; }
    if (name == "NAME") { value = kw::TValue::String("root"); return true; }
    return false;
  }
  bool SetValue(const std::string& name, const kw::TValue& value) override {
    if (name != "X") return false;
    int32_t v;
    if (value.ToInteger(v)) x_ = v;
    return true;
  }
  kw::TScriptElement* ScriptParent() const override { return nullptr; }
  uint32_t ScriptHandle() const override { return 1; }
  std::string ScriptId() const override { return "KWDB"; }
  std::string ScriptClassName() const override { return "TKwDB"; }

 private:
  int32_t x_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzRoot root;
  kw::TScriptContext& ctx = kw::ScriptContext();
  ctx.Root = &root;
  ctx.ElementByHandle = [](uint32_t h) -> kw::TScriptElement* { return h == 1 ? &root : nullptr; };
  ctx.EventName = "Init";
  std::string text(reinterpret_cast<const char*>(data), size);

  kw::TPasCalc calc;
  calc.RegisterFunction("ECHO", [](kw::TPasCalc&, kw::TVarList& args, kw::TVar& r) {
    if (args.Count() > 0) r.Value = args[0].Value;
    return args.Count() <= 3;
  });
  calc.RegisterFunction("EXEC", [](kw::TPasCalc& c, kw::TVarList& args, kw::TVar& r) {
    if (args.Count() != 1) return false;
    kw::ScriptContext().StrictPaths = true;
    c.PrepareAndRun(args[0].Value.ToString());
    kw::ScriptContext().StrictPaths = false;
    r.Value = kw::TValue::Byte(0);
    return true;
  });
  calc.SetStepBudgetForTesting(20000);
  std::string tokens;
  calc.Prepare(text, tokens);
  ctx.CurrentElement = &root;
  calc.Run(tokens);
  calc.SetStepBudgetForTesting(20000);
  calc.Vars.Clear();
  calc.PrepareAndRun(text);
  ctx.CurrentElement = nullptr;
  ctx.StrictPaths = false;
  return 0;
}
