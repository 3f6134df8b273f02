#include "frontends/commands/CityIndexLookup.h"

#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"

namespace lk::cli {

namespace {
constexpr int kProvinceIndex = 0;
constexpr int kCityList = 1;

bool isSpecialRegion(const Area& province) {
  return province.id() == DirectoryDecoder::kSarId2911 ||
         province.id() == DirectoryDecoder::kSarId2912;
}
}  // namespace

CityIndexLookup::CityIndexLookup(std::optional<int> id, std::optional<std::string> name)
    : id_(id), name_(std::move(name)) {}

CityIndexLookup::~CityIndexLookup() = default;

void CityIndexLookup::start() {
  if (state_ != State::kIdle) return;
  state_ = State::kRunning;
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kProvinceIndex);
  request_->requestGETWithGZip(ServiceEndpoints::serviceURL() + "/index/0/province");
}

bool CityIndexLookup::match(const std::vector<std::shared_ptr<Area>>& cities) {
  for (const auto& city : cities) {
    const bool idMatches = id_ && city->id() == *id_;
    const bool nameMatches = name_ && city->name() == name_;
    if ((!id_ || idMatches) && (!name_ || nameMatches)) {
      city_ = city;
      return true;
    }
    if (idMatches && !sameId_) sameId_ = city;
  }
  return false;
}

void CityIndexLookup::requestSucceeded(HttpRequest& request) {
  const int tag = request.tag().value_or(-1);
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  request_.reset();
  if (!answer) {
    failure_ = "the city index could not be read (" + answer.error().description + ")";
    finish(State::kFailed);
    return;
  }
  const boost::json::value json(std::move(*answer));
  if (tag == kProvinceIndex) {
    auto index = DirectoryDecoder::decodeProvinceIndex(json);
    std::vector<std::shared_ptr<Area>> regions;
    for (const auto& province : index.provinces) {
      if (isSpecialRegion(*province)) {
        regions.push_back(province);
      } else {
        provinces_.push_back(province);
      }
    }
    if (match(index.hot) || match(regions)) {
      finish(State::kFound);
      return;
    }
  } else if (match(DirectoryDecoder::decodeCityList(json))) {
    finish(State::kFound);
    return;
  }
  requestNextProvince();
}

void CityIndexLookup::requestFailed(HttpRequest& /*request*/, const PlatformError& error) {
  request_.reset();
  failure_ = "the city index could not be fetched (" + error.description + ")";
  finish(State::kFailed);
}

void CityIndexLookup::requestNextProvince() {
  if (provinces_.empty()) {
    finish(State::kNotFound);
    return;
  }
  const int province = provinces_.front()->id();
  provinces_.erase(provinces_.begin());
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kCityList);
  request_->requestGETWithGZip(ServiceEndpoints::serviceURL() + "/index/" +
                               std::to_string(province) + "/city");
}

void CityIndexLookup::finish(State state) {
  state_ = state;
  provinces_.clear();
}

}  // namespace lk::cli
