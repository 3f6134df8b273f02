#include <gtest/gtest.h>

#include "Classes/Util/Utility.h"

namespace lk {
namespace {

using Names = std::vector<std::string>;

TEST(UtilityDrawing, StarRateDrawsFullHalfAndEmptyStarsSideBySide) {
  ui::Canvas canvas;
  Utility::drawStarRate(3.5f, {10, 4}, {12, 11}, canvas);
  EXPECT_EQ(canvas.imageNames(), (Names{"shopinfo_star2", "shopinfo_star2", "shopinfo_star2",
                                        "shopinfo_star1", "shopinfo_star0"}));
  ASSERT_EQ(canvas.ops().size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(canvas.ops()[i].rect, (ui::Rect{10 + 12.0 * static_cast<double>(i), 4, 12, 11}));
  }
}

TEST(UtilityDrawing, StarRateClampsToFive) {
  ui::Canvas high;
  Utility::drawStarRate(9.0f, {0, 0}, {10, 10}, high);
  EXPECT_EQ(high.imageNames(), Names(5, "shopinfo_star2"));
  ui::Canvas none;
  Utility::drawStarRate(-2.0f, {0, 0}, {10, 10}, none);
  EXPECT_EQ(none.imageNames(), Names(5, "shopinfo_star0"));
  ui::Canvas almost;
  Utility::drawStarRate(4.95f, {0, 0}, {10, 10}, almost);
  EXPECT_EQ(almost.imageNames(), Names(5, "shopinfo_star2"));
}

TEST(UtilityDrawing, UserLevelsOutsideThePicturesShowTheNearestOne) {
  // A level the service invents later must not leave a hole where the badge goes.
  EXPECT_EQ(Utility::userLevelImageName(0), "userlevel_0");
  EXPECT_EQ(Utility::userLevelImageName(Utility::kMaxUserLevel),
            "userlevel_" + std::to_string(Utility::kMaxUserLevel));
  EXPECT_EQ(Utility::userLevelImageName(Utility::kMaxUserLevel + 5),
            "userlevel_" + std::to_string(Utility::kMaxUserLevel));
  EXPECT_EQ(Utility::userLevelImageName(-1), "userlevel_0");
  ui::Canvas canvas;
  Utility::drawUserLevel(99, {0, 0, 40, 12}, canvas);
  EXPECT_EQ(canvas.imageNames(), (Names{Utility::userLevelImageName(99)}));
}

TEST(UtilityDrawing, UserLevelGradientLinesAndClips) {
  ui::Canvas canvas;
  Utility::drawUserLevel(3, {5, 5, 30, 10}, canvas);
  Utility::drawGradientWithBeginColor(Utility::colorWithHex(0xFFFFFF),
                                      Utility::colorWithHex(0x000000), canvas, {0, 10, 320, 40});
  Utility::drawBreakLine({0, 49, 320, 1}, canvas);
  Utility::clipContext(canvas, {0, 0, 100, 50}, 6);
  EXPECT_EQ(canvas.imageNames(), (Names{"userlevel_3"}));
  ASSERT_EQ(canvas.ops().size(), 4u);
  const ui::DrawOp& gradient = canvas.ops()[1];
  EXPECT_EQ(gradient.kind, ui::DrawOp::Kind::kGradient);
  EXPECT_EQ(gradient.from, (ui::Point{160, 10}));
  EXPECT_EQ(gradient.to, (ui::Point{160, 50}));
  EXPECT_EQ(gradient.color, ui::Color::white());
  EXPECT_EQ(canvas.ops()[2].kind, ui::DrawOp::Kind::kFillRect);
  EXPECT_EQ(canvas.ops()[3].kind, ui::DrawOp::Kind::kClip);
  EXPECT_EQ(canvas.ops()[3].cornerRadius, 6);  // the replay rounds the clip's corners
}

ImagePtr opaque(int w, int h) {
  auto image = std::make_shared<Image>(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      image->setPixel(x, y, 0x10203000u | static_cast<std::uint32_t>(y + 1));
  }
  return image;
}

TEST(UtilityDrawing, ClippedImagesTakeTheNewSizeAndRoundedCorners) {
  const ImagePtr source = opaque(40, 20);
  const ImagePtr small = Utility::clipImage(source, {20, 10});
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->width(), 20);
  EXPECT_EQ(small->height(), 10);
  const ImagePtr rounded = Utility::clipImage(source, {20, 20}, 5);
  EXPECT_EQ(rounded->pixelAt(0, 0) & 0xFF, 0u) << "corner cut away";
  EXPECT_EQ(rounded->pixelAt(19, 19) & 0xFF, 0u);
  EXPECT_NE(rounded->pixelAt(10, 10) & 0xFF, 0u);
  EXPECT_NE(rounded->pixelAt(0, 10) & 0xFF, 0u) << "edges stay";
  EXPECT_EQ(Utility::clipImage(nullptr, {5, 5}), nullptr);
  EXPECT_TRUE(Utility::clipImage(source, {-5, 5})->empty());
}

TEST(UtilityDrawing, ReversedImageIsUpsideDown) {
  const ImagePtr source = opaque(3, 4);
  const ImagePtr reversed = Utility::reverseImage(source);
  EXPECT_EQ(reversed->width(), 3);
  EXPECT_EQ(reversed->height(), 4);
  EXPECT_EQ(reversed->pixelAt(1, 0), source->pixelAt(1, 3));
  EXPECT_EQ(reversed->pixelAt(2, 3), source->pixelAt(2, 0));
  EXPECT_EQ(*Utility::reverseImage(reversed), *source);
  const ui::Image arrow = ui::Image::named("arrow");
  EXPECT_TRUE(Utility::reverseImage(arrow).isFlipped());
  EXPECT_FALSE(Utility::reverseImage(Utility::reverseImage(arrow)).isFlipped());
}

}  // namespace
}  // namespace lk
