// lokavo-qt --script FILE --screenshots DIR without a display, against the stand-in service:
// the short form of the gallery run, failing on a missing picture or a blank screen.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "frontends/qt/ScriptPlayer.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

namespace fs = std::filesystem;

class ScreenshotScript : public ::testing::Test {
 protected:
  // Runs lokavo-qt on `script` with `environment` before it; returns its exit status.
  int play(const std::string& script, const std::string& environment = {}) {
    {
      std::ofstream file(scratch / "script.lk");
      file << script;
    }
    const std::string command =
        "QT_QPA_PLATFORM=offscreen LOKAVO_SERVICE_URL='" + service.baseURL() + "' " + environment +
        " '" + LOKAVO_QT_PATH + "' --data-dir '" + (scratch / "data").string() + "' --cache-dir '" +
        (scratch / "cache").string() + "' --log '" + (scratch / "lokavo.log").string() +
        "' --position 39.915,116.404 --strict-pictures --script '" +
        (scratch / "script.lk").string() + "' --screenshots '" + shots.string() + "' >'" +
        (scratch / "out.txt").string() + "' 2>'" + (scratch / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::vector<std::string> pictures() const {
    std::vector<std::string> names;
    if (!fs::exists(shots)) return names;
    for (const auto& entry : fs::directory_iterator(shots))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir scratch;
  fs::path shots = scratch / "shots";
  ServiceLauncher service;
};

TEST_F(ScreenshotScript, APictureAfterEachCommandWithEveryPictureFoundAndNoScreenBlank) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const int status =
      play("search 火锅\n# a comment takes no picture\nshop 1000001\nback\ntab 附近\nquit\n");
  EXPECT_EQ(status, 0) << readFile(scratch / "err.txt");
  EXPECT_EQ(pictures(),
            (std::vector<std::string>{"000-start.png", "001-search.png", "002-shop-1000001.png",
                                      "003-back.png", "004-tab.png"}));
  EXPECT_NE(readFile(scratch / "out.txt").find("navbar: 商户详情"), std::string::npos);
}

TEST_F(ScreenshotScript, AMissingPictureFailsTheRun) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const auto empty = scratch / "no-resources";
  fs::create_directories(empty);
  const int status = play("tab 附近\nquit\n", "LOKAVO_RESOURCE_DIR='" + empty.string() + "'");
  EXPECT_EQ(status, 3);
  EXPECT_NE(readFile(scratch / "err.txt").find("missing picture \"tabbar_item_search.png\""),
            std::string::npos)
      << readFile(scratch / "err.txt");
}

TEST(ScriptPlayerNames, PictureNamesKeepTheCommandsLatinWords) {
  EXPECT_EQ(qt::ScriptPlayer::fileName(7, "tap 总分"), "007-tap.png");
  EXPECT_EQ(qt::ScriptPlayer::fileName(12, "shop 1000001"), "012-shop-1000001.png");
  EXPECT_EQ(qt::ScriptPlayer::fileName(3, "city 75 成都"), "003-city-75.png");
  EXPECT_EQ(qt::ScriptPlayer::fileName(0, "火锅"), "000.png");
}

}  // namespace
}  // namespace lk::test
