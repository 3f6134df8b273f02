#include "service/PictureHandlers.h"

#include "service/RequestChecks.h"

namespace lk::service {

void PictureHandlers::addRoutes(Router& router) {
  router.add("GET", "/pic/*", [this](auto& r) { return picture(r, false); });
  router.add("GET", "/abpic/*", [this](auto& r) { return picture(r, true); });
}

Reply PictureHandlers::picture(ServiceRequest& request, bool thumbnail) {
  const std::string& name = request.param(0);
  const auto dot = name.find('.');
  const auto id = RequestChecks::pathId(name.substr(0, dot));
  if (!id) return Reply::notFound();
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare(thumbnail ? "SELECT mime, thumb FROM picture WHERE id = ?"
                                   : "SELECT mime, full FROM picture WHERE id = ?");
  stmt.bind(1, *id);
  if (!stmt.step()) return Reply::notFound();
  return Reply::image(stmt.text(0), stmt.blob(1));
}

}  // namespace lk::service
