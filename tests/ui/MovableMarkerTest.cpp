#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "Platform/UI/WebView.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

constexpr const char* kMarkingPage =
    R"(<body data-marker-function="map" data-marker-query="getMarkerPosition"></body>)";

std::shared_ptr<WebView> loaded(test::ScopedMainLoop& loop, const std::string& html) {
  auto web = std::make_shared<WebView>();
  web->loadHTMLString(html);
  loop->runFor(std::chrono::milliseconds(10));
  return web;
}

TEST(MovableMarker, ThePageReportsWhereTheUserMovedTheMarker) {
  test::ScopedMainLoop loop;
  auto web = loaded(loop, kMarkingPage);
  EXPECT_EQ(web->markerQueryFunction(), "getMarkerPosition");
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("javascript:getMarkerPosition();"), "")
      << "nothing before the page is centred";
  EXPECT_FALSE(web->moveMarker(1, 2)) << "no marker to drag yet";
  web->stringByEvaluatingJavaScriptFromString("javascript:map(116.404000, 39.915000);");
  ASSERT_TRUE(web->marker()) << "two arguments mark without a label";
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("javascript:getMarkerPosition();"),
            "116.404,39.915");
  EXPECT_TRUE(web->moveMarker(-73.985, 40.7485));
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("getMarkerPosition()"), "-73.985,40.7485");
  EXPECT_NE(web->dumpLine().find("marker: (-73.985, 40.7485) (movable)"), std::string::npos)
      << web->dumpLine();
  EXPECT_FALSE(web->moveMarker(std::nan(""), 1));
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("getMarkerPosition(1)"), "")
      << "only the call without arguments is the query";
}

TEST(MovableMarker, APageWithoutAQueryKeepsItsMarkerWhereTheClientPutIt) {
  test::ScopedMainLoop loop;
  auto web = loaded(loop, R"(<body data-marker-function="map"></body>)");
  web->stringByEvaluatingJavaScriptFromString("javascript:map(1.5, 2.5, 'Tony');");
  ASSERT_TRUE(web->marker());
  EXPECT_FALSE(web->moveMarker(3, 4));
  EXPECT_EQ(web->marker()->x, 1.5);
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("getMarkerPosition()"), "");
  EXPECT_EQ(web->dumpLine().find("movable"), std::string::npos);
}

TEST(MovableMarker, ANewPageOrAnInstalledEngineDecidesAgain) {
  test::ScopedMainLoop loop;
  auto web = loaded(loop, kMarkingPage);
  web->stringByEvaluatingJavaScriptFromString("map(1, 2)");
  web->loadHTMLString(kMarkingPage);
  EXPECT_FALSE(web->moveMarker(3, 4)) << "a page still loading has no marker";
  loop->runFor(std::chrono::milliseconds(10));
  EXPECT_FALSE(web->marker());
  web->stringByEvaluatingJavaScriptFromString("map(1, 2)");
  web->setScriptHandler([](const std::string&) { return std::string("9,9"); });
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("getMarkerPosition()"), "9,9")
      << "a real engine's answer wins";
}

}  // namespace
}  // namespace lk::ui
