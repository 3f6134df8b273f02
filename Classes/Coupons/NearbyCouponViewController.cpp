#include "Classes/Coupons/NearbyCouponViewController.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Records/CouponList.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"

namespace lk {

namespace {

bool present(const std::optional<std::string>& text) {
  return text && !text->empty();
}

}  // namespace

NearbyCouponViewController::NearbyCouponViewController() = default;

NearbyCouponViewController::~NearbyCouponViewController() {
  locationObservers_.clear();
}

std::optional<std::string> NearbyCouponViewController::couponURL() const {
  if (!present(x) || !present(y) || cityId == 0) return std::nullopt;
  return strprintf("%s/search/0/q?ci=%d&x=%s&y=%s&sd=%f&ex=1&sort=%d&p=%d&n=%d",
                   ServiceEndpoints::serviceURL().c_str(), cityId, FormValue::escape(*x).c_str(),
                   FormValue::escape(*y).c_str(), static_cast<double>(distance), kSort,
                   currentPage(), kPageSize);
}

void NearbyCouponViewController::requestCoupon() {
  if (couponRequest() != nullptr) return;
  const auto url = couponURL();
  if (!url) {
    startLocation();
    return;
  }
  if (currentPage() == 0) showLoading();
  sendCouponRequest(*url);
}

bool NearbyCouponViewController::readCouponPage(HttpRequest& request) {
  if (request.statusCode() != 200) return false;
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    noMoreData();
    logf("Request nearby coupons, error:%s", answer.error().description.c_str());
    return false;
  }
  std::vector<std::shared_ptr<CouponList>> rows;
  std::size_t shops = 0;
  if (const auto* list = json::arrayMember(*answer, "searchlist")) {
    shops = list->size();
    for (const auto& shop : *list) {
      if (!shop.is_object()) continue;
      if (auto row = CouponList::fromNearbyShop(shop.get_object())) rows.push_back(std::move(row));
    }
  }
  appendRows(std::move(rows), shops);
  return true;
}

bool NearbyCouponViewController::showsNodataAfter(bool decoded) const {
  return decoded && currentPage() < 2;
}

void NearbyCouponViewController::getLocationSuccessed() {
  if (!isShowing()) return;
  const auto where = location();
  if (!where) return;
  x = where->x();
  y = where->y();
  cityId = where->cityId();
  cleanAll();
  requestCoupon();
}

void NearbyCouponViewController::getLocationFailed() {
  hideLoading();
}

void NearbyCouponViewController::startLocation() {
  LocationService::sharedInstance().startLocation();
}

std::shared_ptr<LKLocation> NearbyCouponViewController::location() const {
  return LocationService::sharedInstance().location();
}

void NearbyCouponViewController::loadView() {
  CouponListViewController::loadView();
  setTitle("附近优惠");
  navigationItem().rightBarButtonItem.reset();
}

void NearbyCouponViewController::viewDidLoad() {
  setTitle("附近优惠");
  CouponListViewController::viewDidLoad();
  distance = kDistance;
  showLoading();
  auto& center = NotificationCenter::defaultCenter();
  locationObservers_.clear();
  locationObservers_.push_back(center.addObserver(
      kLocationSuccessed, [this](const Notification&) { getLocationSuccessed(); }));
  locationObservers_.push_back(
      center.addObserver(kLocationFailed, [this](const Notification&) { getLocationFailed(); }));
}

void NearbyCouponViewController::viewDidUnload() {
  locationObservers_.clear();
  CouponListViewController::viewDidUnload();
}

}  // namespace lk
