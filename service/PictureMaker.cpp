#include "service/PictureMaker.h"

#include <png.h>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>

#include <algorithm>
#include <array>
#include <mutex>
#include <stdexcept>

#include "service/PictureOutline.h"

namespace lk::service {

namespace {

// 5 x 7 glyphs, one byte a row, the low five bits from left (bit 4) to right (bit 0).
struct Glyph {
  char c;
  std::array<std::uint8_t, 7> rows;
};

constexpr std::array<Glyph, 38> kGlyphs = {{
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
}};

const Glyph* glyphFor(char c) {
  for (const auto& g : kGlyphs) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), rgb_(3u * width * height) {}
  void set(int x, int y, PictureMaker::Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    auto* p = &rgb_[3u * (static_cast<std::size_t>(y) * width_ + x)];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
  void text(std::string_view label, int scale, PictureMaker::Rgb colour, int centreX, int centreY) {
    const int advance = 6 * scale;
    const int textWidth = static_cast<int>(label.size()) * advance - scale;
    int x0 = centreX - textWidth / 2;
    const int y0 = centreY - 7 * scale / 2;
    for (char c : label) {
      if (const Glyph* g = glyphFor(c)) {
        for (int row = 0; row < 7; ++row) {
          for (int col = 0; col < 5; ++col) {
            if ((g->rows[static_cast<std::size_t>(row)] >> (4 - col)) & 1) {
              for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                  set(x0 + col * scale + dx, y0 + row * scale + dy, colour);
                }
              }
            }
          }
        }
      }
      x0 += advance;
    }
  }
  [[nodiscard]] const std::vector<std::uint8_t>& rgb() const { return rgb_; }
  [[nodiscard]] std::uint8_t* data() { return rgb_.data(); }
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> rgb_;
};

Canvas tile(int width, int height, PictureMaker::Rgb colour, std::string_view label) {
  Canvas canvas(width, height);
  // A diagonal gradient from the colour, with a white border; written straight into the buffer
  // because the sample data makes many of these at start.
  std::uint8_t* p = canvas.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, p += 3) {
      if (x < 3 || y < 3 || x >= width - 3 || y >= height - 3) {
        p[0] = p[1] = p[2] = 255;
        continue;
      }
      const int shift = 30 - (x + y) * 60 / (width + height);
      p[0] = static_cast<std::uint8_t>(std::clamp(colour.r + shift, 0, 255));
      p[1] = static_cast<std::uint8_t>(std::clamp(colour.g + shift, 0, 255));
      p[2] = static_cast<std::uint8_t>(std::clamp(colour.b + shift, 0, 255));
    }
  }
  const int scale = std::max(
      1, std::min(width / std::max<int>(1, 7 * static_cast<int>(label.size())), height / 14));
  canvas.text(label, scale, {255, 255, 255}, width / 2, height / 2);
  return canvas;
}

void pngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void pngFlush(png_structp) {}

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

// Stops a progressive file whose scans go on past the limit, however its markers looked.
void jpegProgress(j_common_ptr info) {
  if (!info->is_decompressor) return;
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > PictureOutline::kMaxScans) jpegErrorExit(info);
}

constexpr long kMaxWorkingMemory = 512L * 1024 * 1024;

// Decodes at a reduced scale into `rgb`; false on any decoding error. Kept free of objects with
// destructors between setjmp and longjmp.
bool decodeScaled(const unsigned char* data, unsigned long size, std::vector<std::uint8_t>& rgb,
                  int& width, int& height) {
  jpeg_decompress_struct info{};
  JpegErrorManager errors{};
  jpeg_progress_mgr progress{};
  progress.progress_monitor = jpegProgress;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = jpegErrorExit;
  errors.base.output_message = [](j_common_ptr) {};
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxWorkingMemory;
  info.progress = &progress;
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  // The decoder allocates for the declared size when it starts: refuse before that.
  if (info.image_width == 0 || info.image_height == 0 ||
      info.image_width > static_cast<JDIMENSION>(PictureOutline::kMaxDimension) ||
      info.image_height > static_cast<JDIMENSION>(PictureOutline::kMaxDimension)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  info.scale_num = 1;
  info.scale_denom = (info.image_width > 400 || info.image_height > 400) ? 4 : 1;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  if (width <= 0 || height <= 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  rgb.assign(3u * static_cast<std::size_t>(width) * height, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &rgb[3u * static_cast<std::size_t>(info.output_scanline) * width];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::string PictureMaker::encodeJpeg(const std::vector<std::uint8_t>& rgb, int width, int height,
                                     int quality) {
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
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row =
        const_cast<JSAMPLE*>(&rgb[3u * static_cast<std::size_t>(info.next_scanline) * width]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

std::string PictureMaker::encodePng(const std::vector<std::uint8_t>& rgb, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("png_create_write_struct failed");
  }
  std::string out;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("png encoding failed");
  }
  png_set_write_fn(png, &out, pngWrite, pngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(&rgb[3u * static_cast<std::size_t>(y) * width]));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string PictureMaker::jpegTile(int width, int height, Rgb colour, std::string_view label,
                                   int quality) {
  const Canvas canvas = tile(width, height, colour, label);
  return encodeJpeg(canvas.rgb(), width, height, quality);
}

std::string PictureMaker::pngTile(int width, int height, Rgb colour, std::string_view label) {
  const Canvas canvas = tile(width, height, colour, label);
  return encodePng(canvas.rgb(), width, height);
}

std::string PictureMaker::verifyCodePng(std::string_view code, std::uint32_t seed) {
  constexpr int kWidth = 100;
  constexpr int kHeight = 40;
  Canvas canvas(kWidth, kHeight);
  std::uint32_t state = seed | 1u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto n = static_cast<std::uint8_t>(215 + next() % 40);
      canvas.set(x, y, {n, static_cast<std::uint8_t>(n - 10), static_cast<std::uint8_t>(n - 20)});
    }
  }
  for (int line = 0; line < 4; ++line) {
    const int y0 = static_cast<int>(next() % kHeight);
    const int y1 = static_cast<int>(next() % kHeight);
    for (int x = 0; x < kWidth; ++x)
      canvas.set(x, y0 + (y1 - y0) * x / kWidth, {150, 150, 190});
  }
  canvas.text(code, 3, {40, 40, 120}, kWidth / 2, kHeight / 2);
  return encodePng(canvas.rgb(), kWidth, kHeight);
}

bool PictureMaker::looksLikeJpeg(std::string_view bytes) {
  return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8;
}

bool PictureMaker::looksLikePng(std::string_view bytes) {
  return bytes.size() > 8 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8);
}

std::optional<std::string> PictureMaker::jpegThumbnail(std::string_view jpeg) {
  if (!looksLikeJpeg(jpeg)) return std::nullopt;
  const auto outline = PictureOutline::ofJpeg(jpeg);
  if (!outline || !outline->withinLimits()) return std::nullopt;
  // One decode at a time: parallel uploads must not add their working memory up.
  static std::mutex decoding;
  std::lock_guard guard(decoding);
  std::vector<std::uint8_t> rgb;
  int width = 0;
  int height = 0;
  if (!decodeScaled(reinterpret_cast<const unsigned char*>(jpeg.data()),
                    static_cast<unsigned long>(jpeg.size()), rgb, width, height)) {
    return std::nullopt;
  }
  return encodeJpeg(rgb, width, height, 70);
}

}  // namespace lk::service
