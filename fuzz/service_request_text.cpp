// The stand-in service's readers of hostile bytes: request framing, form fields, UTF-8, the log
// line and picture headers. Each must finish, stay within its input and keep its promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/FormFields.h"
#include "service/PictureOutline.h"
#include "service/RequestChecks.h"
#include "service/RequestFraming.h"
#include "service/RequestLog.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lk::service;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto framing = RequestFraming::of(text, 1024, 64, 4096);
  if (framing.state == RequestFraming::State::Complete) check(framing.length <= text.size());
  if (framing.state == RequestFraming::State::Streamed) check(framing.length <= text.size());
  if (framing.state == RequestFraming::State::Malformed) check(!framing.problem.empty());

  const auto fields = FormFields::parse(text);
  check(fields.all().size() <= FormFields::kMaxFields);
  check(!fields.overfull() || fields.all().empty());
  (void)fields.isValidUtf8();
  (void)RequestChecks::isValidUtf8(text);

  const std::string line = RequestLog::line(text, text, text, 200);
  for (char c : line)
    check(static_cast<unsigned char>(c) >= 0x20 || c == '\t');
  std::size_t tabs = 0;
  for (char c : line)
    tabs += c == '\t' ? 1 : 0;
  check(tabs == 3);

  if (const auto jpeg = PictureOutline::ofJpeg(text)) check(jpeg->scans >= 0);
  if (const auto png = PictureOutline::ofPng(text)) check(png->width >= 0 && png->height >= 0);
  return 0;
}
