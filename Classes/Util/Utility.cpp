#include "Classes/Util/Utility.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Classes/Json/JsonValue.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/UI/View.h"

namespace lk {
namespace {

std::string oneDecimal(float f) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(f));
  return buf;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return parts;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

int saturate(long long v) {
  return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
}

}  // namespace

std::string Utility::systemVersion() {
  return systemVersion(DeviceInfo::systemVersion());
}

std::string Utility::systemVersion(std::string_view osVersion) {
  return json::intFromText(osVersion) < 4 ? "3" : "4";
}

std::string Utility::formatFloat(float f) {
  const std::string s = oneDecimal(f);
  const auto parts = split(s, '.');
  if (parts.size() == 2 && json::intFromText(parts[1]) == 0) return std::string(parts[0]);
  return s;
}

int Utility::roundoff(float f) {
  const std::string s = oneDecimal(f);
  const auto parts = split(s, '.');
  if (parts.size() == 2) {
    const long long whole = json::intFromText(parts[0]);
    return saturate(whole + (json::intFromText(parts[1]) >= 5 ? 1 : 0));
  }
  return json::intFromText(s);
}

Utility::StarCounts Utility::cacluateRate(float rate, int fullRate) {
  StarCounts stars;
  float r = rate;
  // Counting down one by one in single precision is exact below 2^24, so taking the whole part
  // gives the same remainder; above it the count-down would never end, so the whole part
  // (saturated) is taken and nothing remains.
  if (r >= 1.0f) {
    if (r < 16777216.0f) {
      stars.full = static_cast<int>(r);
      r -= static_cast<float>(stars.full);
    } else {
      stars.full = INT_MAX;
      r = 0.0f;
    }
  }
  const double rest = static_cast<double>(r);
  if (rest >= 0.4 && rest <= 0.699) {
    stars.half = 1;
  } else if (rest >= 0.7 && rest <= 0.999 && stars.full < INT_MAX) {
    stars.full += 1;
  }
  stars.empty = saturate(static_cast<long long>(fullRate) - stars.full - stars.half);
  return stars;
}

std::string Utility::removeTag(std::string_view tag, std::string_view text) {
  std::string out(text);
  const std::string t(tag);
  replaceAll(out, "<" + t + ">", "");
  replaceAll(out, "</" + t + ">", "");
  // Most names hold no entity: one look for '&' spares three passes.
  if (out.find('&') == std::string::npos) return out;
  replaceAll(out, "&amp;", "&");
  replaceAll(out, "&quot;", "\"");
  replaceAll(out, "&#39;", "'");
  return out;
}

ui::Size Utility::scaleSize(ui::Size size, float limit) {
  // The phone's sizes are single precision.
  const auto w = static_cast<float>(size.width);
  const auto h = static_cast<float>(size.height);
  if (!(limit > 0.0f) || !std::isfinite(limit) || w < limit || h < limit) return size;
  const float a = std::trunc(w / limit);
  const float b = std::trunc(h / limit);
  const float m = std::min(a, b);
  if (!(m >= 1.0f) || !std::isfinite(m)) return size;
  return ui::Size{static_cast<double>(w / m), static_cast<double>(h / m)};
}

ui::Color Utility::colorWithHex(int hex) {
  const auto v = static_cast<unsigned>(hex);
  return ui::Color{((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0, 1.0};
}

void Utility::moveView(ui::View& view, int p) {
  ui::Rect frame = view.frame();
  frame.origin.y += p;
  view.setFrame(frame);
}

DateFormatter Utility::dateFormatter() {
  return DateFormatter("zh_CN", "yyyy-MM-dd");
}

std::string Utility::stringWithDate(Date date) {
  return dateFormatter().stringFromDate(date);
}

std::optional<Date> Utility::dateFromString(std::string_view text) {
  return dateFormatter().dateFromString(text);
}

int Utility::urlEncodeBytes(const std::uint8_t* input, std::size_t length, char* output,
                            std::size_t capacity) {
  if (input == nullptr || output == nullptr || length < 1 || capacity < 1) return 0;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::size_t written = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t b = input[i];
    const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9');
    const std::size_t need = plain || b == ' ' ? 1 : 3;
    // Room for these characters and the terminating zero.
    if (written + need + 1 > capacity) return 0;
    if (plain) {
      output[written++] = static_cast<char>(b);
    } else if (b == ' ') {
      output[written++] = '+';
    } else {
      output[written++] = '%';
      output[written++] = kHex[b >> 4];
      output[written++] = kHex[b & 0x0F];
    }
  }
  output[written] = '\0';
  return written > INT_MAX ? 0 : static_cast<int>(written);
}

}  // namespace lk
