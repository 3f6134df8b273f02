#include "frontends/commands/ScreenTargets.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TableViewDataSource.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk::cli {
namespace {

using Target = ScreenTargets::Target;

TEST(ScreenTargetsFind, AnExactMatchWinsOverAnEarlierPartialOne) {
  std::vector<Target> targets = {{"button", {"优惠活动"}, {}}, {"tab", {"优惠"}, {}}};
  EXPECT_EQ(ScreenTargets::find(targets, "优惠"), &targets[1]);
  EXPECT_EQ(ScreenTargets::find(targets, "活动"), &targets[0]);
  EXPECT_EQ(ScreenTargets::find(targets, "优"), &targets[0]) << "the first partial match";
  EXPECT_EQ(ScreenTargets::find(targets, "没有"), nullptr);
  EXPECT_EQ(ScreenTargets::find(targets, ""), nullptr);
}

// A tab bar over a stack whose top screen shows two buttons.
class ScreenTargetsCollect : public ::testing::Test {
 protected:
  ScreenTargetsCollect() {
    ui::Application::resetSharedInstanceForTesting();
    auto root = std::make_shared<ui::ViewController>();
    root->setTitle("列表");
    stack = std::make_shared<ui::NavigationController>(root);
    stack->setTabBarItem({"优惠", {}, 0, {}});
    auto other = std::make_shared<ui::ViewController>();
    other->setTabBarItem({"附近", {}, 0, {}});
    tabs = std::make_shared<ui::TabBarController>();
    tabs->setViewControllers({stack, other});
    window = std::make_unique<ui::Window>();
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    auto top = std::make_shared<ui::ViewController>();
    top->setTitle("详情");
    stack->pushViewController(top, false);
    for (const char* title : {"优惠券", "优惠"}) {
      auto button = std::make_shared<ui::Button>(ui::Rect{0, 0, 100, 30}, title);
      button->setAction([this, t = std::string(title)](ui::Button&) { tapped.push_back(t); });
      top->view()->addSubview(button);
    }
  }
  ~ScreenTargetsCollect() override {
    window.reset();
    tabs.reset();
    stack.reset();
    ui::Application::resetSharedInstanceForTesting();
  }
  std::vector<std::string> kinds() {
    std::vector<std::string> out;
    for (const auto& t : ScreenTargets::collect())
      out.push_back(t.kind + ":" + (t.texts.empty() ? "" : t.texts[0]));
    return out;
  }

  test::ScopedMainLoop loop;
  std::shared_ptr<ui::NavigationController> stack;
  std::shared_ptr<ui::TabBarController> tabs;
  std::unique_ptr<ui::Window> window;
  std::vector<std::string> tapped;
};

TEST_F(ScreenTargetsCollect, BarThenContentInOrderThenTabs) {
  EXPECT_EQ(kinds(), (std::vector<std::string>{"back button:列表", "button:优惠券", "button:优惠",
                                               "tab:优惠", "tab:附近"}));
  const auto targets = ScreenTargets::collect();
  const Target* hit = ScreenTargets::find(targets, "优惠");
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->kind, "button") << "the content comes before the tab bar";
  EXPECT_TRUE(hit->tap());
  EXPECT_EQ(tapped, std::vector<std::string>{"优惠"}) << "exact, not the earlier 优惠券";
}

TEST_F(ScreenTargetsCollect, AnAlertOnTopTakesEveryTap) {
  auto alert = std::make_shared<ui::AlertView>("提示", "网络不给力", nullptr, "确定",
                                               std::vector<std::string>{});
  alert->show();
  EXPECT_EQ(kinds(), std::vector<std::string>{"alert button:确定"});
  alert->tapButton(0);
  loop->runFor(seconds(1));
  EXPECT_EQ(kinds().front(), "back button:列表");
}

// Two sections titled by what their one row's input is for, as a form screen has them.
class FormRows : public ui::TableViewDataSource {
 public:
  std::shared_ptr<ui::TextView> view = std::make_shared<ui::TextView>(ui::Rect{10, 5, 280, 140});
  std::shared_ptr<ui::TextField> field = std::make_shared<ui::TextField>(ui::Rect{10, 10, 250, 40});

  int numberOfSectionsInTableView(ui::TableView& /*table*/) override { return 2; }
  int tableViewNumberOfRowsInSection(ui::TableView& /*table*/, int /*section*/) override {
    return 1;
  }
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& /*table*/,
                                                                    ui::IndexPath ip) override {
    auto& cell = cells_[ip.section == 0 ? 0 : 1];
    if (!cell) {
      cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, "form");
      cell->contentView()->addSubview(ip.section == 0 ? std::static_pointer_cast<ui::View>(view)
                                                      : std::static_pointer_cast<ui::View>(field));
    }
    return cell;
  }
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& /*table*/,
                                                              int section) override {
    return section == 0 ? "您的意见" : "您的邮箱";
  }

 private:
  std::shared_ptr<ui::TableViewCell> cells_[2];
};

TEST_F(ScreenTargetsCollect, InputsInsideRowsAnswerToTheirSectionTitle) {
  FormRows rows;
  rows.field->setPlaceholder("邮箱");
  auto table =
      std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 367}, ui::TableView::Style::kGrouped);
  table->setDataSource(&rows);
  stack->topViewController()->view()->addSubview(table);
  table->reloadData();

  const auto targets = ScreenTargets::collect();
  const Target* view = ScreenTargets::find(targets, "您的意见");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->kind, "text view in row 0.0");
  EXPECT_TRUE(view->tap());
  EXPECT_TRUE(rows.view->isFirstResponder());
  const Target* field = ScreenTargets::find(targets, "邮箱");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->kind, "text field in row 1.0") << "by its placeholder too";
  EXPECT_TRUE(field->tap());
  EXPECT_TRUE(rows.field->isFirstResponder());
  rows.field->resignFirstResponder();
  table->setDataSource(nullptr);
}

TEST_F(ScreenTargetsCollect, AFullScreenModalHidesTheScreensBelowIt) {
  auto page = std::make_shared<ui::ViewController>();
  page->setTitle("相册");
  auto close = std::make_shared<ui::Button>(ui::Rect{0, 0, 60, 30}, "返回");
  close->setAction([this](ui::Button&) { tapped.push_back("modal 返回"); });
  page->view()->addSubview(close);
  auto modal = std::make_shared<ui::NavigationController>(page);
  tabs->presentModalViewController(modal, false);
  EXPECT_EQ(kinds(), std::vector<std::string>{"button:返回"})
      << "no back button, content or tab of the covered stack";
  const auto targets = ScreenTargets::collect();
  const Target* hit = ScreenTargets::find(targets, "返回");
  ASSERT_NE(hit, nullptr);
  EXPECT_TRUE(hit->tap());
  EXPECT_EQ(tapped, std::vector<std::string>{"modal 返回"});

  // An alert over the modal screen still takes the taps; once it goes, the modal screen is back.
  auto alert = std::make_shared<ui::AlertView>("提示", "网络不给力", nullptr, "确定",
                                               std::vector<std::string>{});
  alert->show();
  EXPECT_EQ(kinds(), std::vector<std::string>{"alert button:确定"});
  alert->tapButton(0);
  loop->runFor(seconds(1));
  EXPECT_EQ(kinds(), std::vector<std::string>{"button:返回"});

  modal->dismissModalViewController(false);
  loop->runFor(seconds(1));
  EXPECT_EQ(kinds().front(), "back button:列表") << "the stack below is reachable again";
}

}  // namespace
}  // namespace lk::cli
