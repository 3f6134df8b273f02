#include <gtest/gtest.h>

#include "Platform/UI/Animation.h"
#include "Platform/UI/DrawnView.h"
#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/ViewAnimator.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

TEST(TextMeasurement, WideAndNarrowCharactersAdvanceByTheirClass) {
  Font f = Font::system(14);
  EXPECT_DOUBLE_EQ(TextMeasure::widthOfText("火锅", f), 28);
  EXPECT_DOUBLE_EQ(TextMeasure::widthOfText("ab1", f), 21);
  EXPECT_DOUBLE_EQ(TextMeasure::widthOfText("a b", f), 17.5);
  EXPECT_DOUBLE_EQ(TextMeasure::lineHeight(f), 17);
}

TEST(TextMeasurement, WrapsChineseAnywhereAndLatinAtSpaces) {
  Font f = Font::system(10);
  EXPECT_EQ(TextMeasure::wrap("一二三四五", f, 30), (std::vector<std::string>{"一二三", "四五"}));
  EXPECT_EQ(TextMeasure::wrap("hello world", f, 30), (std::vector<std::string>{"hello", "world"}));
  EXPECT_EQ(TextMeasure::wrap("a\nb", f, 100), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(TextMeasure::wrap("", f, 100), std::vector<std::string>{""});
  EXPECT_DOUBLE_EQ(TextMeasure::sizeOfText("一二三四五", f, 30).height, 24);
  EXPECT_DOUBLE_EQ(TextMeasure::sizeOfText("一二三四五", f, 30, 1).height, 12);
}

TEST(TextMeasurement, BrokenUtf8CountsAsReplacementCharacters) {
  std::string broken = "a\xE7\x81";  // cut in the middle of a character
  EXPECT_EQ(TextMeasure::decode(broken).size(), 3u);
  EXPECT_EQ(TextMeasure::utf16Length("😀"), 2u);
}

TEST(Images, HandlesDescribeWhatTheyHold) {
  EXPECT_TRUE(Image().isNull());
  EXPECT_EQ(Image::named("tabbar_item_search").describe(), "tabbar_item_search");
  auto bitmap = std::make_shared<Bitmap>(Bitmap{2, 1, std::vector<std::uint8_t>(8, 255)});
  Image decoded = Image::fromBitmap(bitmap);
  EXPECT_EQ(decoded.size(), (Size{2, 1}));
  EXPECT_EQ(decoded.describe(), "2x1 bitmap");
  auto bytes = std::make_shared<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{0xFF, 0xD8});
  Image encoded = Image::fromData(bytes);
  EXPECT_FALSE(encoded.isNull());
  EXPECT_EQ(encoded.describe(), "2 bytes");
  Image arrow = Image::named("grayArrow").flippedUpsideDown();
  EXPECT_EQ(arrow.describe(), "grayArrow (flipped)");
  EXPECT_FALSE(arrow == Image::named("grayArrow"));
  EXPECT_EQ(arrow.flippedUpsideDown(), Image::named("grayArrow"));
}

TEST(Image, StretchableCapsTravelWithThePictureButNotIntoDumps) {
  const Image bubble = Image::named("bubble", {240, 24});
  const Image grown = bubble.stretchableImage(0, 12);
  EXPECT_EQ(grown.leftCapWidth(), 0);
  EXPECT_EQ(grown.topCapHeight(), 12);
  EXPECT_EQ(grown.describe(), "bubble");
  EXPECT_EQ(grown.size(), bubble.size());
  EXPECT_FALSE(grown == bubble);
  EXPECT_EQ(grown.flippedUpsideDown().topCapHeight(), 12);
  const Image odd = bubble.stretchableImage(-3, -1);
  EXPECT_EQ(odd.leftCapWidth(), 0);
  EXPECT_EQ(odd.topCapHeight(), 0);
  EXPECT_EQ(odd, bubble);
}

class Card : public DrawnView {
 public:
  using DrawnView::DrawnView;
  void drawRect(Canvas& c, const Rect& r) const override {
    c.fillRect(r, highlighted ? Color::gray(0.8) : Color::white());
    c.drawImage(Image::named("default_shop"), Rect{5, 5, 60, 60}, 4);
    c.drawText("老王火锅", Rect{70, 5, 200, 20}, Font::boldSystem(16));
    c.drawWrappedText("很好吃很好吃很好吃", Rect{70, 30, 56, 0}, Font::system(14));
  }
  bool highlighted = false;
};

TEST(Canvas, DrawnViewRecordsItsOperationsInOrder) {
  auto card = std::make_shared<Card>(Rect{0, 0, 320, 70});
  Canvas canvas = card->render();
  ASSERT_EQ(canvas.ops().size(), 4u);
  EXPECT_EQ(canvas.ops()[0].color, Color::white());
  EXPECT_EQ(canvas.imageNames(), std::vector<std::string>{"default_shop"});
  EXPECT_EQ(canvas.ops()[1].cornerRadius, 4);
  EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"老王火锅", "很好吃很好吃很好吃"}));
  EXPECT_EQ(canvas.ops()[3].lines.size(), 3u);
  EXPECT_DOUBLE_EQ(canvas.ops()[3].rect.height(), 51);
  EXPECT_EQ(card->dumpLine(), "drawn: <default_shop> | 老王火锅 | 很好吃很好吃很好吃");
}

TEST(Animations, ProgressFollowsTheClockAndTheFinalStateApplies) {
  test::ScopedMainLoop loop;
  auto view = std::make_shared<View>(Rect{0, 0, 100, 100});
  bool done = false;
  ViewAnimator::animate(
      view, 0.2, {.alpha = 0.0, .scale = 0.7}, [&](bool finished) { done = finished; },
      Animation::Curve::kLinear, "loading", 0.5);
  loop->runFor(seconds(0.5));
  EXPECT_EQ(view->alpha(), 1);
  loop->runFor(seconds(0.1));
  EXPECT_NEAR(view->alpha(), 0.5, 0.1);
  EXPECT_NE(view->animationForKey("loading"), nullptr);
  loop->runFor(seconds(0.1));
  EXPECT_EQ(view->alpha(), 0);
  EXPECT_EQ(view->scale(), 0.7);
  EXPECT_TRUE(done);
  EXPECT_EQ(view->animationForKey("loading"), nullptr);
}

TEST(Animations, RemovingAnimationsStopsThemUnfinished) {
  test::ScopedMainLoop loop;
  auto view = std::make_shared<View>(Rect{0, 0, 100, 100});
  int calls = 0;
  bool finished = true;
  ViewAnimator::animate(
      view, 0.3, {.frame = Rect{0, 100, 100, 100}},
      [&](bool f) {
        ++calls;
        finished = f;
      },
      Animation::Curve::kEaseInOut, "slide");
  loop->runFor(seconds(0.1));
  view->removeAllAnimations();
  double y = view->frame().y();
  loop->runFor(seconds(1));
  EXPECT_EQ(view->frame().y(), y);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(finished);
}

TEST(Animations, AnimationOfAViewThatWentAwayEndsQuietly) {
  test::ScopedMainLoop loop;
  bool done = false;
  {
    auto view = std::make_shared<View>();
    ViewAnimator::animate(view, 0.2, {.alpha = 0.0}, [&](bool) { done = true; });
  }
  loop->runFor(seconds(1));
  EXPECT_TRUE(done);
}

}  // namespace
}  // namespace lk::ui
