// The record decoders on real answers of the stand-in service, fetched through the request
// engine as the screens fetch them.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "Classes/Json/JsonValue.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/ShopAdditionList.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Storage/AppDirectories.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

class ServiceAnswers : public ::testing::Test, private HttpRequestDelegate {
 protected:
  static void SetUpTestSuite() { service_ = std::make_unique<test::ServiceLauncher>(); }
  static void TearDownTestSuite() { service_.reset(); }

  ServiceAnswers() {
    AppDirectories::setCacheDirectory(dir_.path());
    LKImageCache::resetSharedInstanceForTesting();
    if (service_->running()) ServiceEndpoints::setServiceURL(service_->baseURL());
  }
  ~ServiceAnswers() override {
    LKImageCache::resetSharedInstanceForTesting();
    AppDirectories::setCacheDirectory({});
    ServiceEndpoints::setServiceURL("");
  }

  // GETs a compressed answer as the screens do and returns its root object.
  std::optional<boost::json::object> fetch(const std::string& path) {
    done_ = false;
    body_.reset();
    HttpRequest request(static_cast<HttpRequestDelegate*>(this), 1);
    request.requestGETWithGZip(ServiceEndpoints::serviceURL() + path, false);
    loop_->runUntil([&] { return done_; }, std::chrono::seconds(20));
    if (!body_) return std::nullopt;
    auto root = json::parse(*body_);
    if (!root || !root->is_object()) return std::nullopt;
    return root->get_object();
  }

  bool runUntil(const std::function<bool()>& condition) {
    return loop_->runUntil(condition, std::chrono::seconds(20));
  }

  static inline std::unique_ptr<test::ServiceLauncher> service_;
  // Transfers run on the real clock: the transport's own timers must fire while waiting.
  test::ScopedMainLoop loop_{false};
  test::TempDir dir_;

 private:
  void requestSucceeded(HttpRequest& request) override {
    if (request.statusCode() == 200) body_ = decompressGZip(request.recievedData());
    done_ = true;
  }
  void requestFailed(HttpRequest&, const PlatformError&) override { done_ = true; }

  bool done_ = false;
  std::optional<std::string> body_;
};

TEST_F(ServiceAnswers, SearchPageBecomesShopRecordsWithoutMarkUp) {
  ASSERT_TRUE(service_->running()) << service_->errorOutput();
  const auto answer = fetch("/search/0/q?k=tony&r=&ci=131&sort=1&p=0&n=15");
  ASSERT_TRUE(answer.has_value());
  const auto* list = json::arrayMember(*answer, "searchlist");
  ASSERT_NE(list, nullptr);
  ASSERT_FALSE(list->empty());
  for (const auto& item : *list) {
    const auto shop = ShopInfo::fromSearchItem(item.as_object());
    EXPECT_FALSE(shop->shopId().empty());
    EXPECT_NE(shop->strName().find("Tony"), std::string::npos) << shop->strName();
    EXPECT_EQ(shop->strName().find("<em>"), std::string::npos) << shop->strName();
    EXPECT_EQ(shop->strName().find("&#39;"), std::string::npos) << shop->strName();
    EXPECT_GE(shop->fltScoreTotal(), 0.0f);
    EXPECT_LE(shop->fltScoreTotal(), 5.0f);
    EXPECT_EQ(shop->imgRequest(), nullptr);
    EXPECT_EQ(shop->additionRequest(), nullptr);
  }
}

TEST_F(ServiceAnswers, ShopInformationFillsADetailRecordAndItsDownloads) {
  ASSERT_TRUE(service_->running()) << service_->errorOutput();
  const auto answer = fetch("/shop/1000001/info?xda_from=iPhone&xda_page=ShopInfo");
  ASSERT_TRUE(answer.has_value());
  ShopInfo shop;
  shop.setShowDetails(true);
  shop.decodeShopInformation(*answer);
  EXPECT_EQ(shop.shopId(), "1000001");
  EXPECT_FALSE(shop.strName().empty());
  EXPECT_EQ(shop.intCityId(), 131);
  EXPECT_NEAR(shop.fltPositionX(), 116.4, 0.2);
  EXPECT_EQ(shop.intCmtCount(), 16);
  EXPECT_LE(shop.arrCmtList().size(), 1u);
  for (const auto& tel : shop.arrTel()) {
    EXPECT_FALSE(tel.empty());
    EXPECT_EQ(tel.find("，"), std::string::npos);
    EXPECT_NE(tel.front(), ' ');
  }
  EXPECT_NE(shop.additionRequest(), nullptr);
  if (!shop.strShopImgUrl().empty()) {
    EXPECT_TRUE(runUntil([&] { return shop.shopImg().get() != nullptr; }));
  }
  EXPECT_TRUE(runUntil([&] { return shop.additionRequest() == nullptr; }));
}

}  // namespace
}  // namespace lk
