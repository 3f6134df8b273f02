#include "service/ServiceServer.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "service/AccountHandlers.h"
#include "service/BroadcastHandlers.h"
#include "service/Compression.h"
#include "service/CouponHandlers.h"
#include "service/DirectoryHandlers.h"
#include "service/PictureHandlers.h"
#include "service/RequestChecks.h"
#include "service/Schema.h"
#include "service/SeedData.h"
#include "service/ShopHandlers.h"
#include "service/SubmitHandlers.h"

namespace lk::service {

namespace {

constexpr const char* kAnyPath = "[\\s\\S]*";
thread_local std::string tLoggedBody;

ConnectionGate::Limits connectionLimits(const ServiceOptions& options) {
  ConnectionGate::Limits limits;
  limits.bodyLimit = options.bodyLimit;
  limits.idleTimeout = std::chrono::seconds(options.idleTimeoutSeconds);
  limits.requestTimeout = std::chrono::seconds(options.requestTimeoutSeconds);
  return limits;
}

// Damages a compressed body after its header, so that the header still says "compressed" but
// the stream does not inflate.
void corrupt(std::string& body) {
  const std::size_t start = std::min<std::size_t>(body.size(), 12);
  for (std::size_t i = start; i < body.size(); i += 3)
    body[i] = static_cast<char>(body[i] ^ 0x5A);
}

}  // namespace

ServiceServer::ServiceServer(const ServiceOptions& options)
    : options_(options),
      db_(options.database),
      sessions_(db_),
      context_{db_, catalog_, sessions_, options.verifyCode},
      server_(connectionLimits(options)) {
  Schema::migrate(db_);
  SeedData::generate(db_, options_.hotCityFile, ServiceContext::now());
  catalog_.load(db_);
  for (const auto& rule : options_.faults) {
    if (auto parsed = FaultInjector::parseRule(rule)) faults_.addRule(*parsed);
  }
  if (!options_.faultFile.empty()) faults_.setRulesFile(options_.faultFile);
  if (!options_.logFile.empty() && !log_.open(options_.logFile)) {
    std::cerr << "lokavo-service: cannot open log file " << options_.logFile << "\n";
  }

  directory_ = std::make_unique<DirectoryHandlers>(context_);
  shops_ = std::make_unique<ShopHandlers>(context_);
  broadcasts_ = std::make_unique<BroadcastHandlers>(context_);
  coupons_ = std::make_unique<CouponHandlers>(context_);
  accounts_ = std::make_unique<AccountHandlers>(context_);
  submissions_ = std::make_unique<SubmitHandlers>(context_);
  pictures_ = std::make_unique<PictureHandlers>(context_);
  directory_->addRoutes(router_);
  shops_->addRoutes(router_);
  broadcasts_->addRoutes(router_);
  coupons_->addRoutes(router_);
  accounts_->addRoutes(router_);
  submissions_->addRoutes(router_);
  pictures_->addRoutes(router_);

  server_.set_payload_max_length(options_.bodyLimit);
  auto plain = [this](const httplib::Request& req, httplib::Response& res) { serve(req, res, {}); };
  auto withBody = [this](const httplib::Request& req, httplib::Response& res,
                         const httplib::ContentReader& reader) {
    // Reserving the declared length (up to the limit) spares a growing buffer's doublings.
    const auto declared = req.get_header_value<std::uint64_t>("Content-Length");
    std::string body;
    body.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(declared, options_.bodyLimit)));
    bool tooLarge = false;
    const bool read = reader([&](const char* data, std::size_t length) {
      if (body.size() + length > options_.bodyLimit) {
        tooLarge = true;
      } else if (!tooLarge) {
        body.append(data, length);
      }
      return true;
    });
    // The library refuses a declared length over the limit before reading any of it.
    if (!read && declared <= options_.bodyLimit) {
      const Reply reply = Reply::badRequest("unreadable request body");
      res.status = reply.status;
      res.set_content(reply.body, reply.contentType);
      return;
    }
    if (tooLarge || declared > options_.bodyLimit) {
      const Reply reply = Reply::error(413, 413, "request body too large");
      res.status = reply.status;
      res.set_content(reply.body, reply.contentType);
      return;
    }
    serve(req, res, std::move(body));
  };
  server_.Get(kAnyPath, plain);
  server_.Delete(kAnyPath, plain);
  server_.Options(kAnyPath, plain);
  server_.Post(kAnyPath, withBody);
  server_.Put(kAnyPath, withBody);
  server_.Patch(kAnyPath, withBody);
  server_.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    log_.write(req.method, req.target, tLoggedBody, res.status, req.remote_port);
    tLoggedBody = std::string();  // a large body's buffer is not kept by the worker
  });
}

ServiceServer::~ServiceServer() = default;

int ServiceServer::bind() {
  if (options_.port == 0) {
    port_ = server_.bind_to_any_port(options_.host);
  } else {
    port_ = server_.bind_to_port(options_.host, options_.port) ? options_.port : -1;
  }
  if (port_ > 0) {
    server_.widenBacklog();
    const bool ipv6 = options_.host.find(':') != std::string::npos;
    origin_ = options_.origin.empty()
                  ? "http://" + (ipv6 ? "[" + options_.host + "]" : options_.host) + ":" +
                        std::to_string(port_)
                  : options_.origin;
  }
  return port_;
}

bool ServiceServer::run() {
  const bool ok = server_.listen_after_bind();
  server_.closeConnections();
  return ok;
}

void ServiceServer::stop() {
  server_.stop();
}

void ServiceServer::serve(const httplib::Request& req, httplib::Response& res, std::string body) {
  ServiceRequest request;
  request.method = req.method;
  request.target = req.target;
  const auto queryAt = request.target.find('?');
  request.rawPath = request.target.substr(0, queryAt);
  request.path = FormFields::percentDecode(request.rawPath);
  request.rawQuery = queryAt == std::string::npos ? "" : request.target.substr(queryAt + 1);
  request.query = FormFields::parse(request.rawQuery);
  request.form = FormFields::parse(body);
  request.body = std::move(body);
  request.baseUrl = origin_;

  const FaultInjector::Faults faults = faults_.match(request.path);
  if (faults.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs));

  Reply reply;
  try {
    const auto refusal = RequestChecks::refusal(request);
    reply = refusal ? Reply::badRequest(*refusal) : router_.dispatch(request);
  } catch (const std::exception& e) {
    std::cerr << "lokavo-service: " << request.method << " " << request.target << ": " << e.what()
              << "\n";
    reply = Reply::error(500, 500, "internal error");
  }
  // The handlers are done with the body; the log line is written after the answer.
  tLoggedBody = std::move(request.body);
  if (faults.status) reply = Reply::error(*faults.status, *faults.status, "injected fault");
  if (faults.notJson) {
    reply = Reply{};
    reply.contentType = "application/octet-stream";
    reply.body = "<html><body>服务器维护中，请稍后再试</body></html>";
  }
  std::string contentType = reply.contentType;
  if (!reply.picture && request.query.text("tn") == "gz") {
    reply.body = Compression::compress(reply.body, options_.compression);
    contentType = "application/octet-stream";
  }
  if (faults.corrupt) corrupt(reply.body);
  if (faults.truncate) reply.body.resize(reply.body.size() / 2);
  res.status = reply.status;
  if (faults.drop) {
    // The head goes out with the full length, then the connection closes without the body.
    res.set_content_provider(reply.body.size() + 1, contentType,
                             [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
    return;
  }
  res.set_content(std::move(reply.body), contentType);
}

}  // namespace lk::service
