// The kwplay command line.
#include <gtest/gtest.h>

#include "shell/command_line.h"

namespace kw {
namespace {

TOptions Parse(std::vector<std::string> args) {
  TOptions options;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, options, error)) << error;
  return options;
}

std::string Fails(std::vector<std::string> args) {
  TOptions options;
  std::string error;
  EXPECT_FALSE(ParseCommandLine(args, options, error));
  EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
  return error;
}

TEST(CommandLine, TestModeCountsOnlyAsTheFirstArgument) {
  EXPECT_TRUE(Parse({"/TESTMODE"}).TestMode);
  EXPECT_TRUE(Parse({"/testmode", "game"}).TestMode);
  EXPECT_TRUE(Parse({"/TestMode"}).TestMode);
  const TOptions second = Parse({"game", "/TESTMODE"});
  EXPECT_FALSE(second.TestMode);
  EXPECT_EQ(second.Game, "game");
}

TEST(CommandLine, OptionsAndTheGame) {
  const TOptions o = Parse({"/TESTMODE", "--headless", "--frames", "30", "--screenshot=out.png", "games/demo",
                            "--seed", "42", "--verbose", "--tell"});
  EXPECT_TRUE(o.TestMode && o.Headless && o.Verbose && o.Tell);
  EXPECT_EQ(o.Frames, 30);
  EXPECT_EQ(o.Screenshot, "out.png");
  EXPECT_EQ(o.Game, "games/demo");
  ASSERT_TRUE(o.Seed.has_value());
  EXPECT_EQ(*o.Seed, 42u);
  EXPECT_TRUE(Parse({"--version"}).Version);
  EXPECT_TRUE(Parse({"--help"}).Help);
  EXPECT_EQ(Parse({}).Frames, -1);
}

TEST(CommandLine, BadArgumentsAreOneLineErrors) {
  EXPECT_NE(Fails({"--bogus"}).find("--bogus"), std::string::npos);
  EXPECT_NE(Fails({"--frames"}).find("--frames"), std::string::npos);
  EXPECT_NE(Fails({"--frames", "ten"}).find("ten"), std::string::npos);
  EXPECT_NE(Fails({"--frames", "-3"}).find("-3"), std::string::npos);
  EXPECT_NE(Fails({"--seed", "x1"}).find("x1"), std::string::npos);
  EXPECT_NE(Fails({"--headless=yes"}).find("--headless"), std::string::npos);
  EXPECT_NE(Fails({"a.kwf", "b.kwf"}).find("b.kwf"), std::string::npos);
  EXPECT_NE(Fails({"-x"}).find("-x"), std::string::npos);
}

}  // namespace
}  // namespace kw
