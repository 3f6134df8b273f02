#include "service/RequestLog.h"

#include <algorithm>
#include <array>

#include "service/FormFields.h"

namespace lk::service {

bool RequestLog::open(const std::string& path) {
  out_.open(path, std::ios::app);
  return out_.is_open();
}

std::string RequestLog::maskSecrets(std::string_view text) {
  // Names are compared decoded, as the service reads them: "%73sid" is a session id too.
  static constexpr std::array<std::string_view, 2> kSecret = {"login_loginpass", "ssid"};
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const bool pairStart = i == 0 || text[i - 1] == '&' || text[i - 1] == '?';
    if (pairStart) {
      const std::size_t nameEnd = std::min(text.find('=', i), text.find('&', i));
      if (nameEnd != std::string_view::npos && text[nameEnd] == '=') {
        const std::string name = FormFields::formDecode(text.substr(i, nameEnd - i));
        if (std::find(kSecret.begin(), kSecret.end(), name) != kSecret.end()) {
          out.append(text.substr(i, nameEnd + 1 - i));
          out.append("***");
          i = std::min(text.find('&', nameEnd), text.size());
          continue;
        }
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

std::string RequestLog::escapeControls(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string RequestLog::line(std::string_view method, std::string_view target,
                             std::string_view body, int status, int remotePort) {
  // Cut first: a secret's value that reaches the cut is masked to its end all the same.
  std::string masked = body.empty() ? "-" : maskSecrets(body.substr(0, kBodyLimit));
  if (body.size() > kBodyLimit) masked += "...(" + std::to_string(body.size()) + " bytes)";
  // Tabs and line breaks inside a field would split the record, and raw escape bytes would
  // reach whatever terminal shows the log.
  std::string result = escapeControls(method);
  result += '\t';
  result += escapeControls(maskSecrets(target));
  result += '\t';
  result += escapeControls(masked);
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
