// The "现场播报" tab through the front end's commands against the stand-in service program; the
// service's request log shows what went on the wire.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "Classes/Broadcasts/ShopPickerViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/Window.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/StandInCliSession.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

class BroadcastEndToEnd : public StandInCliSession {};

TEST_F(BroadcastEndToEnd, TheCitysBroadcastsPageAndRefresh) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("city 131 北京");
  const std::string shown = run("tab 现场播报");
  EXPECT_NE(shown.find("navbar: 现场播报"), std::string::npos) << shown;
  EXPECT_NE(shown.find("发布播报"), std::string::npos);
  EXPECT_NE(shown.find("@"), std::string::npos) << "the city's rows name their shop";
  ASSERT_EQ(logged("/index/131/minicmt?p=0&n=15", 1).size(), 1u);

  run("pull-up");
  EXPECT_EQ(logged("/index/131/minicmt?p=1&n=15", 1).size(), 1u);

  run("pull-down");
  EXPECT_EQ(logged("/index/131/minicmt?p=0&n=15", 2).size(), 2u) << "a refresh asks for page 0";
}

// The composing stack presented over the tab bar, or null.
ui::NavigationController* composingStack() {
  ui::Window* window = ui::Application::shared().keyWindow();
  if (window == nullptr || window->rootViewController() == nullptr) return nullptr;
  return dynamic_cast<ui::NavigationController*>(
      window->rootViewController()->modalViewController());
}

// The request log's form body of a line ("METHOD\tTARGET\tBODY\tSTATUS\tconn=N").
std::string loggedBody(const std::string& line) {
  const auto first = line.find('\t');
  const auto second = line.find('\t', first + 1);
  const auto third = line.find('\t', second + 1);
  return line.substr(second + 1, third - second - 1);
}

TEST_F(BroadcastEndToEnd, LogInPickANearbyShopAndPostWithAPhotoThenRetryAFailedPost) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const auto photoFile = scratch / "photo.jpg";
  Image picture(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x)
      picture.setPixel(x, y, y < 300 ? 0x3366CCFF : 0xEECC22FF);
  }
  writeFile(photoFile, ImageCodec::encodeJpeg(picture, 0.9));

  run("city 131 北京");
  run("tab 现场播报");
  ASSERT_EQ(logged("/index/131/minicmt?p=0&n=15", 1).size(), 1u);
  run("pull-up");
  ASSERT_EQ(logged("/index/131/minicmt?p=1&n=15", 1).size(), 1u);
  run("pull-down");
  ASSERT_EQ(logged("/index/131/minicmt?p=0&n=15", 2).size(), 2u);

  // "发布播报" of the city's list: the shop picker, with the login in front of it.
  std::string shown = run("tap 发布播报");
  ASSERT_NE(composingStack(), nullptr);
  EXPECT_NE(shown.find("navbar: 登录"), std::string::npos) << shown;
  run("tap 用户名");
  run("type lokavo");
  run("return");
  run("type lokavo123");
  shown = run("return");
  EXPECT_NE(shown.find("navbar: 您要播报哪家店？"), std::string::npos) << shown;
  ASSERT_GE(logged("/search/0/q?ci=131&x=", 1).size(), 1u) << "the shops around the position";
  auto* picker =
      dynamic_cast<ShopPickerViewController*>(composingStack()->viewControllers().front().get());
  ASSERT_NE(picker, nullptr);
  ASSERT_FALSE(picker->shopList().empty());
  const std::string shopId = picker->shopList().front()->shopId();
  const std::string shopName = picker->shopList().front()->strName();
  EXPECT_NE(shown.find("米"), std::string::npos) << "distances in metres";

  shown = run("tap \"" + shopName + "\"");
  EXPECT_NE(shown.find("@" + shopName), std::string::npos) << shown;
  run("type \"热干面 很香\"");
  run("tap broadcast_camera");
  EXPECT_NE(run("photo " + photoFile.string()).find("no photo picker"), std::string::npos);
  run("alert 从相册上传");
  writeFile(scratch / "notes.txt", "not a picture");
  EXPECT_NE(run("photo " + (scratch / "notes.txt").string()).find("not a JPEG or PNG"),
            std::string::npos);
  EXPECT_NE(run("photo " + (scratch / "missing.jpg").string()).find("cannot read"),
            std::string::npos);
  shown = run("photo " + photoFile.string());
  EXPECT_NE(shown.find("thumbnail"), std::string::npos) << shown;
  run("tap 发布");
  const auto posts = logged("/submit/" + shopId + "/addMiniCmt", 1);
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_NE(posts[0].find("\t200\t"), std::string::npos) << posts[0];
  EXPECT_NE(posts[0].find("content=%E7%83%AD%E5%B9%B2%E9%9D%A2+%E5%BE%88%E9%A6%99"),
            std::string::npos)
      << "the space goes as \"+\"";
  EXPECT_EQ(composingStack(), nullptr) << "the stack closes after the success";

  // A refresh shows the new broadcast first, and its photo comes back from the service.
  run("pull-down");
  shown = run("rows");
  const auto firstRow = shown.find("row 0.0");
  ASSERT_NE(firstRow, std::string::npos) << shown;
  EXPECT_NE(shown.find("热干面 很香", firstRow), std::string::npos) << shown;
  EXPECT_LT(shown.find("热干面 很香", firstRow), shown.find("row 0.1")) << shown;
  EXPECT_NE(shown.find("照片", firstRow), std::string::npos) << "the photo arrived";
  const auto photos = logged("/abpic/", 1);
  ASSERT_FALSE(photos.empty());
  EXPECT_NE(photos.back().find("\t200\t"), std::string::npos) << photos.back();

  // A second post that the service fails keeps text and photo, and "重试" sends it again.
  run("tap 发布播报");
  run("tap \"" + shopName + "\"");
  run("type 再来一碗");
  run("tap broadcast_camera");
  run("alert 从相册上传");
  run("photo " + photoFile.string());
  setFaults("/client/submit/ status=500 times=1");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  shown = run("tap 发布");
  EXPECT_NE(shown.find("播报发布失败"), std::string::npos) << shown;
  EXPECT_NE(shown.find("再来一碗"), std::string::npos) << "the text stays";
  EXPECT_NE(shown.find("thumbnail"), std::string::npos) << "the photo stays";
  shown = run("alert 重试");
  const auto retried = logged("/submit/" + shopId + "/addMiniCmt", 3);
  ASSERT_EQ(retried.size(), 3u);
  EXPECT_NE(retried[1].find("\t500\t"), std::string::npos) << retried[1];
  EXPECT_NE(retried[2].find("\t200\t"), std::string::npos) << retried[2];
  EXPECT_EQ(loggedBody(retried[1]), loggedBody(retried[2])) << "the same bytes again";
  EXPECT_EQ(composingStack(), nullptr);
}

}  // namespace
}  // namespace lk::test
