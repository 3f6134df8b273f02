// The photo of a new broadcast: sizes, the camera's orientation read from real EXIF-tagged JPEG
// files, and the Base64 text that goes into the "img" field.
#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <string>

#include "Classes/Broadcasts/BroadcastPhoto.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Image/ImageOrientation.h"

namespace lk::test {
namespace {

constexpr std::uint32_t kRed = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0x00FF00FF;
constexpr std::uint32_t kBlue = 0x0000FFFF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

// The scene as it should be seen: 64 x 32, red, green / blue, white quadrants.
std::uint32_t sceneAt(int x, int y) {
  const bool right = x >= 32;
  const bool bottom = y >= 16;
  if (!bottom) return right ? kGreen : kRed;
  return right ? kWhite : kBlue;
}

// The scene as a camera held in `orientation` stores it: stored (x, y) shows at the displayed
// position the orientation names.
Image storedScene(int orientation) {
  const bool sideways = orientation >= 5;
  const int w = sideways ? 32 : 64;
  const int h = sideways ? 64 : 32;
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int dx = x;
      int dy = y;
      switch (orientation) {
        case 2:
          dx = w - 1 - x;
          break;
        case 3:
          dx = w - 1 - x;
          dy = h - 1 - y;
          break;
        case 4:
          dy = h - 1 - y;
          break;
        case 5:
          dx = y;
          dy = x;
          break;
        case 6:
          dx = h - 1 - y;
          dy = x;
          break;
        case 7:
          dx = h - 1 - y;
          dy = w - 1 - x;
          break;
        case 8:
          dx = y;
          dy = w - 1 - x;
          break;
        default:
          break;
      }
      image.setPixel(x, y, sceneAt(dx, dy));
    }
  }
  return image;
}

// A JPEG of `image` with an EXIF block holding `orientation`, as a camera writes it.
std::string exifJpeg(const Image& image, int orientation) {
  const std::string jpeg = ImageCodec::encodeJpeg(image, 1.0);
  ExifData* data = exif_data_new();
  exif_data_set_byte_order(data, EXIF_BYTE_ORDER_MOTOROLA);
  ExifEntry* entry = exif_entry_new();
  exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
  exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
  exif_set_short(entry->data, EXIF_BYTE_ORDER_MOTOROLA, static_cast<ExifShort>(orientation));
  unsigned char* block = nullptr;
  unsigned int size = 0;
  exif_data_save_data(data, &block, &size);
  exif_entry_unref(entry);
  exif_data_unref(data);
  std::string app1 = "\xFF\xE1";
  app1 += static_cast<char>(((size + 2) >> 8) & 0xFF);
  app1 += static_cast<char>((size + 2) & 0xFF);
  app1.append(reinterpret_cast<const char*>(block), size);
  std::free(block);  // NOLINT: libexif hands out malloc'ed memory
  return jpeg.substr(0, 2) + app1 + jpeg.substr(2);
}

bool near(std::uint32_t a, std::uint32_t b) {
  for (int shift = 8; shift < 32; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > 60) return false;
  }
  return true;
}

TEST(BroadcastPhoto, SizesShrinkByAWholeFactorOfThreeHundredTwenty) {
  using Size = BroadcastPhoto::Size;
  EXPECT_EQ(BroadcastPhoto::scaledSize(1600, 1200), (Size{533, 400}));
  EXPECT_EQ(BroadcastPhoto::scaledSize(640, 640), (Size{320, 320}));
  EXPECT_EQ(BroadcastPhoto::scaledSize(1000, 300), (Size{1000, 300})) << "a side under 320";
  EXPECT_EQ(BroadcastPhoto::scaledSize(639, 2000), (Size{639, 2000})) << "factor 1";
  EXPECT_EQ(BroadcastPhoto::prepared(Image(1600, 1200), ImageOrientation::kUp).width(), 533);
}

TEST(BroadcastPhoto, EveryCameraOrientationEndsUprightMirroredOnesIncluded) {
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE("orientation " + std::to_string(orientation));
    const std::string file = exifJpeg(storedScene(orientation), orientation);
    ASSERT_EQ(static_cast<int>(jpegOrientation(file)), orientation);
    const auto decoded = ImageCodec::decode(file);
    ASSERT_TRUE(decoded.has_value());
    const Image upright = BroadcastPhoto::prepared(*decoded, jpegOrientation(file));
    ASSERT_EQ(upright.width(), 64);
    ASSERT_EQ(upright.height(), 32);
    EXPECT_TRUE(near(upright.pixelAt(16, 8), kRed));
    EXPECT_TRUE(near(upright.pixelAt(48, 8), kGreen));
    EXPECT_TRUE(near(upright.pixelAt(16, 24), kBlue));
    EXPECT_TRUE(near(upright.pixelAt(48, 24), kWhite));
    // What was redrawn needs no turn: sending it again sends the same bytes.
    EXPECT_EQ(BroadcastPhoto::prepared(upright, ImageOrientation::kUp), upright);
    EXPECT_EQ(BroadcastPhoto::base64Text(upright), BroadcastPhoto::base64Text(upright));
  }
}

TEST(BroadcastPhoto, FilesWithoutAUsableOrientationReadAsUpright) {
  EXPECT_EQ(jpegOrientation(ImageCodec::encodeJpeg(Image(8, 8), 0.5)), ImageOrientation::kUp);
  EXPECT_EQ(jpegOrientation(ImageCodec::encodePng(Image(8, 8))), ImageOrientation::kUp);
  EXPECT_EQ(jpegOrientation(exifJpeg(Image(8, 8), 9)), ImageOrientation::kUp);
  std::string cut = exifJpeg(Image(8, 8), 6);
  EXPECT_EQ(jpegOrientation(cut.substr(0, 12)), ImageOrientation::kUp);
}

TEST(BroadcastPhoto, TheImgFieldIsBase64WithOneLineFeedEscapedOnce) {
  const auto text = BroadcastPhoto::base64Text(storedScene(1));
  ASSERT_TRUE(text.has_value());
  // One line feed once as many characters as the JPEG has bytes were written.
  EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), 1);
  const std::string wire = FormValue(*text).encoded();
  EXPECT_NE(wire.find("%0A"), std::string::npos);
  EXPECT_EQ(wire.find("%25"), std::string::npos) << "escaped once, never twice";
  for (char c : wire) {
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '%') << c;
  }
  EXPECT_FALSE(BroadcastPhoto::base64Text(Image(0, 0)).has_value()) << "nothing to encode";
}

}  // namespace
}  // namespace lk::test
