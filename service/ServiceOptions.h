#pragma once

#include <optional>
#include <string>
#include <vector>

#include "service/Compression.h"

namespace lk::service {

// The command line of lokavo-service.
struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 8080;  // 0: any free port, printed on the first line of the output
  std::string database = ":memory:";
  bool reset = false;
  std::string logFile;
  Compression::Format compression = Compression::Format::Gzip;
  std::vector<std::string> faults;
  std::string faultFile;
  std::string verifyCode;  // fixed verification code (tests); random when empty
  std::string hotCityFile;
  std::size_t bodyLimit = 8u * 1024u * 1024u;
  int idleTimeoutSeconds = 5;      // a kept-alive connection waits this long for a request
  int requestTimeoutSeconds = 10;  // a request must arrive this long after its first byte
  // Prefix of the absolute URLs in answers ("base", picture URLs); empty: "http://HOST:PORT" of
  // the listening socket. Never taken from a request.
  std::string origin;

  static std::string usage();
  // Parses argv; on an error returns nullopt and sets `error`. "--help" sets `help`.
  static std::optional<ServiceOptions> parse(int argc, const char* const argv[], std::string& error,
                                             bool& help);
};

}  // namespace lk::service
