#include "Platform/Resources/AppResources.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

TEST(AppResources, CompiledInDirectoryHoldsTheHotCityTable) {
  test::ScopedEnv env("LOKAVO_RESOURCE_DIR", std::nullopt);
  const auto text = AppResources::contentsOfResource("hotcity", "json");
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("北京"), std::string::npos);
}

TEST(AppResources, EnvironmentAndSetterChooseTheDirectory) {
  test::TempDir env;
  test::TempDir set;
  test::writeFile(env / "map.html", "env");
  test::writeFile(set / "map.html", "set");
  test::ScopedEnv var("LOKAVO_RESOURCE_DIR", env.path().string());
  EXPECT_EQ(AppResources::contentsOfResource("map", "html"), "env");
  AppResources::setDirectory(set.path());
  EXPECT_EQ(AppResources::contentsOfResource("map", "html"), "set");
  AppResources::setDirectory({});
  EXPECT_EQ(AppResources::contentsOfResource("map", "html"), "env");
}

TEST(AppResources, MissingOrEscapingNamesAreAbsent) {
  test::TempDir dir;
  test::writeFile(dir / "secret", "x");
  std::filesystem::create_directory(dir / "res");
  AppResources::setDirectory(dir / "res");
  EXPECT_FALSE(AppResources::pathForResource("nothing", "json"));
  EXPECT_FALSE(AppResources::pathForResource("../secret", ""));
  EXPECT_FALSE(AppResources::pathForResource("..", ""));
  EXPECT_FALSE(AppResources::contentsOfResource("", ""));
  AppResources::setDirectory({});
}

}  // namespace
}  // namespace lk
