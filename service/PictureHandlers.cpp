#include "service/PictureHandlers.h"

#include "service/RequestChecks.h"

namespace lk::service {

void PictureHandlers::addRoutes(Router& router) {
  router.add("GET", "/pic/*", [this](auto& r) { return picture(r, false); });
  router.add("GET", "/abpic/*", [this](auto& r) { return picture(r, true); });
}

Reply PictureHandlers::picture(ServiceRequest& request, bool thumbnail) {
  // Only "<id>.jpg" and "<id>.png" name a picture, and the extension must be the picture's own.
  const std::string& name = request.param(0);
  const auto dot = name.find('.');
  if (dot == std::string::npos) return Reply::notFound();
  const std::string extension = name.substr(dot);
  if (extension != ".jpg" && extension != ".png") return Reply::notFound();
  const auto id = RequestChecks::pathId(name.substr(0, dot));
  if (!id) return Reply::notFound();
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare(thumbnail ? "SELECT mime, thumb FROM picture WHERE id = ?"
                                   : "SELECT mime, full FROM picture WHERE id = ?");
  stmt.bind(1, *id);
  if (!stmt.step()) return Reply::notFound();
  const std::string mime = stmt.text(0);
  if (extension != (mime == "image/png" ? ".png" : ".jpg")) return Reply::notFound();
  return Reply::image(mime, stmt.blob(1));
}

}  // namespace lk::service
