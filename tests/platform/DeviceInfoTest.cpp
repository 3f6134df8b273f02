#include "Platform/Device/DeviceInfo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "Platform/Storage/AppDirectories.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

class DeviceInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeviceInfo::resetForTesting();
    AppDirectories::setDataDirectory(dir_ / "data");
  }
  void TearDown() override {
    DeviceInfo::resetForTesting();
    AppDirectories::setDataDirectory({});
  }
  test::TempDir dir_;
};

TEST_F(DeviceInfoTest, IdentifierIsGeneratedOnceAndKeptAcrossRestarts) {
  const std::string id = DeviceInfo::uniqueIdentifier();
  EXPECT_EQ(id.size(), 40u);
  EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(DeviceInfo::uniqueIdentifier(), id);

  const auto file = dir_ / "data" / DeviceInfo::kIdentifierFileName;
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  DeviceInfo::resetForTesting();  // a new process
  EXPECT_EQ(DeviceInfo::uniqueIdentifier(), id);
}

TEST_F(DeviceInfoTest, DamagedIdentifierFileIsReplacedByANewIdentifier) {
  ASSERT_TRUE(AppDirectories::ensureDirectory(dir_ / "data"));
  test::writeFile(dir_ / "data" / DeviceInfo::kIdentifierFileName, "not-an-id\n");
  const std::string id = DeviceInfo::uniqueIdentifier();
  EXPECT_EQ(id.size(), 40u);
  DeviceInfo::resetForTesting();
  EXPECT_EQ(DeviceInfo::uniqueIdentifier(), id);
}

TEST_F(DeviceInfoTest, DistinctInstallationsGetDistinctIdentifiers) {
  const std::string first = DeviceInfo::uniqueIdentifier();
  DeviceInfo::resetForTesting();
  AppDirectories::setDataDirectory(dir_ / "other");
  EXPECT_NE(DeviceInfo::uniqueIdentifier(), first);
}

TEST_F(DeviceInfoTest, SettingsOverrideTheDevice) {
  EXPECT_EQ(DeviceInfo::model(), "iPhone");
  DeviceInfo::setModel("iPod touch");
  EXPECT_EQ(DeviceInfo::model(), "iPod touch");
  DeviceInfo::setUniqueIdentifier("fixed-id");
  EXPECT_EQ(DeviceInfo::uniqueIdentifier(), "fixed-id");
  DeviceInfo::setSystemVersion("3.1.3");
  EXPECT_EQ(DeviceInfo::systemVersion(), "3.1.3");
}

TEST_F(DeviceInfoTest, SystemVersionIsNumericAndEnvironmentReplacesIt) {
  const std::string version = DeviceInfo::systemVersion();
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos);
  test::ScopedEnv env("LOKAVO_OS_VERSION", "4.2.1");
  EXPECT_EQ(DeviceInfo::systemVersion(), "4.2.1");
}

}  // namespace
}  // namespace lk
