// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <vector>
// (keep the order)
#include <jpeglib.h>

#include "Platform/Image/ImageCodec.h"
#include "service/Base64.h"
#include "service/PictureMaker.h"
#include "service/PictureOutline.h"
#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

using service::PictureOutline;

// A progressive JPEG of a gradient: one DC scan for all components, then `acScans` scans of one
// AC coefficient each (component 0 first, then 1).
std::string progressiveJpeg(int width, int height, int acScans) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  std::vector<jpeg_scan_info> scans;
  scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
  for (int k = 0; k < acScans; ++k) {
    const int coefficient = k % 63 + 1;
    scans.push_back({1, {k / 63, 0, 0, 0}, coefficient, coefficient, 0, 0});
  }
  info.scan_info = scans.data();
  info.num_scans = static_cast<int>(scans.size());
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(3u * static_cast<std::size_t>(width));
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) {
      row[3u * x] = static_cast<JSAMPLE>(x * 255 / width);
      row[3u * x + 1] = static_cast<JSAMPLE>(info.next_scanline * 255 / info.image_height);
      row[3u * x + 2] = 90;
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

// The same file declaring another size in its frame header (the data stays as it was).
std::string withDeclaredSize(std::string jpeg, int width, int height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      break;
    }
  }
  return jpeg;
}

TEST(PictureOutline, ReadsSizeAndScansFromTheHeadersAlone) {
  const std::string baseline = service::PictureMaker::jpegTile(640, 480, {30, 160, 90}, "A");
  const auto plain = PictureOutline::ofJpeg(baseline);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->width, 640);
  EXPECT_EQ(plain->height, 480);
  EXPECT_EQ(plain->scans, 1);
  EXPECT_TRUE(plain->withinLimits());

  const auto many = PictureOutline::ofJpeg(progressiveJpeg(64, 48, 69));
  ASSERT_TRUE(many.has_value());
  EXPECT_EQ(many->scans, 70);
  EXPECT_FALSE(many->withinLimits());
  const auto huge =
      PictureOutline::ofJpeg(withDeclaredSize(progressiveJpeg(16, 16, 0), 65500, 65500));
  ASSERT_TRUE(huge.has_value());
  EXPECT_EQ(huge->width, 65500);
  EXPECT_FALSE(huge->withinLimits());

  const auto png = PictureOutline::ofPng(service::PictureMaker::pngTile(100, 40, {1, 2, 3}, "B"));
  ASSERT_TRUE(png.has_value());
  EXPECT_EQ(png->width, 100);
  EXPECT_EQ(png->height, 40);
  EXPECT_FALSE(PictureOutline::ofJpeg("\xFF\xD8\xFF").has_value());
  EXPECT_FALSE(PictureOutline::ofJpeg(baseline.substr(0, 20)).has_value());
  EXPECT_FALSE(PictureOutline::ofPng("\x89PNG\r\n\x1a\n").has_value());
}

TEST(PictureOutline, LimitsAreTheClientImageLayers) {
  EXPECT_EQ(PictureOutline::kMaxDimension, Image::kMaxDimension);
  EXPECT_EQ(PictureOutline::kMaxScans, ImageCodec::kMaxJpegScans);
}

class PictureUpload : public SharedService {
 protected:
  static boost::json::object upload(const std::string& ssid, const std::string& picture) {
    return client().postJson("/client/submit/1000030/addMiniCmt",
                             "shop_id=1000030&content=pic&ssid=" + ssid + "&img=" +
                                 ServiceTestClient::escape(service::Base64::encode(picture)));
  }
};

TEST_F(PictureUpload, PicturesBeyondTheLimitsAreRefusedFromTheirHeaders) {
  const std::string ssid = login("lokavo", "lokavo123");
  ASSERT_FALSE(ssid.empty());
  EXPECT_EQ(upload(ssid, progressiveJpeg(64, 48, 9)).at("errNo").as_int64(), 0);

  const std::string tile = service::PictureMaker::jpegTile(64, 64, {200, 40, 40}, "X");
  for (const std::string& hostile :
       {withDeclaredSize(tile, 8200, 8200), withDeclaredSize(tile, 8192, 8193),
        withDeclaredSize(progressiveJpeg(16, 16, 0), 65500, 65500),
        withDeclaredSize(progressiveJpeg(16, 16, 0), 32768, 32768), progressiveJpeg(64, 48, 69)}) {
    const auto answer = upload(ssid, hostile);
    EXPECT_EQ(answer.at("errNo").as_int64(), 1004) << answer;
  }
  std::string png = service::PictureMaker::pngTile(64, 64, {1, 2, 3}, "P");
  png[18] = 0x23;  // width 0x2340 = 9024
  png[19] = 0x40;
  EXPECT_EQ(upload(ssid, png).at("errNo").as_int64(), 1004);
}

}  // namespace
}  // namespace lk::test
