#include "service/ServiceOptions.h"

#include "service/FaultInjector.h"
#include "service/FormFields.h"

#ifndef LOKAVO_HOTCITY_FILE
#define LOKAVO_HOTCITY_FILE "Resources/hotcity.json"
#endif

namespace lk::service {

namespace {

// "http://host[:port]" or "https://...": a scheme, a host and nothing that could break out of
// a URL or a JSON string.
bool validOrigin(const std::string& text) {
  std::string rest;
  for (const char* scheme : {"http://", "https://"}) {
    if (text.rfind(scheme, 0) == 0) rest = text.substr(std::string(scheme).size());
  }
  if (rest.empty() || rest.size() > 200) return false;
  for (char c : rest) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == ':' || c == '-' || c == '[' || c == ']';
    if (!ok) return false;
  }
  return rest.front() != ':';
}

}  // namespace

std::string ServiceOptions::usage() {
  return "usage: lokavo-service [options]\n"
         "  --port N            listen on port N of 127.0.0.1 (0: a free port; the port is the\n"
         "                      first line printed)\n"
         "  --host ADDR         loopback address to listen on (default 127.0.0.1)\n"
         "  --db PATH           SQLite database, created and filled on first start\n"
         "                      (default: in memory)\n"
         "  --reset             delete the database first\n"
         "  --log FILE          append one line per request to FILE\n"
         "  --zlib              compress answers as length-prefixed zlib instead of gzip\n"
         "  --fault RULE        inject a fault: \"PATH-PREFIX KIND[=VALUE] [times=N]\" with KIND\n"
         "                      delay=MS, drop, status=CODE, truncate, corrupt or notjson\n"
         "  --fault-file FILE   read fault rules from FILE (one a line, reread when it changes)\n"
         "  --verify-code CODE  hand out CODE as every verification code (for tests)\n"
         "  --hotcity FILE      the client's hot-city table used to seed the cities\n"
         "  --body-limit BYTES  largest accepted request body (default 8 MiB)\n"
         "  --idle-timeout S    close a connection that sends no request for S seconds (5)\n"
         "  --request-timeout S answer 408 to a request not received S seconds after its\n"
         "                      first byte (10)\n"
         "  --origin URL        prefix of absolute URLs in answers, such as http://host:port\n"
         "                      (default: http:// and the address listened on)\n";
}

std::optional<ServiceOptions> ServiceOptions::parse(int argc, const char* const argv[],
                                                    std::string& error, bool& help) {
  ServiceOptions options;
  options.hotCityFile = LOKAVO_HOTCITY_FILE;
  help = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    if (arg == "--help" || arg == "-h") {
      help = true;
      return options;
    } else if (arg == "--reset") {
      options.reset = true;
    } else if (arg == "--zlib") {
      options.compression = Compression::Format::LengthPrefixedZlib;
    } else if (arg == "--port" || arg == "--body-limit" || arg == "--idle-timeout" ||
               arg == "--request-timeout") {
      auto v = value();
      if (!v) return std::nullopt;
      const auto n = FormFields::parseInteger(*v);
      if (arg == "--idle-timeout" || arg == "--request-timeout") {
        if (!n || *n < 1 || *n > 3600) {
          error = arg + " needs a number of seconds from 1 to 3600";
          return std::nullopt;
        }
        (arg == "--idle-timeout" ? options.idleTimeoutSeconds : options.requestTimeoutSeconds) =
            static_cast<int>(*n);
      } else if (arg == "--port") {
        if (!n || *n < 0 || *n > 65535) {
          error = "--port needs a number from 0 to 65535";
          return std::nullopt;
        }
        options.port = static_cast<int>(*n);
      } else {
        if (!n || *n < 1024) {
          error = "--body-limit needs a number of bytes (at least 1024)";
          return std::nullopt;
        }
        options.bodyLimit = static_cast<std::size_t>(*n);
      }
    } else if (arg == "--host" || arg == "--db" || arg == "--log" || arg == "--fault" ||
               arg == "--fault-file" || arg == "--verify-code" || arg == "--hotcity" ||
               arg == "--origin") {
      auto v = value();
      if (!v) return std::nullopt;
      if (arg == "--host") {
        if (v->rfind("127.", 0) != 0 && *v != "localhost" && *v != "::1") {
          error = "--host must be a loopback address";
          return std::nullopt;
        }
        options.host = *v;
      } else if (arg == "--db") {
        options.database = *v;
      } else if (arg == "--log") {
        options.logFile = *v;
      } else if (arg == "--fault") {
        if (!FaultInjector::parseRule(*v, &error)) return std::nullopt;
        options.faults.push_back(*v);
      } else if (arg == "--fault-file") {
        options.faultFile = *v;
      } else if (arg == "--origin") {
        if (!validOrigin(*v)) {
          error = "--origin needs http:// or https:// and a host, without a path";
          return std::nullopt;
        }
        options.origin = *v;
      } else if (arg == "--verify-code") {
        options.verifyCode = *v;
      } else {
        options.hotCityFile = *v;
      }
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace lk::service
