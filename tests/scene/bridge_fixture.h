// A small game built from its JSON form, with the scripting runtime started,
// and helpers to run a script as an event of one of its elements.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "media/kw_im.h"
#include "scene/element.h"
#include "scene/kw_db.h"
#include "scene/scripting.h"
#include "scene/game_record.h"
#include "scene/run_event.h"
#include "scene/shell_state.h"
#include "scene/tree_json.h"
#include "script/interpreter_pool.h"
#include "script/script_context.h"

namespace kw::test {

class TBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetShellState();
    StartScripting(1, nullptr);
    ScriptContext().OnLogLine = [this](const std::string& line) { log.push_back(line); };
  }
  void TearDown() override {
    ScriptContext().OnLogLine = nullptr;
    root.reset();
    StopScripting();
    ResetShellState();
  }

  // Builds the game from its JSON form and reads it as the player does.
  void Load(const std::string& json) {
    TGameRecord record;
    std::string error;
    ASSERT_TRUE(GameRecordFromJson(nlohmann::json::parse(json), ".", record, error)) << error;
    root = std::make_unique<TKwDB>();
    KwImages().LoadNow = false;
    root->LoadFromData(EncodeGameRecord(record));
    KwImages().LoadNow = true;
  }

  TKwElement& At(const std::string& path) {
    TValue v;
    TKwElement* e = root.get();
    size_t start = 0;
    while (e && start < path.size()) {
      size_t dot = path.find('.', start);
      std::string seg = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      e = e->FindChildById(seg);
      start = dot == std::string::npos ? path.size() : dot + 1;
    }
    if (!e) throw std::runtime_error("no element " + path);
    return *e;
  }

  // Runs `text` as an event of `element`; answers the variables it left.
  // `errorCode` receives the interpreter's first error (0 for none).
  TVarList Run(TKwElement& element, const std::string& text, int* errorCode = nullptr) {
    ScriptContext().EventName = "Update";
    const std::string prepared = PrepareEventScript(text);
    TVarList left;
    RunEvent(element, prepared, &left);
    if (errorCode) *errorCode = InterpreterPool().Entry(1).ErrorCode();
    return left;
  }

  static TValue Var(const TVarList& vars, const std::string& name) {
    int i = vars.IndexOf(name);
    return i >= 0 ? vars[i].Value : TValue();
  }

  std::unique_ptr<TKwDB> root;
  std::vector<std::string> log;
};

}  // namespace kw::test
