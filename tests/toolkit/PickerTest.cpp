#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes/Toolkit/VSPickerView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

// An area tree: districts and their circles; the owner swaps in another tree at times.
class Tree : public ui::PickerViewDataSource,
             public ui::PickerViewDelegate,
             public VSPickerViewTarget {
 public:
  std::vector<std::string> left{"全部", "朝阳区", "海淀区"};
  std::vector<std::vector<std::string>> right{
      {"全部"}, {"全部", "国贸", "三里屯"}, {"全部", "中关村"}};
  std::vector<std::string> calls;
  int numberOfComponentsInPickerView(ui::PickerView&) override { return columns; }
  int pickerViewNumberOfRowsInComponent(ui::PickerView& p, int c) override {
    if (c == 0) return static_cast<int>(left.size());
    int l = std::max(0, p.selectedRowInComponent(0));
    return static_cast<int>(right[static_cast<std::size_t>(l)].size());
  }
  std::string pickerViewTitleForRow(ui::PickerView& p, int row, int c) override {
    if (c == 0) return left[static_cast<std::size_t>(row)];
    int l = std::max(0, p.selectedRowInComponent(0));
    return right[static_cast<std::size_t>(l)][static_cast<std::size_t>(row)];
  }
  void pickerViewDidSelectRow(ui::PickerView& p, int, int c) override {
    if (c == 0) p.reloadComponent(1);
  }
  void finishPick(VSPickerView& p) override {
    calls.push_back("finish");
    p.hideWithAnimation(true);
  }
  void cancelPick(VSPickerView& p) override {
    calls.push_back("cancel");
    p.hideWithAnimation(true);
  }
  int columns = 2;
};

class SlidingPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::resetSharedInstanceForTesting();
    window = std::make_unique<ui::Window>();
    content = std::make_shared<ui::Label>(ui::Rect{0, 20, 320, 367}, "results");
    window->addSubview(content);
    window->makeKeyAndVisible();
    picker = std::make_shared<VSPickerView>();
    picker->setDataSource(&tree);
    picker->setPickerDelegate(&tree);
    picker->setTarget(&tree);
    picker->reloadAllComponents();
    picker->initIndexPath();
  }
  void TearDown() override {
    picker.reset();
    window.reset();
    ui::Application::resetSharedInstanceForTesting();
  }
  test::ScopedMainLoop loop;
  std::unique_ptr<ui::Window> window;
  std::shared_ptr<ui::Label> content;
  Tree tree;
  std::shared_ptr<VSPickerView> picker;
  ui::ScreenInput input;
};

TEST_F(SlidingPicker, SlidesUpOverEverythingAndAwayAgain) {
  EXPECT_EQ(picker->selectedIndexPath(), (std::vector<int>{0, 0}));
  picker->showInView(*content, true);
  EXPECT_EQ(picker->frame().y(), 367 + 44);
  loop->runFor(seconds(0.3));
  EXPECT_EQ(picker->frame().y(), 460 - 216 + 20);
  EXPECT_EQ(picker->toolbar()->frame().y(), 460 - 216 + 20 - 44);
  EXPECT_EQ(input.dump(),
            "label: results\ntoolbar: [取消] [完成]\npicker: 全部 | 全部\n"
            "  wheel 0: 3 rows\n    0 全部 (selected)\n    1 朝阳区\n    2 海淀区\n"
            "  wheel 1: 1 row\n    0 全部 (selected)\n");
  EXPECT_TRUE(input.tap("完成"));
  EXPECT_TRUE(picker->isShown()) << "still sliding away";
  loop->runFor(seconds(0.3));
  EXPECT_FALSE(picker->isShown());
  EXPECT_EQ(input.dump(), "label: results\n");
  EXPECT_EQ(tree.calls, std::vector<std::string>{"finish"});
}

TEST_F(SlidingPicker, CancelTurnsTheWheelsBackToTheLastConfirmedRows) {
  picker->showInView(*content, true);
  loop->runFor(seconds(0.3));
  input.turnPicker(0, 1);
  input.turnPicker(1, 2);
  EXPECT_EQ(picker->dumpLine(), "picker: 朝阳区 | 三里屯");
  input.tap("完成");
  EXPECT_EQ(picker->selectedIndexPath(), (std::vector<int>{1, 2}));
  loop->runFor(seconds(0.3));
  picker->showInView(*content, true);
  loop->runFor(seconds(0.3));
  input.turnPicker(0, 2);
  input.turnPicker(1, 1);
  EXPECT_EQ(picker->dumpLine(), "picker: 海淀区 | 中关村");
  input.tap("取消");
  EXPECT_EQ(picker->dumpLine(), "picker: 朝阳区 | 三里屯");
  EXPECT_EQ(tree.calls, (std::vector<std::string>{"finish", "cancel"}));
}

TEST_F(SlidingPicker, CancelBeforeAnyFinishReturnsToRowZero) {
  input.turnPicker(0, 2);
  picker->cancelAction();
  EXPECT_EQ(picker->selectedRowInComponent(0), 0);
  EXPECT_EQ(picker->selectedRowInComponent(1), 0);
}

TEST_F(SlidingPicker, RecordedRowsStayWithinAShorterTree) {
  picker->selectRow(1, 0, false);
  picker->reloadComponent(1);
  picker->selectRow(2, 1, false);
  picker->finishAction();
  ASSERT_EQ(picker->selectedIndexPath(), (std::vector<int>{1, 2}));
  // The same picker now serves a tree with one district of one circle.
  tree.left = {"全部"};
  tree.right = {{"全部"}};
  picker->reloadAllComponents();
  EXPECT_EQ(picker->selectedIndexPath(), (std::vector<int>{0, 0}));
  picker->setSelectedIndexPath({5, 9});
  EXPECT_EQ(picker->selectedIndexPath(), (std::vector<int>{0, 0}));
  picker->cancelAction();
  EXPECT_EQ(picker->dumpLine(), "picker: 全部 | 全部");
}

TEST_F(SlidingPicker, NoColumnsNoRecordedSelection) {
  tree.columns = 0;
  auto empty = std::make_shared<VSPickerView>();
  empty->setDataSource(&tree);
  empty->reloadAllComponents();
  empty->initIndexPath();
  EXPECT_TRUE(empty->selectedIndexPath().empty());
  empty->cancelAction();
  empty->finishAction();
  EXPECT_TRUE(empty->selectedIndexPath().empty());
}

TEST_F(SlidingPicker, HidingWithoutAnimationIsImmediate) {
  picker->showInView(*content, true);
  picker->hideWithAnimation(false);
  EXPECT_FALSE(picker->isShown());
  EXPECT_EQ(picker->toolbar()->superview(), nullptr);
  loop->runFor(seconds(1));
  EXPECT_FALSE(picker->isShown());
}

TEST_F(SlidingPicker, ADestroyedPickerLeavesNoLiveButtons) {
  picker->showInView(*content, false);
  auto toolbar = picker->toolbar();
  picker->hideWithAnimation(false);
  picker.reset();
  EXPECT_TRUE(toolbar->items().empty());
  EXPECT_FALSE(input.tap("完成"));
}

}  // namespace
}  // namespace lk
