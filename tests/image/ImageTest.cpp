#include "Platform/Image/Image.h"

#include <gtest/gtest.h>

#include "Platform/Crypto/Md5.h"

namespace lk {
namespace {

// 3 x 2 picture whose pixel (x, y) holds x in red and y in green.
Image numbered() {
  Image image(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      image.setPixel(
          x, y,
          (static_cast<std::uint32_t>(x) << 24) | (static_cast<std::uint32_t>(y) << 16) | 0xFFu);
    }
  }
  return image;
}

std::uint32_t at(int x, int y) {
  return (static_cast<std::uint32_t>(x) << 24) | (static_cast<std::uint32_t>(y) << 16) | 0xFFu;
}

TEST(Image, SizesAreCappedAndBadBuffersGiveTransparentPictures) {
  EXPECT_EQ(Image(9000, 10).width(), Image::kMaxDimension);
  EXPECT_TRUE(Image(-4, 10).empty());
  const Image wrong(2, 2, std::vector<std::uint8_t>(3, 0xFF));
  EXPECT_EQ(wrong.pixels().size(), 16u);
  EXPECT_EQ(wrong.pixelAt(1, 1), 0u);
  EXPECT_EQ(numbered().pixelAt(3, 0), 0u);
}

TEST(Image, TurnsClockwise) {
  const Image source = numbered();
  const Image quarter = source.rotated(90);
  ASSERT_EQ(quarter.width(), 2);
  ASSERT_EQ(quarter.height(), 3);
  // The left column of the source becomes the top row, read bottom to top.
  EXPECT_EQ(quarter.pixelAt(0, 0), at(0, 1));
  EXPECT_EQ(quarter.pixelAt(1, 0), at(0, 0));
  EXPECT_EQ(quarter.pixelAt(1, 2), at(2, 0));

  const Image half = source.rotated(180);
  EXPECT_EQ(half.width(), 3);
  EXPECT_EQ(half.pixelAt(0, 0), at(2, 1));
  EXPECT_EQ(half.pixelAt(2, 1), at(0, 0));

  const Image threeQuarters = source.rotated(-90);
  EXPECT_EQ(threeQuarters, source.rotated(270));
  EXPECT_EQ(threeQuarters.pixelAt(0, 0), at(2, 0));
  EXPECT_EQ(source.rotated(90).rotated(90), half);
  EXPECT_EQ(source.rotated(45), source);
}

TEST(Image, ScalingAveragesTheCoveredArea) {
  Image image(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x)
      image.setPixel(x, y, x < 2 ? 0x000000FFu : 0xC8C8C8FFu);
  }
  image.setPixel(0, 0, 0x640000FFu);
  const Image half = image.scaled(2, 1);
  ASSERT_EQ(half.width(), 2);
  ASSERT_EQ(half.height(), 1);
  EXPECT_EQ(half.pixelAt(0, 0), 0x190000FFu);  // 100 / 4 = 25
  EXPECT_EQ(half.pixelAt(1, 0), 0xC8C8C8FFu);
  const Image doubled = numbered().scaled(6, 4);
  EXPECT_EQ(doubled.pixelAt(5, 3), at(2, 1));
  EXPECT_EQ(doubled.pixelAt(1, 1), at(0, 0));
  EXPECT_TRUE(numbered().scaled(0, 3).empty());
}

TEST(Md5, KnownDigestsInLowerCaseHex) {
  EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(md5Hex("http://img.example/a.png"), md5Hex(std::string("http://img.example/a.png")));
  EXPECT_EQ(md5Hex("\xE5\x9B\xBE").size(), 32u);
}

}  // namespace
}  // namespace lk
