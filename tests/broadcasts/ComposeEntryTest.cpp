// The ways into composing: "发布播报" of a shop's list opens the editor for that shop; of the
// city's list the shop picker first; the shop screen's broadcast button the editor.
#include <gtest/gtest.h>

#include <memory>

#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/Broadcasts/ComposeBroadcastViewController.h"
#include "Classes/Broadcasts/ShopPickerViewController.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "tests/broadcasts/ComposeFixture.h"

namespace lk::test {
namespace {

class ComposeEntry : public ComposeFixture {
 protected:
  ComposeEntry() {
    transport.respond(R"(.*/minicmt)", [](const FakeTransport::Request&) {
      FakeTransport::Answer a;
      a.body = R"({"base": "", "list": [], "cmtlist": []})";
      a.encoding = FakeTransport::Body::kGzip;
      return a;
    });
    logIn();
  }
  // `screen` as the root of the window's stack.
  void show(const std::shared_ptr<ui::ViewController>& screen) {
    window->setRootViewController(std::make_shared<ui::NavigationController>(screen));
    settle();
  }
  // The root of the stack presented over the window's, or null.
  ui::ViewController* presentedRoot() {
    auto* stack = dynamic_cast<ui::NavigationController*>(
        window->rootViewController()->modalViewController());
    return stack == nullptr || stack->viewControllers().empty()
               ? nullptr
               : stack->viewControllers().front().get();
  }
};

TEST_F(ComposeEntry, AShopsListOpensTheEditorForTheShop) {
  show(BroadcastListViewController::initBroadcastListControllerWithShop(shop("42", "面馆")));
  ASSERT_TRUE(input.tap("发布播报"));
  settle();
  auto* editor = dynamic_cast<ComposeBroadcastViewController*>(presentedRoot());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->shopInfo()->shopId(), "42");
  EXPECT_TRUE(shows("@面馆"));
  ASSERT_TRUE(input.tap("取消"));
  settle();
  EXPECT_EQ(presentedRoot(), nullptr) << "\"取消\" closes the editor's stack";
}

TEST_F(ComposeEntry, TheCitysListOpensTheShopPickerFirst) {
  show(std::make_shared<BroadcastListViewController>());
  ASSERT_TRUE(input.tap("发布播报"));
  settle();
  EXPECT_NE(dynamic_cast<ShopPickerViewController*>(presentedRoot()), nullptr);
  EXPECT_TRUE(shows("您要播报哪家店？"));
}

TEST_F(ComposeEntry, TheShopScreensBroadcastButtonOpensTheEditor) {
  auto screen = std::make_shared<ShopInfoViewController>();
  screen->setShopInfo(shop("7", "小馆"));
  show(screen);
  ASSERT_TRUE(input.tap("shopinfo_tab_broadcast"));
  settle();
  auto* editor = dynamic_cast<ComposeBroadcastViewController*>(presentedRoot());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->shopInfo()->shopId(), "7");
}

}  // namespace
}  // namespace lk::test
