#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

std::shared_ptr<LKNavigationController> screen(const std::string& title) {
  auto s = std::make_shared<LKNavigationController>();
  s->setTitle(title);
  return s;
}

double leftButtonWidth(ui::ViewController& vc) {
  auto item = vc.navigationItem().leftBarButtonItem;
  return item && item->customView() ? item->customView()->frame().width() : 0;
}

class NavigationBase : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::resetSharedInstanceForTesting(); }
  void TearDown() override {
    window.reset();
    ui::Application::resetSharedInstanceForTesting();
  }
  void show(const std::shared_ptr<ui::ViewController>& root) {
    nav = std::make_shared<ui::NavigationController>(root);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
  }
  test::ScopedMainLoop loop;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  ui::ScreenInput input;
};

TEST_F(NavigationBase, BackButtonNamesTheScreenBelowInOneOfTwoSizes) {
  auto root = screen("优惠");
  show(root);
  EXPECT_EQ(root->navigationItem().leftBarButtonItem, nullptr) << "none on the root";
  EXPECT_EQ(root->defaultBackTitle(), "返回");
  auto detail = screen("优惠详情");
  nav->pushViewController(detail, true);
  EXPECT_EQ(detail->navigationItem().leftBarButtonItem->label(), "优惠");
  EXPECT_EQ(leftButtonWidth(*detail), 51);
  auto third = screen("地图");
  nav->pushViewController(third, true);
  EXPECT_EQ(third->navigationItem().leftBarButtonItem->label(), "优惠详情");
  EXPECT_EQ(leftButtonWidth(*third), 77);
  EXPECT_TRUE(input.dump().find("navbar: 地图  left: [优惠详情]") != std::string::npos);
}

TEST_F(NavigationBase, UntitledPredecessorGivesTheDefaultBackTitle) {
  show(screen(""));
  auto next = screen("详情");
  nav->pushViewController(next, false);
  EXPECT_EQ(next->navigationItem().leftBarButtonItem->label(), "返回");
  EXPECT_EQ(leftButtonWidth(*next), 51);
}

TEST_F(NavigationBase, TappingTheBackButtonPopsAnimated) {
  show(screen("搜索"));
  nav->pushViewController(screen("结果"), false);
  EXPECT_TRUE(input.tap("搜索"));
  EXPECT_EQ(nav->viewControllers().size(), 1u);
  EXPECT_TRUE(nav->lastTransitionAnimated());
}

TEST_F(NavigationBase, IsShowingFollowsTheAppearance) {
  auto root = screen("A");
  EXPECT_FALSE(root->isShowing());
  show(root);
  EXPECT_TRUE(root->isShowing());
  auto b = screen("B");
  nav->pushViewController(b, true);
  EXPECT_FALSE(root->isShowing());
  EXPECT_TRUE(b->isShowing());
  nav->popViewController(true);
  EXPECT_TRUE(root->isShowing());
  EXPECT_FALSE(b->isShowing());
}

TEST_F(NavigationBase, BarButtonsHaveTwoSizesAndSendTheirAction) {
  struct Owner {
    int taps = 0;
    void publish() { ++taps; }
  } owner;
  auto shortItem = LKNavigationController::buttonItemWithTitle("地图", &Owner::publish, &owner);
  auto longItem = LKNavigationController::buttonItemWithTitle("发布播报", &Owner::publish, &owner);
  EXPECT_EQ(shortItem->customView()->frame(), (ui::Rect{0, 0, 51, 30}));
  EXPECT_EQ(longItem->customView()->frame(), (ui::Rect{0, 0, 77, 30}));
  auto root = screen("现场播报");
  root->navigationItem().rightBarButtonItem = longItem;
  show(root);
  EXPECT_TRUE(input.tap("发布播报"));
  EXPECT_EQ(owner.taps, 1);
  EXPECT_EQ(LKNavigationController::navigationBarBackgroundForTag(0), "navbar_bg");
  EXPECT_NE(LKNavigationController::navigationBarBackgroundForTag(1), "navbar_bg");
}

TEST_F(NavigationBase, AddedOverlaysStayUnderTheShadowStrip) {
  auto root = screen("A");
  root->shadowType = 1;
  show(root);
  root->addSubview(std::make_shared<ui::Label>(ui::Rect{0, 0, 320, 416}, "overlay"));
  const auto& subviews = root->view()->subviews();
  EXPECT_EQ(subviews.back(), root->navShadow());
  EXPECT_EQ(root->navShadow()->image().name(), "searchbar_shadow");
  EXPECT_EQ(root->navShadow()->frame(), (ui::Rect{0, 0, 320, 5}));
}

TEST_F(NavigationBase, RebuiltRootViewGetsNoBackButton) {
  auto root = screen("A");
  show(root);
  nav->pushViewController(screen("B"), false);
  root->didReceiveMemoryWarning();
  ASSERT_FALSE(root->isViewLoaded());
  EXPECT_EQ(root->navShadow(), nullptr) << "released with the view";
  nav->popViewController(false);
  EXPECT_EQ(root->navigationItem().leftBarButtonItem, nullptr);
  EXPECT_NE(root->navShadow(), nullptr);
}

}  // namespace
}  // namespace lk
