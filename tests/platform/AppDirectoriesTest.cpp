#include "Platform/Storage/AppDirectories.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

TEST(AppDirectories, OptionWinsOverEnvironmentAndXdg) {
  test::ScopedEnv data("LOKAVO_DATA_DIR", "/env/data");
  test::ScopedEnv xdg("XDG_DATA_HOME", "/xdg/data");
  AppDirectories::setDataDirectory("/option/data");
  EXPECT_EQ(AppDirectories::dataDirectory(), "/option/data");
  AppDirectories::setDataDirectory({});
  EXPECT_EQ(AppDirectories::dataDirectory(), "/env/data");
}

TEST(AppDirectories, XdgDirectoriesThenHomeFallbacks) {
  test::ScopedEnv data("LOKAVO_DATA_DIR", std::nullopt);
  test::ScopedEnv cache("LOKAVO_CACHE_DIR", std::nullopt);
  test::ScopedEnv home("HOME", "/home/u");
  {
    test::ScopedEnv xdgData("XDG_DATA_HOME", "/x/share");
    test::ScopedEnv xdgCache("XDG_CACHE_HOME", "/x/cache");
    EXPECT_EQ(AppDirectories::dataDirectory(), "/x/share/lokavo");
    EXPECT_EQ(AppDirectories::cacheDirectory(), "/x/cache/lokavo");
  }
  {
    test::ScopedEnv xdgData("XDG_DATA_HOME", std::nullopt);
    test::ScopedEnv xdgCache("XDG_CACHE_HOME", "relative/cache");  // invalid, ignored
    EXPECT_EQ(AppDirectories::dataDirectory(), "/home/u/.local/share/lokavo");
    EXPECT_EQ(AppDirectories::cacheDirectory(), "/home/u/.cache/lokavo");
  }
}

TEST(AppDirectories, EnsureDirectoryCreatesAPrivateTree) {
  test::TempDir dir;
  const auto target = dir / "a/b/lokavo";
  EXPECT_TRUE(AppDirectories::ensureDirectory(target));
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(AppDirectories::ensureDirectory(target));  // already there

  test::writeFile(dir / "file", "x");
  std::string error;
  EXPECT_FALSE(AppDirectories::ensureDirectory(dir / "file" / "sub", &error));
  EXPECT_FALSE(error.empty());
}

TEST(AppDirectories, CheckWritableLeavesNothingBehindAndNamesTheProblem) {
  test::TempDir dir;
  EXPECT_TRUE(AppDirectories::checkWritable(dir / "new"));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "new"));

  test::writeFile(dir / "file", "x");
  std::string error;
  EXPECT_FALSE(AppDirectories::checkWritable(dir / "file", &error));
  EXPECT_FALSE(error.empty());
  // Permissions do not bind the superuser, who can write anywhere.
  if (::geteuid() != 0) {
    std::filesystem::create_directory(dir / "ro");
    std::filesystem::permissions(
        dir / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    error.clear();
    EXPECT_FALSE(AppDirectories::checkWritable(dir / "ro", &error));
    EXPECT_FALSE(error.empty());
    std::filesystem::permissions(dir / "ro", std::filesystem::perms::owner_all);
  }
}

}  // namespace
}  // namespace lk
