#include "Platform/Image/ImageCodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>

namespace lk {
namespace {

Image gradient(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto r = static_cast<std::uint32_t>(x * 255 / std::max(1, width - 1));
      const auto g = static_cast<std::uint32_t>(y * 255 / std::max(1, height - 1));
      image.setPixel(x, y, (r << 24) | (g << 16) | (0x40u << 8) | 0xFFu);
    }
  }
  return image;
}

void putBigEndian32(std::string& bytes, std::size_t at, std::uint32_t v) {
  bytes[at] = static_cast<char>(v >> 24);
  bytes[at + 1] = static_cast<char>(v >> 16);
  bytes[at + 2] = static_cast<char>(v >> 8);
  bytes[at + 3] = static_cast<char>(v);
}

// Rewrites the IHDR size of a PNG and mends the chunk's CRC so that only the size is wrong.
std::string pngClaimingSize(const std::string& png, std::uint32_t width, std::uint32_t height) {
  std::string bytes = png;
  // Signature (8), IHDR length (4), "IHDR" (4), width, height, 5 more bytes, CRC.
  putBigEndian32(bytes, 16, width);
  putBigEndian32(bytes, 20, height);
  const auto crc =
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), static_cast<uInt>(4 + 13));
  putBigEndian32(bytes, 29, static_cast<std::uint32_t>(crc));
  return bytes;
}

std::string jpegClaimingSize(const std::string& jpeg, std::uint16_t width, std::uint16_t height) {
  std::string bytes = jpeg;
  for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
    const auto marker = static_cast<unsigned char>(bytes[i + 1]);
    if (static_cast<unsigned char>(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      // FF Cn, length (2), precision (1), height (2), width (2).
      bytes[i + 5] = static_cast<char>(height >> 8);
      bytes[i + 6] = static_cast<char>(height & 0xFF);
      bytes[i + 7] = static_cast<char>(width >> 8);
      bytes[i + 8] = static_cast<char>(width & 0xFF);
      return bytes;
    }
  }
  ADD_FAILURE() << "no frame header";
  return bytes;
}

TEST(ImageCodecPng, RoundTripKeepsEveryPixelAndTransparency) {
  Image image = gradient(37, 21);
  image.setPixel(3, 4, 0x11223300u);
  image.setPixel(36, 20, 0xFEDCBA7Fu);
  const std::string png = ImageCodec::encodePng(image);
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(ImageCodec::formatOf(png), ImageCodec::Format::kPng);
  const auto decoded = ImageCodec::decode(png);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, image);
}

TEST(ImageCodecJpeg, RoundTripIsCloseAndLowerQualityIsSmaller) {
  const Image image = gradient(64, 48);
  const std::string best = ImageCodec::encodeJpeg(image, 0.95);
  const std::string upload = ImageCodec::encodeJpeg(image, 0.5);
  ASSERT_FALSE(best.empty());
  ASSERT_FALSE(upload.empty());
  EXPECT_LT(upload.size(), best.size());
  EXPECT_EQ(ImageCodec::formatOf(upload), ImageCodec::Format::kJpeg);
  const auto decoded = ImageCodec::decode(best);
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width(), 64);
  ASSERT_EQ(decoded->height(), 48);
  for (int y = 0; y < 48; y += 7) {
    for (int x = 0; x < 64; x += 9) {
      const std::uint32_t a = image.pixelAt(x, y);
      const std::uint32_t b = decoded->pixelAt(x, y);
      for (int shift = 8; shift <= 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        EXPECT_NEAR(ca, cb, 12) << x << "," << y;
      }
      EXPECT_EQ(b & 0xFF, 0xFFu);
    }
  }
}

TEST(ImageCodecJpeg, TransparentPixelsBecomeWhite) {
  const Image clear(8, 8);
  const auto decoded = ImageCodec::decode(ImageCodec::encodeJpeg(clear, 0.9));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_GE((decoded->pixelAt(4, 4) >> 24) & 0xFF, 250u);
}

TEST(ImageCodecHostile, UnknownEmptyAndEmptyPicturesGiveNothing) {
  EXPECT_FALSE(ImageCodec::decode("").has_value());
  EXPECT_FALSE(ImageCodec::decode("GIF89a....").has_value());
  EXPECT_FALSE(ImageCodec::decode(std::string("\xFF\xD8\xFF", 3)).has_value());
  EXPECT_FALSE(ImageCodec::decode(std::string("\x89PNG\r\n\x1A\n", 8)).has_value());
  EXPECT_TRUE(ImageCodec::encodePng(Image(0, 5)).empty());
  EXPECT_TRUE(ImageCodec::encodeJpeg(Image(5, 0), 0.5).empty());
}

TEST(ImageCodecHostile, TruncatedFilesGiveNothing) {
  const Image image = gradient(40, 40);
  const std::string png = ImageCodec::encodePng(image);
  const std::string jpeg = ImageCodec::encodeJpeg(image, 0.8);
  for (const std::size_t keep : {png.size() / 3, png.size() / 2, png.size() - 13}) {
    EXPECT_FALSE(ImageCodec::decode(png.substr(0, keep)).has_value()) << keep;
  }
  for (const std::size_t keep : {jpeg.size() / 3, jpeg.size() / 2, jpeg.size() - 40}) {
    EXPECT_FALSE(ImageCodec::decode(jpeg.substr(0, keep)).has_value()) << keep;
  }
}

TEST(ImageCodecHostile, PicturesLargerThanTheCapGiveNothing) {
  const Image image = gradient(16, 16);
  const std::string png = ImageCodec::encodePng(image);
  // The forged header is otherwise valid: the same file with its true size still decodes.
  ASSERT_TRUE(ImageCodec::decode(pngClaimingSize(png, 16, 16)).has_value());
  EXPECT_FALSE(ImageCodec::decode(pngClaimingSize(png, 8193, 16)).has_value());
  EXPECT_FALSE(ImageCodec::decode(pngClaimingSize(png, 16, 0x7FFFFFFF)).has_value());
  EXPECT_FALSE(ImageCodec::decode(pngClaimingSize(png, 100000, 100000)).has_value());

  const std::string jpeg = ImageCodec::encodeJpeg(image, 0.8);
  ASSERT_TRUE(ImageCodec::decode(jpegClaimingSize(jpeg, 16, 16)).has_value());
  EXPECT_FALSE(ImageCodec::decode(jpegClaimingSize(jpeg, 65000, 65000)).has_value());
  EXPECT_FALSE(ImageCodec::decode(jpegClaimingSize(jpeg, 8193, 8)).has_value());
}

TEST(ImageCodecHostile, SmallFileClaimingHugePictureGivesNothing) {
  // A few hundred bytes claiming 8192 x 8192 pixels with data for 16 x 16: the inflated stream
  // runs dry long before the claimed size.
  const std::string png = ImageCodec::encodePng(gradient(16, 16));
  EXPECT_FALSE(ImageCodec::decode(pngClaimingSize(png, 8192, 8192)).has_value());
}

}  // namespace
}  // namespace lk
