// The "+", "-" and "=" of script expressions on two values, for Inc, Dec
// and Decode, which must compute exactly as an expression would (language
// keys looked up, strings appended, integers kept integral, date-times
// kept). They follow the interpreter's operator rules one for one; the
// interpreter does not offer its operators to the library yet.
#pragma once

#include "script/script_value.h"

namespace kw {

// False when the operands do not suit the operator.
bool AddValues(TValue l, TValue r, TValue& out);
bool SubtractValues(TValue l, TValue r, TValue& out);
bool EqualValues(TValue l, TValue r, bool& equal);

}  // namespace kw
