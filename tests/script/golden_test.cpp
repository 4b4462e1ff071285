// Golden scripts: every file under tests/script/golden/ is a script, a line
// "==== output" and the expected kwscript output (variables, then the error
// line), and optionally "==== log" and the expected error-log lines. Lines
// starting with "#!" at the top set up the run:
//   #! exec          run with PrepareAndRun (procedures callable)
//   #! saveerr       SaveErr on: the log lines must be in nimbrel.err, CR LF
//   #! as PATH       run as the event of that element of the test tree
//   #! lang KEY=TEXT a language entry
//   #! budget N      step budget
//   #! file NAME ... #! endfile   a file beside the script (for USES/INCLUDE)
// Bytes below 32 (but tab and line feed), 127 and above 127 are written
// \xNN in the expected text.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

#include "platform/files.h"
#include "script/pascalc.h"
#include "script/script_report.h"
#include "test_element.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

std::string Escape(const std::string& s) {
  std::string r;
  char buf[8];
  for (unsigned char c : s) {
    if ((c < 32 && c != '\t' && c != '\n') || c >= 127) {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      r += buf;
    } else {
      r += char(c);
    }
  }
  return r;
}

std::string Unescape(const std::string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && isxdigit(static_cast<unsigned char>(s[i + 2])) &&
        isxdigit(static_cast<unsigned char>(s[i + 3]))) {
      r += char(std::stoi(s.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      r += s[i];
    }
  }
  return r;
}

struct TGolden {
  std::string script, output, log;
  bool hasLog = false, exec = false, saveErr = false;
  std::string as = "KWDB";
  std::map<std::string, std::string> lang, files;
  uint64_t budget = 0;
};

TGolden ReadGolden(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  TGolden g;
  int section = 0;  // 0 script, 1 output, 2 log
  bool header = true;
  std::string fileName, fileText;
  bool inFile = false;
  while (std::getline(in, line)) {
    if (header && line.rfind("#!", 0) == 0) {
      std::istringstream words(line.substr(2));
      std::string w;
      words >> w;
      if (inFile) {
        if (w == "endfile") { g.files[fileName] = Unescape(fileText); inFile = false; }
        continue;
      }
      if (w == "exec") g.exec = true;
      else if (w == "saveerr") g.saveErr = true;
      else if (w == "as") words >> g.as;
      else if (w == "budget") words >> g.budget;
      else if (w == "file") { words >> fileName; fileText.clear(); inFile = true; }
      else if (w == "lang") {
        std::string rest;
        std::getline(words, rest);
        rest.erase(0, rest.find_first_not_of(' '));
        size_t eq = rest.find('=');
        g.lang[rest.substr(0, eq)] = rest.substr(eq + 1);
      }
      continue;
    }
    if (inFile) { fileText += line + "\n"; continue; }
    header = false;
    if (line == "==== output") { section = 1; continue; }
    if (line == "==== log") { section = 2; g.hasLog = true; continue; }
    std::string& target = section == 0 ? g.script : section == 1 ? g.output : g.log;
    target += Unescape(line) + "\n";
  }
  return g;
}

std::vector<fs::path> GoldenFiles() {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(fs::path(KW_SOURCE_DIR) / "tests/script/golden"))
    if (e.path().extension() == ".kws") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

void RegisterTestFunctions(TPasCalc& calc) {
  calc.RegisterFunction("TSet", [](TPasCalc&, TVarList& args, TVar&) {
    if (args.Count() != 2) return false;
    args[0].Value = args[1].Value;
    return true;
  });
  calc.RegisterFunction("TFail", [](TPasCalc&, TVarList&, TVar&) { return false; });
  calc.RegisterFunction("TThrow", [](TPasCalc&, TVarList&, TVar&) -> bool { throw TScriptError("boom"); });
  calc.RegisterFunction("TArgs", [](TPasCalc&, TVarList& args, TVar& result) {
    std::string names;
    for (int i = 0; i < args.Count(); ++i) names += (i ? "," : "") + args[i].Name;
    result.Value = TValue::String(names);
    return true;
  });
  // Exec and GetVar as the library defines them: strict paths while they run.
  calc.RegisterFunction("TExec", [](TPasCalc& c, TVarList& args, TVar& result) {
    if (args.Count() != 1) return false;
    ScriptContext().StrictPaths = true;
    c.PrepareAndRun(args[0].Value.ToString());
    ScriptContext().StrictPaths = false;
    result.Value = TValue::Byte(0);
    return true;
  });
  calc.RegisterFunction("TGetVar", [](TPasCalc& c, TVarList& args, TVar& result) {
    if (args.Count() != 1) return false;
    ScriptContext().StrictPaths = true;
    TVar r;
    bool ok = c.GetVariable(args[0].Value.ToString(), r);
    ScriptContext().StrictPaths = false;
    result.Value = ok ? r.Value : TValue::Element(0);
    return true;
  });
  // What writing an event property does: prepare a text on the running interpreter.
  calc.RegisterFunction("TPrep", [](TPasCalc& c, TVarList& args, TVar&) {
    if (args.Count() != 1) return false;
    std::string ts;
    c.Prepare(args[0].Value.ToString(), ts);
    return true;
  });
}

class GoldenScript : public testing::TestWithParam<fs::path> {};

TEST_P(GoldenScript, MatchesExpectedOutput) {
  TGolden g = ReadGolden(GetParam());
  fs::path dir = fs::temp_directory_path() /
                 ("kw_golden_" + GetParam().stem().string() + "_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (auto& [name, text] : g.files) {
    std::ofstream f(dir / name, std::ios::binary);
    f << text;
  }
  fs::path oldCwd = fs::current_path();
  fs::current_path(dir);

  test::TTestTree tree;
  TScriptContext& ctx = ScriptContext();
  std::vector<std::string> logLines;
  ctx.OnLogLine = [&](const std::string& line) { logLines.push_back(line); };
  ctx.SaveErr = [&] { return g.saveErr; };
  ctx.LookupText = [&](const std::string& key) {
    auto it = g.lang.find(key);
    return it == g.lang.end() ? std::string() : it->second;
  };
  ctx.EventName = "Init";
  ctx.StrictPaths = false;

  TPasCalc preparer, runner;
  RegisterTestFunctions(preparer);
  RegisterTestFunctions(runner);
  runner.SetStepBudgetForTesting(g.budget);
  test::TTestElement* self = tree.Find(g.as);
  ASSERT_NE(self, nullptr) << g.as;
  std::string tokens;
  if (!g.exec) preparer.Prepare(g.script, tokens);
  ctx.CurrentElement = self;
  if (g.exec) runner.PrepareAndRun(g.script);
  else runner.Run(tokens);
  ctx.CurrentElement = nullptr;
  std::string actual = FormatVariables(runner.Vars) + FormatError(runner);

  ctx.OnLogLine = nullptr;
  ctx.SaveErr = nullptr;
  ctx.LookupText = nullptr;
  std::string fileLog;
  ReadWholeFile(dir / "nimbrel.err", fileLog);
  fs::current_path(oldCwd);
  fs::remove_all(dir);

  EXPECT_EQ(Escape(actual), Escape(g.output)) << GetParam();
  if (g.hasLog) {
    std::string expectedLines = g.log;
    std::string got;
    for (auto& l : logLines) got += l + "\n";
    EXPECT_EQ(Escape(got), Escape(expectedLines)) << GetParam();
    if (g.saveErr) {
      std::string crlf;
      for (auto& l : logLines) crlf += l + "\r\n";
      EXPECT_EQ(Escape(fileLog), Escape(crlf)) << "nimbrel.err of " << GetParam();
    } else {
      EXPECT_TRUE(fileLog.empty()) << "nimbrel.err written while SaveErr is off";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenScript, testing::ValuesIn(GoldenFiles()),
                         [](const testing::TestParamInfo<fs::path>& info) {
                           std::string n = info.param.stem().string();
                           for (char& c : n)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
}  // namespace kw
