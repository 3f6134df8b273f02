#pragma once

#include <httplib.h>

#include <memory>
#include <string>

#include "service/Database.h"
#include "service/FaultInjector.h"
#include "service/GatedHttpServer.h"
#include "service/RequestLog.h"
#include "service/Router.h"
#include "service/ServiceContext.h"
#include "service/ServiceOptions.h"
#include "service/SessionStore.h"
#include "service/ShopCatalog.h"

namespace lk::service {

class DirectoryHandlers;
class ShopHandlers;
class BroadcastHandlers;
class CouponHandlers;
class AccountHandlers;
class SubmitHandlers;
class PictureHandlers;

// The HTTP face of the service: opens and fills the database, routes every request to its
// handler, compresses answers for "tn=gz", applies injected faults and logs each request.
class ServiceServer {
 public:
  explicit ServiceServer(const ServiceOptions& options);
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;
  ~ServiceServer();

  // Binds the listening socket; returns the port (useful with port 0) or -1.
  int bind();
  // Serves until `stop()`.
  bool run();
  void stop();

 private:
  void serve(const httplib::Request& req, httplib::Response& res, std::string body);

  ServiceOptions options_;
  Database db_;
  ShopCatalog catalog_;
  SessionStore sessions_;
  ServiceContext context_;
  Router router_;
  FaultInjector faults_;
  RequestLog log_;
  int port_ = -1;
  std::string origin_;  // prefix of absolute URLs in answers
  std::unique_ptr<DirectoryHandlers> directory_;
  std::unique_ptr<ShopHandlers> shops_;
  std::unique_ptr<BroadcastHandlers> broadcasts_;
  std::unique_ptr<CouponHandlers> coupons_;
  std::unique_ptr<AccountHandlers> accounts_;
  std::unique_ptr<SubmitHandlers> submissions_;
  std::unique_ptr<PictureHandlers> pictures_;
  GatedHttpServer server_;
};

}  // namespace lk::service
