// Posting a broadcast with a photo against a misbehaving service: answers dropped, cut short,
// damaged, not JSON and error statuses on the post. A failure is never shown as a success; what
// the user typed and attached stays for another try, which then goes.
#include <gtest/gtest.h>

#include <string>

#include "Platform/Image/Image.h"
#include "Platform/Image/ImageCodec.h"
#include "tests/robustness/ClientSession.h"

namespace lk::test {
namespace {

bool has(const std::string& screen, const std::string& text) {
  return screen.find(text) != std::string::npos;
}

class FaultyPosting : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors(); }
  [[nodiscard]] std::string fault() const { return GetParam(); }
  [[nodiscard]] bool dropped() const { return fault() == "drop"; }
  void failing(const std::string& prefix) { client.setFaults(prefix + " " + fault()); }

  TempDir scratch;
  ClientSession client;
};

TEST_P(FaultyPosting, APostThatFailsKeepsTextAndPhotoAndGoesWhenTriedAgain) {
  const auto photo = scratch / "photo.jpg";
  Image picture(640, 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x)
      picture.setPixel(x, y, y < 240 ? 0x3366CCFFu : 0xEECC22FFu);
  }
  writeFile(photo, ImageCodec::encodeJpeg(picture, 0.9));
  ASSERT_TRUE(client.login("lokavo", "lokavo123"));
  client.keepStoredState();
  client.run("tab 搜索");
  client.run("shop 1000001");
  ASSERT_TRUE(has(client.run("tap shopinfo_tab_broadcast"), "navbar: 现场播报"));
  client.run("type \"热干面 很香\"");
  client.run("tap broadcast_camera");
  client.run("alert 从相册上传");
  ASSERT_TRUE(has(client.run("photo " + photo.string()), "thumbnail"));

  failing("/client/submit/1000001/addMiniCmt");
  const std::string failed = client.run("tap 发布");
  EXPECT_TRUE(has(failed, "briefly shown: 发布失败")) << failed;
  EXPECT_FALSE(has(failed, "发布成功")) << failed;
  // A refusal or an unusable answer offers a retry; a lost connection only says it failed.
  EXPECT_EQ(has(failed, "message: 播报发布失败"), !dropped()) << failed;
  EXPECT_TRUE(has(failed, "热干面 很香")) << "the text stays";
  EXPECT_TRUE(has(failed, "thumbnail")) << "the photo stays";
  EXPECT_EQ(ClientSession::alert(), "");

  client.setFaults("");
  const std::string sent = client.run(dropped() ? "tap 发布" : "alert 重试");
  EXPECT_TRUE(has(sent, "briefly shown: 发布成功")) << sent;
  EXPECT_TRUE(has(client.run("dump"), "navbar: 商户详情")) << "the editor closed after the success";
  EXPECT_TRUE(has(client.run("tap 现场播报"), "热干面 很香"));
  EXPECT_EQ(client.storedStateDifference(), "");
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyPosting,
                         ::testing::Values("drop", "truncate", "corrupt", "notjson", "status=500",
                                           "status=404"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                           std::string name = param.param;
                           for (char& c : name) {
                             if (c == '=') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace lk::test
