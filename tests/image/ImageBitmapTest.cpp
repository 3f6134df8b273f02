#include "Platform/Image/ImageBitmap.h"

#include <gtest/gtest.h>

#include "Platform/Image/ImageCodec.h"

namespace lk {
namespace {

ImagePtr twoRows() {
  auto image = std::make_shared<Image>(2, 2);
  image->setPixel(0, 0, 0x11223344u);
  image->setPixel(1, 1, 0x55667788u);
  return image;
}

TEST(ImageBitmap, PixelsGoToTheToolkitAndBack) {
  const ImagePtr source = twoRows();
  const ui::Image handle = toUiImage(source);
  ASSERT_NE(handle.bitmap(), nullptr);
  EXPECT_EQ(handle.size(), (ui::Size{2, 2}));
  const ImagePtr back = fromUiImage(handle);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(*back, *source);
  EXPECT_TRUE(toUiImage(nullptr).isNull());
  EXPECT_EQ(fromUiImage(ui::Image::named("placeholder")), nullptr);
}

TEST(ImageBitmap, EncodedHandlesAreDecodedAndFlipsApplied) {
  const ImagePtr source = twoRows();
  const std::string png = ImageCodec::encodePng(*source);
  const auto bytes = std::make_shared<const std::vector<std::uint8_t>>(png.begin(), png.end());
  const ImagePtr decoded = fromUiImage(ui::Image::fromData(bytes));
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(*decoded, *source);
  const ImagePtr flipped = fromUiImage(ui::Image::fromData(bytes).flippedUpsideDown());
  ASSERT_NE(flipped, nullptr);
  EXPECT_EQ(flipped->pixelAt(0, 1), 0x11223344u);
  EXPECT_EQ(flipped->pixelAt(1, 0), 0x55667788u);
  const auto junk = std::make_shared<const std::vector<std::uint8_t>>(10, 0xAB);
  EXPECT_EQ(fromUiImage(ui::Image::fromData(junk)), nullptr);
}

}  // namespace
}  // namespace lk
