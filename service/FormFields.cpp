#include "service/FormFields.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "service/RequestChecks.h"

namespace lk::service {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string decode(std::string_view text, bool plusIsSpace) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int hi = hexValue(text[i + 1]);
      const int lo = hexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(plusIsSpace && text[i] == '+' ? ' ' : text[i]);
  }
  return out;
}

}  // namespace

std::string FormFields::percentDecode(std::string_view text) {
  return decode(text, false);
}

std::string FormFields::formDecode(std::string_view text) {
  return decode(text, true);
}

FormFields FormFields::parse(std::string_view text) {
  FormFields fields;
  std::size_t start = 0;
  std::size_t pairs = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(start, end - start);
    if (!pair.empty()) {
      if (++pairs > kMaxFields) {
        fields.fields_.clear();
        fields.overfull_ = true;
        return fields;
      }
      const std::size_t eq = pair.find('=');
      const std::string_view name = pair.substr(0, eq);
      const std::string_view value =
          eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
      fields.fields_[formDecode(name)] = formDecode(value);
    }
    start = end + 1;
  }
  return fields;
}

bool FormFields::isValidUtf8() const {
  for (const auto& [name, value] : fields_) {
    if (!RequestChecks::isValidUtf8(name) || !RequestChecks::isValidUtf8(value)) return false;
  }
  return true;
}

std::optional<std::string> FormFields::get(const std::string& name) const {
  auto it = fields_.find(name);
  if (it == fields_.end()) return std::nullopt;
  return it->second;
}

std::string FormFields::text(const std::string& name, const std::string& fallback) const {
  auto it = fields_.find(name);
  return it == fields_.end() ? fallback : it->second;
}

std::optional<long long> FormFields::parseInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> FormFields::parseNumber(std::string_view text) {
  if (text.empty() || text.size() > 64) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<long long> FormFields::integer(const std::string& name, long long fallback) const {
  auto it = fields_.find(name);
  if (it == fields_.end()) return fallback;
  return parseInteger(it->second);
}

std::optional<double> FormFields::number(const std::string& name) const {
  auto it = fields_.find(name);
  if (it == fields_.end()) return std::nullopt;
  return parseNumber(it->second);
}

}  // namespace lk::service
