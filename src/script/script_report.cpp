#include "script/script_report.h"

namespace kw {

std::string FormatVariables(const TVarList& vars) {
  std::string out;
  for (int i = 0; i < vars.Count(); ++i) {
    const TVar& v = vars[i];
    out += v.Name;
    out += '\t';
    out += ValueKindName(v.Value.kind);
    out += '\t';
    out += v.Value.ToString();
    out += '\n';
  }
  return out;
}

std::string FormatError(const TPasCalc& calc) {
  if (calc.ErrorCode() == 0) return {};
  return "error\t" + std::to_string(calc.ErrorCode()) + "\t" + calc.ErrorMessage() + "\t" + calc.ErrorExcerpt() + "\n";
}

}  // namespace kw
