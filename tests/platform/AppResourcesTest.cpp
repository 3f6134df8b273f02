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

TEST(AppResources, PicturesResolveWithOrWithoutExtensionAndBySharpness) {
  test::TempDir dir;
  test::writeFile(dir / "star.png", "1x");
  test::writeFile(dir / "star@2x.png", "2x");
  test::writeFile(dir / "plain.png", "1x");
  std::filesystem::create_directories(dir / "Browser.bundle" / "images");
  test::writeFile(dir / "Browser.bundle" / "images" / "next@2x.png", "2x");
  AppResources::setDirectory(dir.path());
  EXPECT_EQ(AppResources::pathForImage("star"), dir / "star.png");
  EXPECT_EQ(AppResources::pathForImage("star.png"), dir / "star.png");
  EXPECT_EQ(AppResources::pathForImage("star", 2), dir / "star@2x.png");
  EXPECT_EQ(AppResources::pathForImage("star.png", 3), dir / "star@2x.png");
  // A screen finer than every file takes the plain one; a coarser one never takes the 2x file.
  EXPECT_EQ(AppResources::pathForImage("plain", 2), dir / "plain.png");
  EXPECT_FALSE(AppResources::pathForImage("Browser.bundle/images/next", 1));
  EXPECT_EQ(AppResources::pathForImage("Browser.bundle/images/next", 2),
            dir / "Browser.bundle" / "images" / "next@2x.png");
  EXPECT_FALSE(AppResources::pathForImage("missing", 2));
  AppResources::setDirectory({});
}

TEST(AppResources, PictureNamesNeverLeaveTheDirectory) {
  test::TempDir dir;
  test::writeFile(dir / "outside.png", "x");
  std::filesystem::create_directories(dir / "res" / "sub");
  test::writeFile(dir / "res" / "sub" / "in.png", "x");
  AppResources::setDirectory(dir / "res");
  EXPECT_TRUE(AppResources::pathForImage("sub/in"));
  for (const char* name : {"../outside", "sub/../../outside", "/outside", "sub//in", "./sub/in",
                           "sub/", "", ".png", "sub\\in"}) {
    EXPECT_FALSE(AppResources::pathForImage(name, 2)) << name;
  }
  AppResources::setDirectory({});
}

}  // namespace
}  // namespace lk
