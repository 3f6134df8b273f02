#include "Classes/Search/WantBeenViewController.h"

#include <algorithm>

#include "Classes/Account/LoginViewController.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/TableView.h"

namespace lk {

namespace {

// One element of the list: the id, and the name, address and score unless they are null.
std::shared_ptr<ShopInfo> shopFromListItem(const boost::json::object& item) {
  auto shop = std::make_shared<ShopInfo>();
  if (const auto* id = json::member(item, "shop_id"))
    shop->setShopId(json::toString(*id).value_or(""));
  if (auto name = json::stringMember(item, "shop_name")) shop->setStrName(std::move(*name));
  if (auto address = json::stringMember(item, "shop_addr"))
    shop->setStrAddress(std::move(*address));
  if (const auto* grade = json::member(item, "shop_grade"); grade && !grade->is_null()) {
    shop->setFltScoreTotal(json::toFloat(*grade));
  }
  return shop;
}

const std::optional<std::string>& sessionId() {
  return LoginViewController::sharedInstance().ssid();
}

}  // namespace

WantBeenViewController::WantBeenViewController(int type) : type_(type) {
  headerHidden = true;
  setTitle(controllerTitle());
}

WantBeenViewController::~WantBeenViewController() {
  listRequest_.reset();
}

std::string WantBeenViewController::controllerTitle() const {
  return type_ == kWantType ? "我想去的" : "我去过的";
}

std::string WantBeenViewController::searchURL() const {
  const auto& ssid = sessionId();
  if (!ssid || ssid->empty()) return {};
  return strprintf("%s/user/0/%s?p=%d&n=%d&ssid=%s", ServiceEndpoints::serviceURL().c_str(),
                   type_ == kWantType ? "want" : "been", currentPage(), kPageSize,
                   FormValue::escape(*ssid).c_str());
}

void WantBeenViewController::searchRequest() {
  // The page asked for is on its way: a second pull does not ask again.
  if (listRequest_) return;
  const std::string url = searchURL();
  if (url.empty()) {
    // Nobody is logged in (any more): there is no list to ask for.
    logLine("Personal list without a session");
    endLoading();
    return;
  }
  if (currentPage() == 0) showLoading();
  listRequest_ = std::make_unique<HttpRequest>(this, kListRequest);
  listRequest_->requestGETWithGZip(url);
}

std::string WantBeenViewController::sectionTitle() const {
  return strprintf("%s%d家商户", controllerTitle().c_str(), resultCount());
}

void WantBeenViewController::viewDidLoad() {
  SearchResultsViewController::viewDidLoad();
  showAddShop = false;
}

void WantBeenViewController::viewDidUnload() {
  // The list starts again from its first page when the view comes back.
  listRequest_.reset();
  SearchResultsViewController::viewDidUnload();
}

void WantBeenViewController::requestSucceeded(HttpRequest& request) {
  if (&request == listRequest_.get()) {
    listAnswered(request);
  } else {
    SearchResultsViewController::requestSucceeded(request);
  }
}

void WantBeenViewController::listAnswered(HttpRequest& request) {
  // Released whatever the answer; the request lives to the end of this call.
  const std::unique_ptr<HttpRequest> done = std::move(listRequest_);
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    if (isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Request failed, code = %d", request.statusCode());
    } else {
      logf("Error:%s", answer.error().description.c_str());
    }
    endLoading();
    return;
  }
  const boost::json::object& root = *answer;
  setResultCount(std::max(0, json::intMember(root, "total")));
  std::vector<std::shared_ptr<ShopInfo>> shops;
  if (const auto* list = json::arrayMember(root, "list")) {
    for (const auto& item : *list) {
      shops.push_back(
          shopFromListItem(item.is_object() ? item.get_object() : boost::json::object()));
    }
  }
  appendResults(shops);
  if (shops.size() == static_cast<std::size_t>(kPageSize)) {
    addPullLoadMore();
  } else {
    noMoreData();
  }
  pageArrived();
  if (tableView()) tableView()->reloadData();
  endLoading();
}

void WantBeenViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request != listRequest_.get()) {
    SearchResultsViewController::requestFailed(request, error);
    return;
  }
  listRequest_.reset();
  endLoading();
}

void WantBeenViewController::endLoading() {
  hideLoading();
  scheduleFinishLoadingData();
}

}  // namespace lk
