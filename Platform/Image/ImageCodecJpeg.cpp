// JPEG backend of ImageCodec on libjpeg-turbo.
#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs size_t and FILE declared first, jerror.h needs jpeglib.h.
#include <jpeglib.h>
// (keep the order)
#include <jerror.h>

#include "Platform/Image/ImageCodec.h"

namespace lk {
namespace {

constexpr long kMaxWorkingMemory = 512L * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool truncated;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
  // Warnings stay quiet, but a file cut short (which libjpeg pads with grey) is no picture.
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (level < 0 && err->base.msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

void onOutputMessage(j_common_ptr /*cinfo*/) {}

void onProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number > ImageCodec::kMaxJpegScans) onError(cinfo);
}

void installErrorManager(ErrorManager& err) {
  jpeg_std_error(&err.base);
  err.truncated = false;
  err.base.error_exit = onError;
  err.base.emit_message = onMessage;
  err.base.output_message = onOutputMessage;
}

// Everything that may be live across a longjmp lives here, outside the jumping function's frame.
struct DecodeState {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  jpeg_progress_mgr progress{};
  std::vector<std::uint8_t> pixels;
  std::vector<std::uint8_t> row;
};

bool runDecode(DecodeState& s, std::string_view bytes, int& width, int& height) {
  if (setjmp(s.err.jump) != 0) return false;
  jpeg_create_decompress(&s.cinfo);
  s.cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
  s.progress.progress_monitor = onProgress;
  s.cinfo.progress = &s.progress;
  jpeg_mem_src(&s.cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&s.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (s.cinfo.image_width == 0 || s.cinfo.image_height == 0 ||
      s.cinfo.image_width > static_cast<unsigned>(Image::kMaxDimension) ||
      s.cinfo.image_height > static_cast<unsigned>(Image::kMaxDimension)) {
    return false;
  }
  s.cinfo.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&s.cinfo);
  width = static_cast<int>(s.cinfo.output_width);
  height = static_cast<int>(s.cinfo.output_height);
  if (s.cinfo.output_components != 4) return false;
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  s.pixels.resize(stride * static_cast<std::size_t>(height));
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    JSAMPROW rowPointer = s.pixels.data() + stride * s.cinfo.output_scanline;
    if (jpeg_read_scanlines(&s.cinfo, &rowPointer, 1) != 1) return false;
  }
  jpeg_finish_decompress(&s.cinfo);
  return !s.err.truncated;
}

struct EncodeState {
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> row;
};

bool runEncode(EncodeState& s, const Image& image, int quality) {
  if (setjmp(s.err.jump) != 0) return false;
  jpeg_create_compress(&s.cinfo);
  jpeg_mem_dest(&s.cinfo, &s.buffer, &s.size);
  s.cinfo.image_width = static_cast<JDIMENSION>(image.width());
  s.cinfo.image_height = static_cast<JDIMENSION>(image.height());
  s.cinfo.input_components = 3;
  s.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&s.cinfo);
  jpeg_set_quality(&s.cinfo, quality, TRUE);
  jpeg_start_compress(&s.cinfo, TRUE);
  const std::size_t width = static_cast<std::size_t>(image.width());
  s.row.resize(width * 3);
  const std::uint8_t* src = image.pixels().data();
  while (s.cinfo.next_scanline < s.cinfo.image_height) {
    const std::uint8_t* line = src + width * 4 * s.cinfo.next_scanline;
    for (std::size_t x = 0; x < width; ++x) {
      const unsigned alpha = line[x * 4 + 3];
      for (int c = 0; c < 3; ++c) {
        // Composite onto white.
        s.row[x * 3 + c] = static_cast<std::uint8_t>(
            (line[x * 4 + c] * alpha + 255u * (255u - alpha) + 127u) / 255u);
      }
    }
    JSAMPROW rowPointer = s.row.data();
    jpeg_write_scanlines(&s.cinfo, &rowPointer, 1);
  }
  jpeg_finish_compress(&s.cinfo);
  return true;
}

}  // namespace

std::optional<Image> ImageCodec::decodeJpeg(std::string_view bytes) {
  DecodeState s;
  s.cinfo.err = &s.err.base;
  installErrorManager(s.err);
  int width = 0;
  int height = 0;
  const bool ok = runDecode(s, bytes, width, height);
  jpeg_destroy_decompress(&s.cinfo);
  if (!ok) return std::nullopt;
  return Image(width, height, std::move(s.pixels));
}

std::string ImageCodec::encodeJpeg(const Image& image, double quality) {
  if (image.empty()) return {};
  EncodeState s;
  s.cinfo.err = &s.err.base;
  installErrorManager(s.err);
  const double q = std::isfinite(quality) ? std::clamp(quality, 0.0, 1.0) : 0.5;
  const bool ok = runEncode(s, image, std::max(1, static_cast<int>(std::lround(q * 100))));
  jpeg_destroy_compress(&s.cinfo);
  std::string out;
  if (ok && s.buffer != nullptr) out.assign(reinterpret_cast<const char*>(s.buffer), s.size);
  std::free(s.buffer);
  return out;
}

}  // namespace lk
