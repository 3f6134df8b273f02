#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Toolbar.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

class AlertLog : public AlertViewDelegate, public ActionSheetDelegate {
 public:
  void alertViewClickedButtonAtIndex(AlertView&, int i) override {
    events.push_back("clicked " + std::to_string(i));
  }
  void alertViewWillDismissWithButtonIndex(AlertView&, int i) override {
    events.push_back("will " + std::to_string(i));
  }
  void alertViewDidDismissWithButtonIndex(AlertView& a, int i) override {
    events.push_back("did " + std::to_string(i));
    if (auto f = a.textFieldAtIndex(0)) events.push_back("text " + f->text());
  }
  void actionSheetClickedButtonAtIndex(ActionSheet& s, int i) override {
    events.push_back("sheet " + s.buttonTitles()[i]);
  }
  std::vector<std::string> events;
};

class OverlayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application::resetSharedInstanceForTesting();
    window = std::make_unique<Window>();
    window->addSubview(std::make_shared<Label>(Rect{0, 20, 320, 20}, "screen"));
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    window.reset();
    Application::resetSharedInstanceForTesting();
  }
  test::ScopedMainLoop loop;
  std::unique_ptr<Window> window;
  ScreenInput input;
};

using AlertViews = OverlayFixture;

TEST_F(AlertViews, ShownOnTopAndDismissedByAButtonWithItsIndex) {
  AlertLog log;
  {
    auto alert = std::make_shared<AlertView>("提示", "请输入正确的手机号", &log, "取消",
                                             std::vector<std::string>{"好的"});
    alert->show();
  }
  EXPECT_EQ(
      input.dump(),
      "label: screen\nalert: 提示\n  message: 请输入正确的手机号\n  buttons: [取消] [好的]\n");
  EXPECT_FALSE(input.tap("screen"));
  EXPECT_TRUE(input.chooseAlertButton("好的"));
  EXPECT_EQ(log.events, (std::vector<std::string>{"clicked 1", "will 1", "did 1"}));
  EXPECT_EQ(input.dump(), "label: screen\n");
  EXPECT_FALSE(input.chooseAlertButton("好的"));
}

TEST_F(AlertViews, NothingUnderAnAlertTakesTaps) {
  int taps = 0;
  auto button = std::make_shared<Button>(Rect{10, 100, 100, 40}, "下一步");
  button->setAction([&](Button&) { ++taps; });
  window->addSubview(button);
  auto alert = std::make_shared<AlertView>("提示", "", nullptr, "好的", std::vector<std::string>{});
  alert->show();
  EXPECT_FALSE(input.tap("下一步"));
  input.tap("好的");
  EXPECT_TRUE(input.tap("下一步"));
  EXPECT_EQ(taps, 1);
}

TEST_F(AlertViews, TextInputAlertTakesTheKeyboardAndReportsItsText) {
  AlertLog log;
  auto alert =
      std::make_shared<AlertView>("昵称", "", &log, std::nullopt, std::vector<std::string>{"确定"});
  alert->setStyle(AlertView::Style::kPlainTextInput);
  EXPECT_EQ(alert->cancelButtonIndex(), -1);
  alert->show();
  EXPECT_TRUE(input.type("小明"));
  EXPECT_NE(input.dump().find("field: 小明 (focused)"), std::string::npos);
  EXPECT_TRUE(input.tap("确定"));
  EXPECT_EQ(log.events.back(), "text 小明");
  EXPECT_EQ(Keyboard::shared().firstResponder(), nullptr);
}

TEST_F(AlertViews, ProgramDismissalSkipsTheClickCallback) {
  AlertLog log;
  auto alert = std::make_shared<AlertView>("t", "m", &log, "OK", std::vector<std::string>{});
  alert->show();
  alert->dismissWithClickedButtonIndex(0, false);
  EXPECT_EQ(log.events, (std::vector<std::string>{"will 0", "did 0"}));
}

TEST_F(AlertViews, ActionSheetOrdersDestructiveFirstAndCancelLast) {
  AlertLog log;
  auto sheet = std::make_shared<ActionSheet>("", &log, "取消", "删除",
                                             std::vector<std::string>{"拍照", "相册"});
  EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
  EXPECT_EQ(sheet->cancelButtonIndex(), 3);
  sheet->showInView(nullptr);
  EXPECT_NE(input.dump().find("buttons: [删除]! [拍照] [相册] [取消]"), std::string::npos);
  EXPECT_TRUE(input.tap("相册"));
  EXPECT_EQ(log.events, std::vector<std::string>{"sheet 相册"});
  EXPECT_FALSE(sheet->isVisible());
}

// Two wheels whose second column depends on the first (like a province and its cities).
class Tree : public PickerViewDataSource, public PickerViewDelegate {
 public:
  std::vector<std::vector<std::string>> columns{{"A", "B", "C"}, {"a1", "a2", "a3", "a4"}};
  std::vector<std::string> turns;
  int numberOfComponentsInPickerView(PickerView&) override {
    return static_cast<int>(columns.size());
  }
  int pickerViewNumberOfRowsInComponent(PickerView&, int c) override {
    return static_cast<int>(columns[c].size());
  }
  std::string pickerViewTitleForRow(PickerView&, int row, int c) override {
    return columns[c][row];
  }
  void pickerViewDidSelectRow(PickerView&, int row, int c) override {
    turns.push_back(std::to_string(c) + ":" + std::to_string(row));
  }
};

using Pickers = OverlayFixture;

TEST_F(Pickers, SelectionsStayWithinEachWheelsRows) {
  auto picker = std::make_shared<PickerView>();
  Tree tree;
  picker->setDataSource(&tree);
  picker->setPickerDelegate(&tree);
  picker->reloadAllComponents();
  window->addSubview(picker);
  EXPECT_TRUE(input.turnPicker(1, 3));
  EXPECT_EQ(picker->dumpLine(), "picker: A | a4");
  tree.columns[1] = {"b1"};  // a shorter tree
  picker->reloadComponent(1);
  EXPECT_EQ(picker->selectedRowInComponent(1), 0);
  picker->selectRow(9, 0, false);
  EXPECT_EQ(picker->selectedRowInComponent(0), 2);
  tree.columns[1].clear();
  picker->reloadAllComponents();
  EXPECT_EQ(picker->selectedRowInComponent(1), -1);
  EXPECT_EQ(picker->dumpLine(), "picker: C | (none)");
  EXPECT_FALSE(picker->turnWheel(1, 0));
  EXPECT_EQ(picker->selectedRowInComponent(7), -1);
  EXPECT_EQ(tree.turns, std::vector<std::string>{"1:3"});
}

TEST_F(Pickers, ToolbarShowsOnlyLabelledItemsAndTapsEnabledOnes) {
  int done = 0;
  auto toolbar = std::make_shared<Toolbar>();
  auto filler = BarButtonItem::withTitle(std::string(45, ' '), BarButtonItem::Style::kBordered, {});
  filler->setEnabled(false);
  toolbar->setItems({BarButtonItem::withTitle("取消", BarButtonItem::Style::kBordered, {}), filler,
                     BarButtonItem::flexibleSpace(),
                     BarButtonItem::withTitle("完成", BarButtonItem::Style::kBordered,
                                              [&](BarButtonItem&) { ++done; })});
  window->addSubview(toolbar);
  EXPECT_EQ(toolbar->dumpLine(), "toolbar: [取消] [完成]");
  EXPECT_TRUE(input.tap("完成"));
  EXPECT_EQ(done, 1);
}

}  // namespace
}  // namespace lk::ui
