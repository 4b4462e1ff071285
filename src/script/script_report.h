// The text form of an interpreter's outcome, as kwscript prints it: one
// line per variable "NAME\tKIND\tVALUE" in table order, then, when an error
// was recorded, "error\tCODE\tMESSAGE\tEXCERPT". Lines end with "\n".
#pragma once

#include <string>

#include "script/pascalc.h"

namespace kw {

std::string FormatVariables(const TVarList& vars);
std::string FormatError(const TPasCalc& calc);  // empty when no error

}  // namespace kw
