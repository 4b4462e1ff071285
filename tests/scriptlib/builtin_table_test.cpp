#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/codepage.h"
#include "script/interpreter_pool.h"
#include "script_harness.h"
#include "scriptlib/builtin_table.h"

namespace kw {
namespace {

TVarList ArgsNamed(std::initializer_list<const char*> names) {
  TVarList args;
  for (const char* n : names) args.Append(TVar{n, TValue::Integer(0)});
  return args;
}

TEST(ArgumentRule, CountsAndVariablesAreCheckedInOnePlace) {
  EXPECT_TRUE(CheckArguments(Args(0), ArgsNamed({})));
  EXPECT_FALSE(CheckArguments(Args(0), ArgsNamed({"VALUE"})));
  EXPECT_TRUE(CheckArguments(Args(2), ArgsNamed({"VALUE", "VAR"})));
  EXPECT_FALSE(CheckArguments(Args(2), ArgsNamed({"VALUE"})));
  EXPECT_FALSE(CheckArguments(Args(2), ArgsNamed({"VALUE", "VALUE", "VALUE"})));
  EXPECT_TRUE(CheckArguments(ArgsBetween(1, 2), ArgsNamed({"VALUE"})));
  EXPECT_TRUE(CheckArguments(ArgsBetween(1, 2), ArgsNamed({"VALUE", "VALUE"})));
  EXPECT_FALSE(CheckArguments(ArgsBetween(1, 2), ArgsNamed({})));
  EXPECT_TRUE(CheckArguments(ArgsAtLeast(2), ArgsNamed({"VALUE", "VALUE", "VALUE", "VALUE"})));
  EXPECT_FALSE(CheckArguments(ArgsAtLeast(2), ArgsNamed({"VALUE"})));
  EXPECT_TRUE(CheckArguments(Args(3, VarArg(1) | VarArg(2)), ArgsNamed({"VALUE", "VAR", "VAR"})));
  EXPECT_FALSE(CheckArguments(Args(3, VarArg(1) | VarArg(2)), ArgsNamed({"VAR", "VAR", "VALUE"})));
  EXPECT_FALSE(CheckArguments(Args(3, VarArg(1) | VarArg(2)), ArgsNamed({"VALUE", "value", "VAR"})));
}

TEST(RegistrationOrder, ListsEveryFunctionOnceInTheGamesOrder) {
  auto order = RegistrationOrder();
  std::set<std::string> seen;
  for (std::string_view n : order) EXPECT_TRUE(seen.insert(AsciiUpperCase(n)).second) << n;
  ASSERT_EQ(order.size(), 101u);
  EXPECT_EQ(order.front(), "Val");
  EXPECT_EQ(order[62], "Div");
  EXPECT_EQ(order[63], "ListAdd");
  EXPECT_EQ(order[79], "Random");
  EXPECT_EQ(order.back(), "ImStarsR");
}

TEST(RegistrationOrder, TheGeneralLibraryHasTheGeneralFunctionsOnly) {
  TBuiltinLibrary lib = GeneralLibrary();
  EXPECT_EQ(lib.Count(), 64);
  std::vector<const TBuiltin*> rows = lib.Ordered();
  ASSERT_EQ(rows.size(), 64u);
  // Every row is in the list, in the list's order.
  auto order = RegistrationOrder();
  size_t at = 0;
  for (const TBuiltin* r : rows) {
    while (at < order.size() && !AsciiEqualNoCase(order[at], r->Name)) ++at;
    ASSERT_LT(at, order.size()) << r->Name << " out of order";
  }
  EXPECT_STREQ(rows.back()->Name, "Random");  // Random comes after the engine slots
  EXPECT_EQ(lib.Find("SetScreen"), nullptr);
}

bool Answer7(TBuiltinCall& c) {
  c.Return(TValue::Integer(7));
  return true;
}

bool FirstArgument(TBuiltinCall& c) {
  c.Return(c.Arg(0));
  return true;
}

TEST(BuiltinLibrary, LaterRowsTakeTheirPlacesOrReplace) {
  TBuiltinLibrary lib;
  lib.Add(TBuiltin{"Helper", Args(0), Answer7});  // not in the list: registered last
  lib.Add(TBuiltin{"Random", Args(0), Answer7});
  lib.Add(TBuiltin{"SetScreen", Args(1), FirstArgument});
  lib.Add(TBuiltin{"Val", Args(0), Answer7});
  std::vector<const TBuiltin*> rows = lib.Ordered();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_STREQ(rows[0]->Name, "Val");
  EXPECT_STREQ(rows[1]->Name, "SetScreen");
  EXPECT_STREQ(rows[2]->Name, "Random");
  EXPECT_STREQ(rows[3]->Name, "Helper");
  lib.Add(TBuiltin{"HELPER", Args(1), FirstArgument});
  EXPECT_EQ(lib.Count(), 4);
  EXPECT_EQ(lib.Find("helper")->Handler, &FirstArgument);
}

TEST(BuiltinLibrary, RegisteredRowsAreCalledThroughTheValidator) {
  TPasCalc calc;
  TBuiltinLibrary lib;
  lib.Add(TBuiltin{"SetScreen", Args(1), FirstArgument});
  lib.RegisterInto(calc);
  ASSERT_EQ(calc.Funcs.Count(), 1);
  EXPECT_EQ(calc.Funcs[0].Name, "SETSCREEN");
  std::string tokens;
  calc.Prepare("A := SetScreen(5); B := setscreen()", tokens);
  EXPECT_FALSE(calc.Run(tokens));
  EXPECT_EQ(calc.ErrorMessage(), "Invalid parameters, function SETSCREEN");
  TVar a;
  ASSERT_TRUE(calc.Vars.Find("A", a));
  EXPECT_EQ(a.Value.ToString(), "5");
}

TEST(BuiltinLibrary, EveryInterpreterOfThePoolGetsTheSameFunctions) {
  TInterpreterPool pool;
  RegisterAllFunctions(pool);
  for (int i = 0; i < TInterpreterPool::kSize; ++i) {
    TPasCalc& calc = pool.Entry(i);
    ASSERT_EQ(calc.Funcs.Count(), 64) << i;
    EXPECT_EQ(calc.Funcs[0].Name, "VAL");
    EXPECT_EQ(calc.Funcs[17].Name, "FORMAT");
    EXPECT_EQ(calc.Funcs[63].Name, "RANDOM");
  }
}

TEST(BuiltinLibrary, CallsInAnyLetterCase) {
  TScriptHarness h;
  EXPECT_EQ(h.Eval("copy('abc', 2, 1) + COPY('abc', 3, 1) + CoPy('abc', 1, 1)"), "string:bca");
}

}  // namespace
}  // namespace kw
