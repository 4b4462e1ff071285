#include "platform/user_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace kw {
namespace {

// Sets an environment variable for a scope.
class TEnv {
 public:
  TEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~TEnv() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

TEST(UserFolder, XdgDataHomeNimbrelAndTheGameId) {
  test::TTempFolder dir;
  TEnv data("XDG_DATA_HOME", dir.Path().c_str());
  auto folder = UserDataFolder("Castle");
  EXPECT_EQ(folder, dir.Path() / "Nimbrel" / "Castle" / "");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  // Windows-1251 ids become UTF-8; ids can never leave "Nimbrel".
  EXPECT_EQ(UserDataFolder("\xC7\xE0\xEC\xEE\xEA"), dir.Path() / "Nimbrel" / "\xD0\x97\xD0\xB0\xD0\xBC\xD0\xBE\xD0\xBA" / "");
  EXPECT_EQ(UserDataFolder("../../etc"), dir.Path() / "Nimbrel" / ".._.._etc" / "");
  EXPECT_EQ(UserDataFolder(".."), dir.Path() / "Nimbrel" / "_" / "");
}

TEST(UserFolder, HomeDefaultsAndTheToolSettings) {
  test::TTempFolder dir;
  TEnv data("XDG_DATA_HOME", nullptr);
  TEnv config("XDG_CONFIG_HOME", "relative/ignored");
  TEnv home("HOME", dir.Path().c_str());
  EXPECT_EQ(UserDataFolder("G"), dir.Path() / ".local/share/Nimbrel/G/");
  EXPECT_EQ(DeVoduzIniPath(), dir.Path() / ".config/DeVoduz.ini");
}

}  // namespace
}  // namespace kw
