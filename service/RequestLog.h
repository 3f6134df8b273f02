#pragma once

#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace lk::service {

// One line per request: method, the request target as received (still percent-encoded), the
// raw form body ("-" when empty), the status and "conn=" with the client's port (which tells the
// client's connections apart), separated by tabs. The values of "login_loginpass" and "ssid"
// (however their names are escaped) are written as "***"; control characters and backslashes in
// a field are written as "\xHH" and "\\".
class RequestLog {
 public:
  static constexpr std::size_t kBodyLimit = 4096;

  bool open(const std::string& path);
  [[nodiscard]] bool isOpen() const { return out_.is_open(); }
  void write(std::string_view method, std::string_view target, std::string_view body, int status,
             int remotePort);

  [[nodiscard]] static std::string line(std::string_view method, std::string_view target,
                                        std::string_view body, int status, int remotePort);
  // Hides the secret values of a query string or form body (or of a target's query part).
  [[nodiscard]] static std::string maskSecrets(std::string_view text);
  [[nodiscard]] static std::string escapeControls(std::string_view text);

 private:
  std::mutex mutex_;
  std::ofstream out_;
};

}  // namespace lk::service
