#include <gtest/gtest.h>

#include "Platform/UI/Button.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/View.h"

namespace lk::ui {
namespace {

TEST(ViewTree, AddingAViewElsewhereMovesItAndKeepsItAlive) {
  auto a = std::make_shared<View>();
  auto b = std::make_shared<View>();
  {
    auto child = std::make_shared<Label>(Rect{}, "x");
    a->addSubview(child);
  }
  std::shared_ptr<View> child = a->subviews().front();
  b->addSubview(child);
  EXPECT_TRUE(a->subviews().empty());
  ASSERT_EQ(b->subviews().size(), 1u);
  EXPECT_EQ(child->superview(), b.get());
  child->removeFromSuperview();
  EXPECT_EQ(child->superview(), nullptr);
  EXPECT_TRUE(b->subviews().empty());
}

TEST(ViewTree, DestroyedParentLeavesChildrenWithoutDanglingSuperview) {
  auto child = std::make_shared<View>();
  {
    auto parent = std::make_shared<View>();
    parent->addSubview(child);
  }
  EXPECT_EQ(child->superview(), nullptr);
  child->removeFromSuperview();  // must be harmless
}

TEST(ViewTree, OrderingOperations) {
  auto root = std::make_shared<View>();
  auto l1 = std::make_shared<Label>(Rect{}, "one");
  auto l2 = std::make_shared<Label>(Rect{}, "two");
  auto l3 = std::make_shared<Label>(Rect{}, "three");
  root->addSubview(l1);
  root->addSubview(l2);
  root->addSubview(l3);
  root->bringSubviewToFront(l1.get());
  EXPECT_EQ(root->dumpText(), "label: two\nlabel: three\nlabel: one\n");
  root->sendSubviewToBack(l3.get());
  EXPECT_EQ(root->dumpText(), "label: three\nlabel: two\nlabel: one\n");
  root->insertSubviewBelow(l1, l3.get());
  EXPECT_EQ(root->dumpText(), "label: one\nlabel: three\nlabel: two\n");
  root->insertSubviewBelow(l2, l3.get());
  EXPECT_EQ(root->dumpText(), "label: one\nlabel: two\nlabel: three\n");
}

TEST(ViewTree, HiddenOrTransparentSubtreesDumpNothing) {
  auto root = std::make_shared<View>();
  auto box = std::make_shared<Label>(Rect{}, "box");
  box->addSubview(std::make_shared<Label>(Rect{}, "inner"));
  root->addSubview(box);
  EXPECT_EQ(root->dumpText(), "label: box\n  label: inner\n");
  box->setHidden(true);
  EXPECT_EQ(root->dumpText(), "");
  box->setHidden(false);
  box->setAlpha(0);
  EXPECT_EQ(root->dumpText(), "");
}

TEST(ViewTree, TagLookupAndAutoresizing) {
  auto root = std::make_shared<View>(Rect{0, 0, 320, 400});
  auto strip = std::make_shared<View>(Rect{0, 10, 320, 50});
  strip->autoresizesWidth = true;
  auto fixed = std::make_shared<View>(Rect{0, 0, 100, 100});
  fixed->setTag(7);
  root->addSubview(strip);
  strip->addSubview(fixed);
  EXPECT_EQ(root->viewWithTag(7), fixed.get());
  EXPECT_EQ(root->viewWithTag(8), nullptr);
  root->setFrame(Rect{0, 0, 480, 300});
  EXPECT_EQ(strip->frame(), (Rect{0, 10, 480, 50}));
  EXPECT_EQ(fixed->frame(), (Rect{0, 0, 100, 100}));
  EXPECT_EQ(fixed->frameInRoot(), (Rect{0, 10, 100, 100}));
}

TEST(ViewTree, HitTestFindsTheTopMostViewThatTakesTouches) {
  auto root = std::make_shared<View>(Rect{0, 0, 320, 480});
  auto panel = std::make_shared<View>(Rect{0, 100, 320, 100});
  auto button = std::make_shared<Button>(Rect{10, 10, 50, 30}, "b");
  auto caption = std::make_shared<Label>(Rect{0, 0, 320, 100}, "over the button");
  root->addSubview(panel);
  panel->addSubview(button);
  panel->addSubview(caption);
  EXPECT_EQ(root->hitTest({20, 120}), button.get()) << "labels let touches through";
  EXPECT_EQ(root->hitTest({200, 150}), panel.get());
  EXPECT_EQ(root->hitTest({200, 300}), root.get());
  EXPECT_EQ(root->hitTest({400, 10}), nullptr);
  panel->setUserInteractionEnabled(false);
  EXPECT_EQ(root->hitTest({20, 120}), root.get()) << "a disabled panel hides its children";
}

TEST(Button, TapRunsActionOnlyWhenEnabledAndVisible) {
  auto root = std::make_shared<View>();
  auto button = std::make_shared<Button>(Rect{0, 0, 50, 30}, "发布");
  int taps = 0;
  button->setAction([&](Button&) { ++taps; });
  root->addSubview(button);
  EXPECT_TRUE(button->tap());
  button->setEnabled(false);
  EXPECT_FALSE(button->tap());
  EXPECT_EQ(root->dumpText(), "button: [发布] (disabled)\n");
  button->setEnabled(true);
  root->setHidden(true);
  EXPECT_FALSE(button->tap());
  EXPECT_EQ(taps, 1);
}

TEST(Button, ActionMayRemoveTheButton) {
  auto root = std::make_shared<View>();
  std::weak_ptr<Button> weak;
  {
    auto button = std::make_shared<Button>(Rect{}, "x");
    weak = button;
    button->setAction([](Button& b) {
      b.setAction(nullptr);
      b.removeFromSuperview();
    });
    root->addSubview(button);
  }
  ASSERT_TRUE(weak.lock()->tap());
  EXPECT_TRUE(weak.expired());
}

}  // namespace
}  // namespace lk::ui
