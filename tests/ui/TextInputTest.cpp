#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextView.h"

namespace lk::ui {
namespace {

class FieldLog : public TextFieldDelegate {
 public:
  bool textFieldShouldBeginEditing(TextField&) override {
    events.push_back("shouldBegin");
    return allowBegin;
  }
  void textFieldDidBeginEditing(TextField&) override { events.push_back("didBegin"); }
  bool textFieldShouldEndEditing(TextField&) override { return true; }
  void textFieldDidEndEditing(TextField& f) override { events.push_back("didEnd " + f.text()); }
  bool textFieldShouldChangeCharactersInRange(TextField&, TextRange r,
                                              const std::string& s) override {
    events.push_back("change " + std::to_string(r.location) + "," + std::to_string(r.length) +
                     " '" + s + "'");
    return s != "x";
  }
  void textFieldDidChange(TextField& f) override { events.push_back("didChange " + f.text()); }
  bool textFieldShouldClear(TextField&) override {
    events.push_back("shouldClear");
    return true;
  }
  bool textFieldShouldReturn(TextField& f) override {
    events.push_back("return " + f.text());
    return true;
  }
  bool allowBegin = true;
  std::vector<std::string> events;
};

TEST(TextFieldEditing, TypingGoesCharacterByCharacterThroughTheDelegate) {
  auto field = std::make_shared<TextField>();
  FieldLog log;
  field->setDelegate(&log);
  EXPECT_FALSE(Keyboard::shared().type("a")) << "nothing focused";
  ASSERT_TRUE(field->becomeFirstResponder());
  Keyboard::shared().type("火x锅");  // "x" is refused
  Keyboard::shared().deleteBackward();
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"shouldBegin", "didBegin", "change 0,0 '火'", "didChange 火",
                                      "change 1,0 'x'", "change 1,0 '锅'", "didChange 火锅",
                                      "change 1,1 ''", "didChange 火"}));
  field->resignFirstResponder();
  EXPECT_EQ(log.events.back(), "didEnd 火");
}

TEST(TextFieldEditing, RangesCountUtf16UnitsForCharactersOutsideTheBasicPlane) {
  auto field = std::make_shared<TextField>();
  FieldLog log;
  field->setDelegate(&log);
  field->becomeFirstResponder();
  Keyboard::shared().type("😀a");
  EXPECT_EQ(log.events[4], "change 2,0 'a'");
  Keyboard::shared().deleteBackward();
  Keyboard::shared().deleteBackward();
  EXPECT_EQ(log.events[6], "change 2,1 ''");
  EXPECT_EQ(log.events[8], "change 0,2 ''");
  EXPECT_EQ(field->text(), "");
  field->resignFirstResponder();
}

TEST(TextFieldEditing, ReturnKeyEnabledOnlyWithTextWhenAsked) {
  auto field = std::make_shared<TextField>();
  FieldLog log;
  field->setDelegate(&log);
  field->enablesReturnKeyAutomatically = true;
  field->returnKeyType = TextInput::ReturnKey::kSearch;
  field->becomeFirstResponder();
  EXPECT_FALSE(Keyboard::shared().pressReturn());
  Keyboard::shared().type("a");
  EXPECT_TRUE(Keyboard::shared().pressReturn());
  EXPECT_EQ(log.events.back(), "return a");
  field->resignFirstResponder();
}

TEST(TextFieldEditing, ClearButtonShowsByModeAndClears) {
  auto field = std::make_shared<TextField>();
  FieldLog log;
  field->setDelegate(&log);
  field->clearButtonMode = TextField::ClearButtonMode::kWhileEditing;
  field->setText("abc");
  EXPECT_FALSE(field->isClearButtonShown()) << "not while not editing";
  field->becomeFirstResponder();
  EXPECT_TRUE(field->isClearButtonShown());
  EXPECT_TRUE(Keyboard::shared().tapClearButton());
  EXPECT_EQ(field->text(), "");
  EXPECT_EQ(log.events.back(), "didChange ");
  EXPECT_FALSE(field->isClearButtonShown());
  EXPECT_FALSE(Keyboard::shared().tapClearButton());
  field->resignFirstResponder();
}

TEST(TextFieldEditing, KeyboardNotificationsOnlyWhenTheKeyboardComesOrGoes) {
  std::vector<std::string> seen;
  auto& center = NotificationCenter::defaultCenter();
  auto t1 = center.addObserver(kKeyboardWillShowNotification, [&](const Notification& n) {
    seen.push_back("show");
    EXPECT_NE(n.info<Rect>(kKeyboardFrameKey), nullptr);
  });
  auto t2 = center.addObserver(kKeyboardWillHideNotification,
                               [&](const Notification&) { seen.push_back("hide"); });
  auto a = std::make_shared<TextField>();
  auto b = std::make_shared<TextField>();
  FieldLog logA;
  a->setDelegate(&logA);
  a->becomeFirstResponder();
  b->becomeFirstResponder();  // focus moves; keyboard stays
  EXPECT_EQ(logA.events.back(), "didEnd ");
  EXPECT_TRUE(b->isFirstResponder());
  b->resignFirstResponder();
  EXPECT_EQ(seen, (std::vector<std::string>{"show", "hide"}));
}

TEST(TextFieldEditing, RefusedOrDisabledFieldsDoNotTakeTheFocus) {
  auto field = std::make_shared<TextField>();
  FieldLog log;
  log.allowBegin = false;
  field->setDelegate(&log);
  EXPECT_FALSE(field->becomeFirstResponder());
  log.allowBegin = true;
  field->setEnabled(false);
  EXPECT_FALSE(field->becomeFirstResponder());
  EXPECT_EQ(Keyboard::shared().firstResponder(), nullptr);
}

TEST(TextFieldEditing, DestroyedFocusedFieldLeavesNoDanglingFocus) {
  {
    auto field = std::make_shared<TextField>();
    field->becomeFirstResponder();
  }
  EXPECT_EQ(Keyboard::shared().firstResponder(), nullptr);
  EXPECT_FALSE(Keyboard::shared().type("a"));
}

TEST(TextFieldEditing, DumpShowsPlaceholderSecureTextAndFocus) {
  auto field = std::make_shared<TextField>();
  field->setPlaceholder("请输入密码");
  EXPECT_EQ(field->dumpLine(), "field: (请输入密码)");
  field->secureTextEntry = true;
  field->setText("abc");
  field->becomeFirstResponder();
  EXPECT_EQ(field->dumpLine(), "field: *** (focused)");
  field->resignFirstResponder();
}

class LimitedText : public TextViewDelegate {
 public:
  bool textViewShouldChangeTextInRange(TextView& v, TextRange, const std::string& s) override {
    return v.text().size() + s.size() <= 4;
  }
  void textViewDidChange(TextView&) override { ++changes; }
  int changes = 0;
};

TEST(TextViewEditing, ReturnTypesALineBreakThroughTheDelegate) {
  auto view = std::make_shared<TextView>();
  LimitedText limit;
  view->setDelegate(&limit);
  view->becomeFirstResponder();
  Keyboard::shared().type("ab");
  Keyboard::shared().pressReturn();
  Keyboard::shared().type("cd");
  EXPECT_EQ(view->text(), "ab\nc");
  EXPECT_EQ(limit.changes, 4);
  EXPECT_EQ(view->dumpLine(), "textview: ab\\nc (focused)");
  view->resignFirstResponder();
  view->editable = false;
  EXPECT_FALSE(view->becomeFirstResponder());
}

}  // namespace
}  // namespace lk::ui
