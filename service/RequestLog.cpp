#include "service/RequestLog.h"

#include <array>

namespace lk::service {

bool RequestLog::open(const std::string& path) {
  out_.open(path, std::ios::app);
  return out_.is_open();
}

std::string RequestLog::maskSecrets(std::string_view text) {
  static constexpr std::array<std::string_view, 2> kSecret = {"login_loginpass=", "ssid="};
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const bool pairStart = i == 0 || text[i - 1] == '&' || text[i - 1] == '?';
    bool masked = false;
    if (pairStart) {
      for (auto key : kSecret) {
        if (text.substr(i, key.size()) == key) {
          out.append(key);
          out.append("***");
          i += key.size();
          while (i < text.size() && text[i] != '&')
            ++i;
          masked = true;
          break;
        }
      }
    }
    if (!masked) out.push_back(text[i++]);
  }
  return out;
}

std::string RequestLog::line(std::string_view method, std::string_view target,
                             std::string_view body, int status, int remotePort) {
  std::string masked = body.empty() ? "-" : maskSecrets(body);
  if (masked.size() > kBodyLimit) {
    const std::size_t total = masked.size();
    masked.resize(kBodyLimit);
    masked += "...(" + std::to_string(total) + " bytes)";
  }
  // Line breaks inside a body would split the record.
  for (char& c : masked) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  std::string result(method);
  result += '\t';
  result += maskSecrets(target);
  result += '\t';
  result += masked;
  result += '\t';
  result += std::to_string(status);
  result += "\tconn=";
  result += std::to_string(remotePort);
  return result;
}

void RequestLog::write(std::string_view method, std::string_view target, std::string_view body,
                       int status, int remotePort) {
  if (!out_.is_open()) return;
  const std::string text = line(method, target, body, status, remotePort);
  std::lock_guard guard(mutex_);
  out_ << text << '\n';
  out_.flush();
}

}  // namespace lk::service
