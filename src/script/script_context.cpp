#include "script/script_context.h"

#include <cstdio>

#include "platform/log.h"

namespace kw {

TScriptContext& ScriptContext() {
  static TScriptContext context;
  return context;
}

void WriteErrorLogLine(const std::string& line) {
  TScriptContext& ctx = ScriptContext();
  KwLog("script: %s", line.c_str());
  if (ctx.OnLogLine) ctx.OnLogLine(line);
  if (!ctx.SaveErr || !ctx.SaveErr()) return;
  // Appending creates the file when it does not exist yet.
  std::FILE* f = std::fopen("nimbrel.err", "ab");
  if (!f) return;
  std::fwrite(line.data(), 1, line.size(), f);
  std::fwrite("\r\n", 1, 2, f);
  std::fclose(f);
}

std::string DescribeElement(const TScriptElement* element) {
  if (!element) return {};
  return element->ScriptId() + " <" + element->ScriptClassName() + ">";
}

}  // namespace kw
