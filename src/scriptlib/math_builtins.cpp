// Arithmetic built-ins: Abs, Int, Frac, Round, Ceil, Floor, Trunc, the
// trigonometric functions, Exp, Ln, IntPower, Sqr, Sqrt, Sign, Mod, Div,
// Min, Max and Random. A domain error (ArcSin(2), Ln(0)) or a result that
// overflows fails the call, as the game maker's run-time raised a floating
// point error there.
#include <cmath>

#include "scriptlib/general_library.h"
#include "scriptlib/script_clock.h"

namespace kw {

namespace {

// A float result, which must be a number when the arguments were.
void ReturnFloat(TBuiltinCall& c, double v) {
  if (std::isnan(v)) FailCall("Invalid floating point operation");
  if (std::isinf(v)) FailCall("Floating point overflow");
  c.Return(TValue::Float(v));
}

int32_t ToInt32Checked(double v) {
  if (!(v >= -2147483648.0 && v <= 2147483647.0)) FailCall("Cannot convert " + FormatFloat(v) + " to an integer");
  return int32_t(v);
}

bool Abs(TBuiltinCall& c) {
  ReturnFloat(c, std::fabs(c.Float(0)));
  return true;
}

bool Int(TBuiltinCall& c) {
  const TValue& a = c.Arg(0);
  if (a.IsIntegerLike()) {
    c.Return(TValue::BigInt(c.Integer64(0)));
    return true;
  }
  double t = std::trunc(c.Float(0));
  if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0))
    FailCall("Cannot convert " + FormatFloat(t) + " to an integer");
  c.Return(TValue::BigInt(int64_t(t)));
  return true;
}

bool Frac(TBuiltinCall& c) {
  double v = c.Float(0);
  ReturnFloat(c, v - std::trunc(v));
  return true;
}

bool Round(TBuiltinCall& c) {
  c.Return(TValue::Integer(c.Integer(0)));
  return true;
}

bool Trunc(TBuiltinCall& c) {
  c.Return(TValue::Integer(c.Truncated(0)));
  return true;
}

bool Ceil(TBuiltinCall& c) {
  c.Return(TValue::Integer(ToInt32Checked(std::ceil(c.Float(0)))));
  return true;
}

bool Floor(TBuiltinCall& c) {
  c.Return(TValue::Integer(ToInt32Checked(std::floor(c.Float(0)))));
  return true;
}

bool Sin(TBuiltinCall& c) {
  ReturnFloat(c, std::sin(c.Float(0)));
  return true;
}

bool Cos(TBuiltinCall& c) {
  ReturnFloat(c, std::cos(c.Float(0)));
  return true;
}

bool Tan(TBuiltinCall& c) {
  ReturnFloat(c, std::tan(c.Float(0)));
  return true;
}

bool ArcSin(TBuiltinCall& c) {
  double x = c.Float(0);
  if (x < -1 || x > 1) FailCall("Invalid floating point operation");
  ReturnFloat(c, std::asin(x));
  return true;
}

bool ArcCos(TBuiltinCall& c) {
  double x = c.Float(0);
  if (x < -1 || x > 1) FailCall("Invalid floating point operation");
  ReturnFloat(c, std::acos(x));
  return true;
}

bool ArcTan(TBuiltinCall& c) {
  ReturnFloat(c, std::atan(c.Float(0)));
  return true;
}

bool Exp(TBuiltinCall& c) {
  ReturnFloat(c, std::exp(c.Float(0)));
  return true;
}

bool Ln(TBuiltinCall& c) {
  double x = c.Float(0);
  if (!(x > 0)) FailCall("Invalid floating point operation");
  ReturnFloat(c, std::log(x));
  return true;
}

bool IntPower(TBuiltinCall& c) {
  double b = c.Float(0);
  int32_t e = c.Truncated(1);
  if (b == 0 && e < 0) FailCall("Floating point division by zero");
  ReturnFloat(c, std::pow(b, double(e)));
  return true;
}

bool Sqr(TBuiltinCall& c) {
  double x = c.Float(0);
  ReturnFloat(c, x * x);
  return true;
}

bool Sqrt(TBuiltinCall& c) {
  double x = c.Float(0);
  if (x < 0) FailCall("Invalid floating point operation");
  ReturnFloat(c, std::sqrt(x));
  return true;
}

bool Sign(TBuiltinCall& c) {
  int32_t v = c.Integer(0);
  c.Return(TValue::Integer(v > 0 ? 1 : v < 0 ? -1 : 0));
  return true;
}

bool Mod(TBuiltinCall& c) {
  int64_t a = c.Integer(0), b = c.Integer(1);
  if (b == 0) FailCall("Division by zero");
  c.Return(TValue::Integer(int32_t(a % b)));
  return true;
}

bool Div(TBuiltinCall& c) {
  int64_t a = c.Integer(0), b = c.Integer(1);
  if (b == 0) FailCall("Division by zero");
  int64_t q = a / b;  // 64-bit: -2147483648 div -1 does not trap
  if (q > INT32_MAX) FailCall("Integer overflow");
  c.Return(TValue::Integer(int32_t(q)));
  return true;
}

// -1, 0 or 1 as a < b, a = b or a > b, for two values of the same kind:
// strings byte by byte, integers exactly, the others as numbers.
int CompareSameKind(const TValue& a, const TValue& b) {
  if (a.IsString()) {
    int r = a.s.compare(b.s);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
  }
  if (a.IsIntegerLike()) {
    int64_t x, y;
    a.ToInt64(x);
    b.ToInt64(y);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  double x, y;
  a.ToFloat(x);
  b.ToFloat(y);
  return x < y ? -1 : x > y ? 1 : 0;
}

bool Extreme(TBuiltinCall& c, int wanted) {
  const TValue& first = c.Arg(0);
  int best = 0;
  for (int i = 1; i < c.Count(); ++i) {
    if (c.Arg(i).kind != first.kind) return false;
    if (CompareSameKind(c.Arg(i), c.Arg(best)) == wanted) best = i;
  }
  c.Return(c.Arg(best));
  return true;
}

bool Min(TBuiltinCall& c) { return Extreme(c, -1); }
bool Max(TBuiltinCall& c) { return Extreme(c, 1); }

bool Random(TBuiltinCall& c) {
  c.Return(TValue::Integer(RandomBelow(c.Integer(0))));
  return true;
}

const TBuiltin kRows[] = {
    {"Abs", Args(1), Abs},
    {"Int", Args(1), Int},
    {"Frac", Args(1), Frac},
    {"Round", Args(1), Round},
    {"Ceil", Args(1), Ceil},
    {"Floor", Args(1), Floor},
    {"Trunc", Args(1), Trunc},
    {"Sin", Args(1), Sin},
    {"Sign", Args(1), Sign},
    {"Cos", Args(1), Cos},
    {"Tan", Args(1), Tan},
    {"ArcSin", Args(1), ArcSin},
    {"ArcCos", Args(1), ArcCos},
    {"ArcTan", Args(1), ArcTan},
    {"Exp", Args(1), Exp},
    {"Ln", Args(1), Ln},
    {"IntPower", Args(2), IntPower},
    {"Sqr", Args(1), Sqr},
    {"Sqrt", Args(1), Sqrt},
    {"Min", ArgsAtLeast(1), Min},
    {"Max", ArgsAtLeast(1), Max},
    {"Mod", Args(2), Mod},
    {"Div", Args(2), Div},
    {"Random", Args(1), Random},
};

}  // namespace

std::span<const TBuiltin> MathBuiltins() { return kRows; }

}  // namespace kw
