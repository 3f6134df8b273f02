#include "service/ServiceOptions.h"

#include "service/FaultInjector.h"
#include "service/FormFields.h"

#ifndef LOKAVO_HOTCITY_FILE
#define LOKAVO_HOTCITY_FILE "Resources/hotcity.json"
#endif

namespace lk::service {

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
         "  --body-limit BYTES  largest accepted request body (default 8 MiB)\n";
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
    } else if (arg == "--port" || arg == "--body-limit") {
      auto v = value();
      if (!v) return std::nullopt;
      const auto n = FormFields::parseInteger(*v);
      if (arg == "--port") {
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
               arg == "--fault-file" || arg == "--verify-code" || arg == "--hotcity") {
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
